#pragma once

#include "platform/ServiceSlot.h"

#include <QString>
#include <optional>

namespace platform {

// The user's settings kept between runs: named values under keys, the keys
// written as paths ("SOFTWARE/KAVIRO/State"). Every value is held as text;
// the typed reads fail when the value is missing or its text is not of that
// type, so that each caller can fall back to its own default.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text; nullopt when the key or the value is missing.
    virtual std::optional<QString> readText(const QString& key, const QString& name) const = 0;
    // Creates the key when needed.
    virtual void writeText(const QString& key, const QString& name, const QString& text) = 0;
    // True when the key holds a value or a subkey.
    virtual bool keyExists(const QString& key) const = 0;
    // Removes the key with its values and subkeys.
    virtual void deleteKey(const QString& key) = 0;
    // Writes between these reach the file together at the end, rather than
    // each on its own; pairs may nest.
    virtual void beginWrites() {}
    virtual void endWrites() {}

    std::optional<int> readInteger(const QString& key, const QString& name) const;
    std::optional<bool> readBool(const QString& key, const QString& name) const;
    std::optional<QString> readString(const QString& key, const QString& name) const;

    void writeInteger(const QString& key, const QString& name, int value);
    void writeFloat(const QString& key, const QString& name, long double value);
    void writeBool(const QString& key, const QString& name, bool value);
    void writeString(const QString& key, const QString& name, const QString& value);
};

// Holds the writes of its lifetime together (beginWrites, endWrites).
class SettingsWriteBatch {
public:
    explicit SettingsWriteBatch(SettingsStore& store) : store_(store) { store_.beginWrites(); }
    ~SettingsWriteBatch() { store_.endWrites(); }
    SettingsWriteBatch(const SettingsWriteBatch&) = delete;
    SettingsWriteBatch& operator=(const SettingsWriteBatch&) = delete;

private:
    SettingsStore& store_;
};

// The installed store, else the INI file in the user's configuration folder.
SettingsStore& CurrentSettingsStore();
using ScopedSettingsStore = ScopedService<SettingsStore>;

// The stored forms of typed values. Floats are written with the fewest
// digits that read back to the same extended value (subnormal values too);
// they are read as number texts by the model (RegReadFloatDef), the one
// reader of number texts.
QString IntegerToSettingText(int value);
QString FloatToSettingText(long double value);
QString BoolToSettingText(bool value);
// nullopt when the text (blanks around it allowed) is not a decimal integer
// of the int range.
std::optional<int> SettingTextToInteger(const QString& text);
// An integer (non-zero is true), or "true" / "false" in any case.
std::optional<bool> SettingTextToBool(const QString& text);

} // namespace platform
