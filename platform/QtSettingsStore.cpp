#include "platform/QtSettingsStore.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace platform {

namespace {

QString ValuePath(const QString& key, const QString& name)
{
    return key + u'/' + name;
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           QStringLiteral("KAVIRO"), QStringLiteral("kaviro")))
{
}

QtSettingsStore::QtSettingsStore(const QString& fileName)
    : settings_(std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{
}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<QString> QtSettingsStore::readText(const QString& key, const QString& name) const
{
    const QVariant value = settings_->value(ValuePath(key, name));
    if (!value.isValid())
        return std::nullopt;
    // An unquoted text with commas in a hand-edited file reads as a list.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void QtSettingsStore::writeText(const QString& key, const QString& name, const QString& text)
{
    settings_->setValue(ValuePath(key, name), text);
    syncOutsideBatch();
}

bool QtSettingsStore::keyExists(const QString& key) const
{
    settings_->beginGroup(key);
    const bool exists = !settings_->childKeys().isEmpty() || !settings_->childGroups().isEmpty();
    settings_->endGroup();
    return exists;
}

void QtSettingsStore::deleteKey(const QString& key)
{
    settings_->remove(key);
    syncOutsideBatch();
}

void QtSettingsStore::beginWrites()
{
    ++batchDepth_;
}

void QtSettingsStore::endWrites()
{
    if (batchDepth_ > 0 && --batchDepth_ == 0)
        settings_->sync();
}

void QtSettingsStore::syncOutsideBatch()
{
    // Written at once: the program may end without unwinding this object.
    // Each sync rewrites and flushes the whole file, so a batch syncs once.
    if (batchDepth_ == 0)
        settings_->sync();
}

QString QtSettingsStore::fileName() const
{
    return settings_->fileName();
}

} // namespace platform
