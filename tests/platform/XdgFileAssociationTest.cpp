#include "platform/XdgFileAssociation.h"
#include "tests/QtPrinters.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::FileTypeAssociation;
using platform::XdgFileAssociation;

FileTypeAssociation ProjectType(const QString& programPath = QStringLiteral("/opt/kaviro/bin/kaviro"))
{
    return {QStringLiteral("kaviro"), QStringLiteral("kvf"), QStringLiteral("KAVIRO Project File"),
            QStringLiteral("application/x-kaviro-project"), QStringLiteral("KAVIRO"), programPath};
}

QString ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Writes an executable shell script named tool into folder.
void WriteTool(const QString& folder, const QString& tool, const QByteArray& body)
{
    QFile file(folder + u'/' + tool);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body + "\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

class XdgFileAssociationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dataHome.isValid());
        ASSERT_TRUE(tools.isValid());
    }

    QTemporaryDir dataHome; // never the user's own data folder
    QTemporaryDir tools;    // no refresh tools unless a test puts them here
};

TEST_F(XdgFileAssociationTest, AddingWritesTheMimePackageAndTheDesktopEntry)
{
    XdgFileAssociation association(dataHome.path(), {tools.path()});
    const FileTypeAssociation type = ProjectType();
    EXPECT_FALSE(association.exists(type));
    ASSERT_TRUE(association.add(type));
    EXPECT_TRUE(association.exists(type));

    EXPECT_EQ(association.mimePackagePath(type), dataHome.path() + QStringLiteral("/mime/packages/kaviro.xml"));
    EXPECT_EQ(association.desktopEntryPath(type), dataHome.path() + QStringLiteral("/applications/kaviro.desktop"));
    const QString package = ReadAll(association.mimePackagePath(type));
    EXPECT_TRUE(package.contains(QStringLiteral("<mime-type type=\"application/x-kaviro-project\">")));
    EXPECT_TRUE(package.contains(QStringLiteral("<comment>KAVIRO Project File</comment>")));
    EXPECT_TRUE(package.contains(QStringLiteral("<glob pattern=\"*.kvf\"/>")));
    const QString entry = ReadAll(association.desktopEntryPath(type));
    EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=\"/opt/kaviro/bin/kaviro\" %f\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nMimeType=application/x-kaviro-project;\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nName=KAVIRO\n")));

    association.remove(type);
    EXPECT_FALSE(association.exists(type));
    EXPECT_FALSE(QFileInfo::exists(association.mimePackagePath(type)));
    EXPECT_FALSE(QFileInfo::exists(association.desktopEntryPath(type)));
}

TEST_F(XdgFileAssociationTest, EitherFileAloneCountsAsAnAssociation)
{
    XdgFileAssociation association(dataHome.path(), {tools.path()});
    const FileTypeAssociation type = ProjectType();
    ASSERT_TRUE(association.add(type));
    QFile::remove(association.mimePackagePath(type));
    EXPECT_TRUE(association.exists(type));
    association.remove(type); // removing what is already gone is fine
    EXPECT_FALSE(association.exists(type));
}

TEST_F(XdgFileAssociationTest, RefreshToolsRunOnTheUsersFoldersAndTheirFailuresAreIgnored)
{
    const QString log = tools.filePath(QStringLiteral("calls.log"));
    WriteTool(tools.path(), QStringLiteral("update-mime-database"), "echo \"mime $@\" >> '" + log.toUtf8() + "'");
    WriteTool(tools.path(), QStringLiteral("update-desktop-database"),
              "echo \"desktop $@\" >> '" + log.toUtf8() + "'; exit 1");
    XdgFileAssociation association(dataHome.path(), {tools.path()});
    const FileTypeAssociation type = ProjectType();
    EXPECT_TRUE(association.add(type));
    association.remove(type);
    const QString expected = QStringLiteral("mime %1/mime\ndesktop %1/applications\n").arg(dataHome.path());
    EXPECT_EQ(ReadAll(log), expected + expected);
}

TEST_F(XdgFileAssociationTest, AnUnwritableDataFolderIsReported)
{
    const QString blocked = dataHome.filePath(QStringLiteral("file"));
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    XdgFileAssociation association(blocked, {tools.path()});
    EXPECT_FALSE(association.add(ProjectType()));
    EXPECT_FALSE(association.exists(ProjectType()));
}

TEST(DesktopEntryTest, TheProgramPathIsQuotedAndEscapedForTheExecLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/kaviro", "\"/usr/bin/kaviro\""},
        {"/home/ana maria/kaviro", "\"/home/ana maria/kaviro\""},
        {"/opt/a$b/k\"v`x", "\"/opt/a\\\\$b/k\\\\\"v\\\\`x\""},
        {"/opt/back\\slash", "\"/opt/back\\\\\\\\slash\""},
        {"/opt/100%/kaviro", "\"/opt/100%%/kaviro\""},
        {"/opt/line\nbreak", ""},
        {"", ""},
    };
    for (const auto& [path, exec] : cases)
        EXPECT_EQ(platform::DesktopExecProgram(QString::fromUtf8(path)), QString::fromUtf8(exec)) << path;

    EXPECT_TRUE(platform::DesktopEntryText(ProjectType(QStringLiteral("/opt/line\nbreak"))).isEmpty());
    XdgFileAssociation association(QStringLiteral("/nonexistent-kaviro-test"), {});
    EXPECT_FALSE(association.add(ProjectType(QString())));
}

} // namespace
