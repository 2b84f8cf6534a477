#pragma once

#include "platform/SettingsStore.h"

#include <QString>
#include <map>

namespace platform {

// Test fake: settings held in memory, keys and value names compared exactly.
class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<QString> readText(const QString& key, const QString& name) const override;
    void writeText(const QString& key, const QString& name, const QString& text) override;
    bool keyExists(const QString& key) const override;
    void deleteKey(const QString& key) override;

    // Number of values held, over all keys.
    int valueCount() const;

private:
    static bool IsKeyOrSubkey(const QString& candidate, const QString& key);

    std::map<QString, std::map<QString, QString>> keys_;
};

} // namespace platform
