// The sample lessons: beside the program, each opened by "Abrir Exemplo"
// and drawn with every one of its graphs, objects and figures.
#include "WindowTestKit.h"

#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/ProgramState.h"
#include "render/view/Scale.h"
#include "session/ProjectFile.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStringDecoder>
#include <map>
#include <vector>

namespace {

const QString SourceFolder = QStringLiteral(KAVIRO_SOURCE_DIR "/sample");
const QString ProgramFolder = QStringLiteral(KAVIRO_PROGRAM_DIR "/");

QStringList Lessons(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.kvf")}, QDir::Files, QDir::Name);
}

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The colours the lesson's shown items are drawn in, with what they are.
std::map<TColor, QString> InkOf()
{
    std::map<TColor, QString> inks;
    const auto add = [&](TColor colour, const QString& what) {
        if (colour != ColorWhite)
            inks.emplace(colour, what);
    };
    for (int i = 1; i <= FunctionCount; ++i)
        if (const TEquationFunction& f = DocumentTables.Functions[i]; !f.Func.Code.isEmpty() && f.Visible)
            add(f.Color, QStringLiteral("y%1").arg(i));
    for (int i = 1; i <= RelationCount; ++i)
        if (const TEquationFunction& f = DocumentTables.Relations[i]; !f.Func.Code.isEmpty() && f.Visible)
            add(f.Color, QStringLiteral("C%1").arg(i));
    for (int k = 1; k < PointCount; ++k) {
        const TPointFunction& p = DocumentTables.Points[k];
        if (!p.Shown || p.Kind == ObjectEmpty)
            continue;
        const QString what = QStringLiteral("object %1").arg(k);
        if (p.Kind == ObjectPoint)
            add(p.ColorNo1, what);
        else
            add(p.RColorNo1, what); // the circle's or the curve's line
    }
    for (int s = 1; s <= Segments.Data.Count; ++s)
        if (const Tsegment& f = Segments.Data.Items[s]; f.Shown)
            add(f.Color, QStringLiteral("figure %1").arg(s));
    return inks;
}

int PixelsOf(const QImage& picture, TColor colour)
{
    const QRgb wanted = qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    int n = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            n += (picture.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF) ? 1 : 0;
    return n;
}

class SampleLessonsTest : public WindowTest {
protected:
    void SetUp() override
    {
        StartProgram();
        ProgramState.ProgramDir = ProgramFolder;
    }
};

// The build puts the lessons beside the program, as they are in the source,
// and they are lessons of their own: the format line is the only name in
// them that is not Portuguese teaching text.
TEST_F(SampleLessonsTest, TheProgramsSampleFolderHoldsTheLessons)
{
    const QStringList lessons = Lessons(SourceFolder);
    EXPECT_GE(lessons.size(), 8);
    EXPECT_EQ(Lessons(ProgramFolder + QStringLiteral("sample")), lessons);
    for (const QString& lesson : lessons) {
        const QByteArray bytes = Bytes(SourceFolder + u'/' + lesson);
        EXPECT_EQ(Bytes(ProgramFolder + QStringLiteral("sample/") + lesson), bytes) << lesson.toStdString();
        EXPECT_TRUE(bytes.startsWith("\xFF\xFE")) << lesson.toStdString() << " is UTF-16 with its mark";
        QStringDecoder utf16(QStringDecoder::Utf16LE);
        const QStringList lines = QString(utf16(bytes)).split(QStringLiteral("\r\n"));
        EXPECT_EQ(lines.first().toStdString(), ProjectHeader.toStdString()) << lesson.toStdString();
        EXPECT_FALSE(lines.mid(1).join(u'\n').contains(QStringLiteral("kaviro"), Qt::CaseInsensitive))
            << lesson.toStdString();
    }
}

// Each lesson opens from "Abrir Exemplo" in the program's sample folder
// without a message, comes with its note, every function, relation,
// object and figure it shows is drawn in its colour, and none of its
// stickers hides another.
TEST_F(SampleLessonsTest, EachLessonOpensFromTheMenuAndDrawsEverything)
{
    const QStringList lessons = Lessons(SourceFolder);
    ASSERT_FALSE(lessons.isEmpty());
    for (const QString& lesson : lessons) {
        const std::string name = lesson.toStdString();
        files.queueAnswer(ProgramFolder + QStringLiteral("sample/") + lesson);
        Find<QAction>(Console(), "OpenSample")->trigger();
        ProcessEvents();
        ASSERT_FALSE(files.requests().empty());
        EXPECT_EQ(files.requests().back().caption, QStringLiteral("Abrir Exemplo"));
        EXPECT_EQ(QDir(files.requests().back().folder), QDir(ProgramFolder + QStringLiteral("sample"))) << name;
        EXPECT_TRUE(messages.empty()) << name << ": " << messages.last().text.toStdString();
        EXPECT_EQ(QFileInfo(ProjectFile.FileName).fileName() + QStringLiteral(".kvf"), lesson);
        EXPECT_FALSE(DocumentTables.PetaMemoLines.isEmpty()) << name << " has a note";
        std::vector<QRect> shown;
        for (const QLabel* sticker : Graph().Stickers)
            if (sticker->isVisible() && sticker->parentWidget() == Graph().PanelGraph)
                shown.push_back(sticker->geometry());
        EXPECT_GE(shown.size(), 1u) << name;
        for (std::size_t i = 0; i < shown.size(); ++i)
            for (std::size_t j = i + 1; j < shown.size(); ++j)
                EXPECT_FALSE(shown[i].intersects(shown[j])) << name << ": sticker " << j + 1 << " over sticker " << i + 1;

        const QImage picture = GraphScale.GraphImages[0].Image();
        // (An angle mark's arc is a few pixels long.)
        const std::map<TColor, QString> inks = InkOf();
        EXPECT_GE(inks.size(), 2u) << name;
        for (const auto& [colour, what] : inks)
            EXPECT_GE(PixelsOf(picture, colour), 8) << name << ": " << what.toStdString() << " not drawn";
    }
    EXPECT_TRUE(messages.empty());
}

} // namespace
