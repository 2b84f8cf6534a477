// kaviro-render against hand-made projects: the pictures and display lists
// of every kind of drawing, checked against reviewed goldens, and the way
// the tool refuses what the program refuses.
#include "tests/render/GoldenFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

namespace {

// Text is rasterised by the platform's font engine: pictures with text
// match within this.
constexpr TImageTolerance TextTolerance{32, 0.02};

QString Fixture(const QString& name)
{
    return QStringLiteral(KAVIRO_RENDER_DATA) + u'/' + name;
}

struct TRun {
    int ExitCode = -1;
    QString Errors;
};

TRun RunTool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(KAVIRO_RENDER_TOOL), arguments);
    if (!tool.waitForFinished(30000) || tool.exitStatus() != QProcess::NormalExit)
        return {};
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardError())};
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct TPictureCase {
    const char* Fixture;  // in data/, without ".kvf"
    int Magnification;    // 0: the graph picture of the redraw
    bool HasText;
    friend std::ostream& operator<<(std::ostream& out, const TPictureCase& c)
    {
        return out << c.Fixture << " x" << c.Magnification;
    }
};

// What each fixture shows is said in data/README.md.
const TPictureCase PictureCases[] = {
    {"functions-auto", 0, false},       {"functions-connect", 0, false},    {"functions-plot", 0, false},
    {"relations-explicit", 0, false},   {"relations-conic", 0, false},      {"relations-polynomial", 0, false},
    {"relations-scan", 0, false},       {"hatch", 0, false},                {"hatch-dots", 0, false},
    {"hatch-dots", 4, false},           {"objects", 0, false},              {"figures-lines", 0, false},
    {"figures-curves", 0, false},       {"trace", 0, false},                {"polar-axes", 0, true},
    {"pi-axes", 0, true},               {"value-fields", 0, true},          {"rulers", 0, false},
    {"rulers", 2, true},
};

class RenderToolPicture : public ::testing::TestWithParam<TPictureCase> {};

TEST_P(RenderToolPicture, MatchesTheGolden)
{
    const TPictureCase& c = GetParam();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("out.png"));
    QStringList arguments{Fixture(QString::fromUtf8(c.Fixture) + QStringLiteral(".kvf")), png};
    QString golden = QString::fromUtf8(c.Fixture);
    if (c.Magnification > 0) {
        arguments << QStringLiteral("--magnification") << QString::number(c.Magnification);
        golden += QStringLiteral("-x") + QString::number(c.Magnification);
    }
    const TRun run = RunTool(arguments);
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QImage picture(png);
    ASSERT_FALSE(picture.isNull());
    EXPECT_TRUE(MatchesImageGolden(picture, golden + QStringLiteral(".png"), c.HasText ? TextTolerance : TImageTolerance{}));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RenderToolPicture, ::testing::ValuesIn(PictureCases));

// The scene's display list at magnification 1, text measured by the
// machine-independent metrics. hatch-dots is left out: a dot per hatch
// pixel makes half a megabyte of list, and its pictures are exact.
const char* const DumpCases[] = {
    "functions-auto", "functions-connect", "functions-plot", "relations-explicit", "relations-conic",
    "relations-polynomial", "relations-scan", "hatch", "objects", "figures-lines", "figures-curves",
    "trace", "polar-axes", "pi-axes", "value-fields", "rulers",
};

class RenderToolDump : public ::testing::TestWithParam<const char*> {};

TEST_P(RenderToolDump, MatchesTheGolden)
{
    const QString name = QString::fromUtf8(GetParam());
    QTemporaryDir dir;
    const QString dump = dir.filePath(QStringLiteral("out.txt"));
    const TRun run = RunTool({Fixture(name + QStringLiteral(".kvf")), dir.filePath(QStringLiteral("out.png")),
                              QStringLiteral("--dump"), dump, QStringLiteral("--fake-text-metrics")});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_TRUE(MatchesTextGolden(QString::fromUtf8(ReadAll(dump)), name + QStringLiteral(".txt")));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RenderToolDump, ::testing::ValuesIn(DumpCases));

std::uint32_t Dword(const QByteArray& bytes, qsizetype at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return v;
}

