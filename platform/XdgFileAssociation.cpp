#include "platform/XdgFileAssociation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace platform {

namespace {

constexpr int ToolTimeoutMs = 10000;

QString MimeFolder(const QString& dataHome)
{
    return dataHome + QStringLiteral("/mime");
}

QString ApplicationsFolder(const QString& dataHome)
{
    return dataHome + QStringLiteral("/applications");
}

bool WriteWholeFile(const QString& path, const QString& text)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

bool HasControlCharacter(const QString& s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

} // namespace

XdgFileAssociation::XdgFileAssociation(QString dataHome, QStringList toolFolders)
    : dataHome_(dataHome.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                   : std::move(dataHome))
    , toolFolders_(std::move(toolFolders))
{
}

QString XdgFileAssociation::mimePackagePath(const FileTypeAssociation& type) const
{
    return MimeFolder(dataHome_) + QStringLiteral("/packages/") + type.id + QStringLiteral(".xml");
}

QString XdgFileAssociation::desktopEntryPath(const FileTypeAssociation& type) const
{
    return ApplicationsFolder(dataHome_) + u'/' + type.id + QStringLiteral(".desktop");
}

bool XdgFileAssociation::exists(const FileTypeAssociation& type) const
{
    return QFileInfo::exists(mimePackagePath(type)) || QFileInfo::exists(desktopEntryPath(type));
}

bool XdgFileAssociation::add(const FileTypeAssociation& type)
{
    const QString entry = DesktopEntryText(type);
    if (entry.isEmpty())
        return false;
    const bool written = WriteWholeFile(mimePackagePath(type), MimePackageText(type))
                         && WriteWholeFile(desktopEntryPath(type), entry);
    refreshDatabases();
    return written;
}

void XdgFileAssociation::remove(const FileTypeAssociation& type)
{
    QFile::remove(mimePackagePath(type));
    QFile::remove(desktopEntryPath(type));
    refreshDatabases();
}

void XdgFileAssociation::refreshDatabases() const
{
    runTool(QStringLiteral("update-mime-database"), MimeFolder(dataHome_));
    runTool(QStringLiteral("update-desktop-database"), ApplicationsFolder(dataHome_));
}

void XdgFileAssociation::runTool(const QString& tool, const QString& folder) const
{
    const QString program = QStandardPaths::findExecutable(tool, toolFolders_);
    if (program.isEmpty() || !QFileInfo::exists(folder))
        return;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {folder});
    if (!process.waitForFinished(ToolTimeoutMs))
        process.kill();
}

QString MimePackageText(const FileTypeAssociation& type)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>%2</comment>\n"
                          "    <glob pattern=\"*.%3\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(type.mimeType.toHtmlEscaped(), type.description.toHtmlEscaped(), type.extension.toHtmlEscaped());
}

QString DesktopEntryText(const FileTypeAssociation& type)
{
    const QString program = DesktopExecProgram(type.programPath);
    if (program.isEmpty() || HasControlCharacter(type.programName) || HasControlCharacter(type.mimeType))
        return {};
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=%1\n"
                          "Exec=%2 %f\n"
                          "MimeType=%3;\n"
                          "NoDisplay=true\n"
                          "Terminal=false\n")
        .arg(type.programName, program, type.mimeType);
}

QString DesktopExecProgram(const QString& programPath)
{
    if (programPath.isEmpty() || HasControlCharacter(programPath))
        return {};
    // Inside the double quotes of an Exec argument these four take a backslash.
    QString quoted(u'"');
    for (QChar c : programPath) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    // Then the escapes of any desktop entry value: a backslash is doubled, and
    // '%' is doubled because it starts a field code.
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'%', QStringLiteral("%%"));
    return quoted;
}

} // namespace platform
