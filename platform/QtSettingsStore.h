#pragma once

#include "platform/SettingsStore.h"

#include <QString>
#include <memory>

class QSettings;

namespace platform {

// The settings as an INI file; each key path becomes a settings group.
class QtSettingsStore final : public SettingsStore {
public:
    // KAVIRO/kaviro.ini in the user's configuration folder ($XDG_CONFIG_HOME).
    QtSettingsStore();
    // A chosen INI file.
    explicit QtSettingsStore(const QString& fileName);
    ~QtSettingsStore() override;

    std::optional<QString> readText(const QString& key, const QString& name) const override;
    void writeText(const QString& key, const QString& name, const QString& text) override;
    bool keyExists(const QString& key) const override;
    void deleteKey(const QString& key) override;
    void beginWrites() override;
    void endWrites() override;

    QString fileName() const;

private:
    // Each write reaches the file at once unless a batch is open.
    void syncOutsideBatch();

    std::unique_ptr<QSettings> settings_;
    int batchDepth_ = 0;
};

} // namespace platform
