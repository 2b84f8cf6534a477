#include "platform/SettingsStore.h"

#include "platform/QtSettingsStore.h"

#include <charconv>
#include <string>

namespace platform {

namespace {

// The text as plain ASCII, blanks around it removed; empty when it holds
// anything else, which no number does.
std::string AsciiNumberText(const QString& text)
{
    const QString trimmed = text.trimmed();
    std::string ascii;
    ascii.reserve(trimmed.size());
    for (QChar c : trimmed) {
        if (c.unicode() > 0x7F)
            return {};
        ascii.push_back(static_cast<char>(c.unicode()));
    }
    // from_chars takes no '+'; a stored number never has one, a hand-edited one may.
    if (ascii.size() > 1 && ascii[0] == '+' && ascii[1] != '-')
        ascii.erase(0, 1);
    return ascii;
}

} // namespace

std::optional<int> SettingsStore::readInteger(const QString& key, const QString& name) const
{
    const auto text = readText(key, name);
    return text ? SettingTextToInteger(*text) : std::nullopt;
}

std::optional<bool> SettingsStore::readBool(const QString& key, const QString& name) const
{
    const auto text = readText(key, name);
    return text ? SettingTextToBool(*text) : std::nullopt;
}

std::optional<QString> SettingsStore::readString(const QString& key, const QString& name) const
{
    return readText(key, name);
}

void SettingsStore::writeInteger(const QString& key, const QString& name, int value)
{
    writeText(key, name, IntegerToSettingText(value));
}

void SettingsStore::writeFloat(const QString& key, const QString& name, long double value)
{
    writeText(key, name, FloatToSettingText(value));
}

void SettingsStore::writeBool(const QString& key, const QString& name, bool value)
{
    writeText(key, name, BoolToSettingText(value));
}

void SettingsStore::writeString(const QString& key, const QString& name, const QString& value)
{
    writeText(key, name, value);
}

SettingsStore& CurrentSettingsStore()
{
    return InstalledOr<SettingsStore, QtSettingsStore>();
}

QString IntegerToSettingText(int value)
{
    return QString::number(value);
}

QString FloatToSettingText(long double value)
{
    char buf[64];
    // Without a precision to_chars gives the shortest text that reads back exactly.
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return QString::fromLatin1(buf, res.ptr - buf);
}

QString BoolToSettingText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

std::optional<int> SettingTextToInteger(const QString& text)
{
    const std::string s = AsciiNumberText(text);
    int value = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc{} || ptr != s.data() + s.size())
        return std::nullopt;
    return value;
}

std::optional<bool> SettingTextToBool(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
        return false;
    const auto n = SettingTextToInteger(t);
    return n ? std::optional<bool>(*n != 0) : std::nullopt;
}

} // namespace platform