TEST(RenderTool, WritesTheMagnifiedSceneAsAWholeEmf)
{
    QTemporaryDir dir;
    const QString emf = dir.filePath(QStringLiteral("out.emf"));
    const TRun run = RunTool({Fixture(QStringLiteral("rulers.kvf")), dir.filePath(QStringLiteral("out.png")),
                              QStringLiteral("--magnification"), QStringLiteral("2"), QStringLiteral("--emf"), emf});
    ASSERT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    const QByteArray bytes = ReadAll(emf);
    ASSERT_GE(bytes.size(), 108);
    EXPECT_EQ(Dword(bytes, 0), 1u);                  // EMR_HEADER
    EXPECT_EQ(bytes.mid(40, 4), QByteArray(" EMF"));  // its signature
    EXPECT_EQ(Dword(bytes, 48), static_cast<std::uint32_t>(bytes.size()));
    // The bounds are those of the picture with its rulers, at magnification 2.
    const QImage picture(dir.filePath(QStringLiteral("out.png")));
    EXPECT_EQ(Dword(bytes, 16), static_cast<std::uint32_t>(picture.width()));
    EXPECT_EQ(Dword(bytes, 20), static_cast<std::uint32_t>(picture.height()));
    // Records chain to the end, the last one EMR_EOF.
    qsizetype at = 0;
    std::uint32_t last = 0;
    while (at + 8 <= bytes.size()) {
        last = Dword(bytes, at);
        const std::uint32_t size = Dword(bytes, at + 4);
        ASSERT_GE(size, 8u);
        at += size;
    }
    EXPECT_EQ(at, bytes.size());
    EXPECT_EQ(last, 14u);
}

TEST(RenderTool, ReplaysTheTraceFileBesideTheProject)
{
    // Without its .kvp the project shows no earlier states: the point traced
    // at a = 1, at (1, sin 1), is not there.
    QTemporaryDir dir;
    const QString alone = dir.filePath(QStringLiteral("trace.kvf"));
    ASSERT_TRUE(QFile::copy(Fixture(QStringLiteral("trace.kvf")), alone));
    const QString with = dir.filePath(QStringLiteral("with.png"));
    const QString without = dir.filePath(QStringLiteral("without.png"));
    ASSERT_EQ(RunTool({Fixture(QStringLiteral("trace.kvf")), with}).ExitCode, 0);
    ASSERT_EQ(RunTool({alone, without}).ExitCode, 0);
    // 300 × 300 pixels over −5..5: the point is a disc of radius 5 about
    // pixel (180, 125); (182, 127) lies in it, clear of the curves.
    EXPECT_EQ(QImage(with).pixel(182, 127), qRgb(0x48, 0xA4, 0xD2)) << "the faded blue-green of the traced point";
    EXPECT_EQ(QImage(without).pixel(182, 127), qRgb(255, 255, 255));
}

struct TRefusalCase {
    const char* Fixture;
    const char* Message;
    friend std::ostream& operator<<(std::ostream& out, const TRefusalCase& c) { return out << c.Fixture; }
};

const TRefusalCase RefusalCases[] = {
    {"bad-version.kvf", "Versão Inválida"},
    {"cut-before-view.kvf", "Erro ao carregar arquivo"},
    {"missing.kvf", "Sem arquivo"},
};

class RenderToolRefusal : public ::testing::TestWithParam<TRefusalCase> {};

TEST_P(RenderToolRefusal, ExitsWithTheMessageAndNoPicture)
{
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("out.png"));
    const TRun run = RunTool({Fixture(QString::fromUtf8(GetParam().Fixture)), png});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(run.Errors.contains(QString::fromUtf8(GetParam().Message))) << run.Errors.toStdString();
    EXPECT_FALSE(QFile::exists(png));
}

INSTANTIATE_TEST_SUITE_P(Files, RenderToolRefusal, ::testing::ValuesIn(RefusalCases));

TEST(RenderTool, RefusesBadArguments)
{
    QTemporaryDir dir;
    const QString project = Fixture(QStringLiteral("objects.kvf"));
    const QString png = dir.filePath(QStringLiteral("out.png"));
    for (const QStringList& arguments :
         {QStringList{project}, QStringList{project, png, QStringLiteral("--magnification"), QStringLiteral("0")},
          QStringList{project, png, QStringLiteral("--magnification"), QStringLiteral("17")},
          QStringList{project, png, QStringLiteral("--colour")}}) {
        const TRun run = RunTool(arguments);
        EXPECT_EQ(run.ExitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(run.Errors.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(png));
}

} // namespace
