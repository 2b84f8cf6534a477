#include "platform/LocaleSeparators.h"

#include <QString>

namespace platform {

namespace {

std::optional<QLocale>& LocaleOverride()
{
    static std::optional<QLocale> locale;
    return locale;
}

QLocale EffectiveLocale()
{
    return LocaleOverride().value_or(QLocale::system());
}

} // namespace

QChar GetDecimalSeparator()
{
    const QString text = EffectiveLocale().toString(3.14, 'f', 2);
    // A locale whose digits are not ASCII still writes a one-character separator second.
    return text.size() >= 2 ? text.at(1) : QChar(u'.');
}

QChar GetListSeparator()
{
    return GetDecimalSeparator() == u',' ? QChar(u';') : QChar(u',');
}

void SetLocaleOverride(std::optional<QLocale> locale)
{
    LocaleOverride() = std::move(locale);
}

} // namespace platform
