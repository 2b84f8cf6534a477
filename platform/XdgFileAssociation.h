#pragma once

#include "platform/FileAssociation.h"

#include <QString>
#include <QStringList>

namespace platform {

// The association the freedesktop way, for the current user only: a
// shared-MIME-info package that gives the extension its MIME type, and a
// desktop entry that opens files of that type with the program. When the
// desktop's refresh tools (update-mime-database, update-desktop-database)
// are installed they are run afterwards; their absence or failure is ignored,
// as desktops also rescan these folders by themselves.
class XdgFileAssociation final : public FileAssociation {
public:
    // dataHome: the user's data folder; empty means $XDG_DATA_HOME (or
    // ~/.local/share). toolFolders: where to look for the refresh tools;
    // empty means the PATH.
    explicit XdgFileAssociation(QString dataHome = {}, QStringList toolFolders = {});

    bool exists(const FileTypeAssociation& type) const override;
    bool add(const FileTypeAssociation& type) override;
    void remove(const FileTypeAssociation& type) override;

    QString mimePackagePath(const FileTypeAssociation& type) const;
    QString desktopEntryPath(const FileTypeAssociation& type) const;

private:
    void refreshDatabases() const;
    void runTool(const QString& tool, const QString& folder) const;

    QString dataHome_;
    QStringList toolFolders_;
};

// The contents of the two files.
QString MimePackageText(const FileTypeAssociation& type);
QString DesktopEntryText(const FileTypeAssociation& type);
// The program path as one argument of a desktop entry's Exec line, quoted
// and escaped; empty when the path cannot be written there (control characters).
QString DesktopExecProgram(const QString& programPath);

} // namespace platform
