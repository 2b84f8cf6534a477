// The note stickers without the window: the note text split into stickers
// with the tokens their fields read, the stickers a change reaches, their
// places kept by name, and what they hand the graph window to show.
#include "StoreTestKit.h"

#include "session/Commands.h"
#include "session/EditScope.h"
#include "session/ParameterSteps.h"
#include "session/SessionServices.h"
#include "session/Stickers.h"
#include "session/fakes/CountingStickerWindow.h"

#include "engine/TokenTable.h"
#include "model/ProgramState.h"
#include "render/gfx/Metafile.h"
#include "render/scene/Redraw.h"
#include "render/scene/SceneToMetafile.h"
#include "render/scene/Stickers.h"
#include "render/view/RedrawState.h"

#include <vector>

namespace {

using namespace Qt::Literals::StringLiterals;

QStringList Split(const char16_t* text)
{
    return QString::fromUtf16(text).split(u'|');
}

// The stickers' lines, each sticker's joined by "/".
QStringList StickerTexts()
{
    QStringList texts;
    const TMemoStr& s = DocumentTables.Stickers;
    for (int k = 1; k <= s.Count; ++k)
        texts.append(s.Lines[k].join(u'/'));
    return texts;
}

QString Blocks(int n)
{
    QStringList lines;
    for (int i = 1; i <= n; ++i)
        lines << QStringLiteral("bloco %1").arg(i) << QString() << QString();
    return lines.join(u'|');
}

class StickersTest : public StoreTest {
protected:
    CountingStickerWindow window;
    ScopedStickerWindow useWindow{window};

    // The redrawers some tests install go with the test.
    void TearDown() override
    {
        UninstallScopedRedrawer();
        UninstallSceneRedrawer();
        StoreTest::TearDown();
    }

    // The notes as a project read leaves them, with their places.
    void ReadNotes(const QStringList& lines, const std::vector<TStickerPlace>& places = {})
    {
        for (std::size_t i = 0; i < places.size(); ++i)
            PanelLayout.StickerPlaces[static_cast<int>(i) + 1] = places[i];
        DocumentTables.PetaMemoLines = lines;
        BuildStickerTexts(lines);
        DocumentTables.Stickers.OldNames = DocumentTables.Stickers.Names;
        DocumentTables.Stickers.OldCount = DocumentTables.Stickers.Count;
    }
    // The 400 × 300 graph the stickers are kept inside.
    static void SizeGraph()
    {
        GraphScale.XAxis.VHigh = 400;
        GraphScale.YAxis.VHigh = 300;
        for (TBitmap& image : GraphScale.GraphImages)
            image.SetSize(401, 301);
    }
};

TEST_F(StickersTest, TheNoteTextIntoStickers)
{
    struct Case {
        const char* What;
        QString Lines; // "|" between lines
        QStringList Stickers;
    };
    const Case cases[] = {
        {"one blank line stays in the sticker", u"A||B"_s, {u"A//B"_s}},
        {"two blank lines separate", u"A|||B"_s, {u"A"_s, u"B"_s}},
        {"more blank lines separate once", u"A|||||B"_s, {u"A"_s, u"B"_s}},
        {"a comment is a blank line", u"A|// nota|B"_s, {u"A//B"_s}},
        {"two comments separate", u"A|//x||B"_s, {u"A"_s, u"B"_s}},
        {"scripts are not shown", u"A|#Draw|B"_s, {u"A/B"_s}},
        {"blank lines at the end go", u"A| |"_s, {u"A"_s}},
        {"a separator at the end begins nothing", u"A||"_s, {u"A"_s}},
        {"a separator first starts the sticker", u"||A"_s, {u"\n/A"_s}},
        {"a sticker of blanks only is reused", u"A|||   |||B"_s, {u"A"_s, u"B"_s}},
        {"blanks only are no sticker", u"   ||"_s, {}},
        {"nothing", u""_s, {}},
        {"twelve blocks show ten", Blocks(12), [] {
             QStringList ten;
             for (int i = 1; i <= 10; ++i)
                 ten.append(QStringLiteral("bloco %1").arg(i));
             return ten;
         }()},
    };
    for (const Case& c : cases) {
        const QStringList lines = c.Lines.isEmpty() ? QStringList() : c.Lines.split(u'|');
        BuildStickerTexts(lines);
        EXPECT_EQ(StickerTexts(), c.Stickers) << c.What;
        EXPECT_EQ(DocumentTables.Stickers.Count, c.Stickers.size()) << c.What;
    }
}

TEST_F(StickersTest, NamesAreFirstLinesAndTheOldOnesAreKept)
{
    BuildStickerTexts(Split(u"A|x|||B"));
    const TMemoStr& s = DocumentTables.Stickers;
    EXPECT_EQ(s.Names[1], u"A"_s);
    EXPECT_EQ(s.Names[2], u"B"_s);
    EXPECT_TRUE(s.Names[3].isEmpty());
    BuildStickerTexts(Split(u"C"));
    EXPECT_EQ(s.Names[1], u"C"_s);
    EXPECT_TRUE(s.Names[2].isEmpty());
    EXPECT_EQ(s.OldNames[1], u"A"_s);
    EXPECT_EQ(s.OldNames[2], u"B"_s);
    EXPECT_EQ(s.OldCount, 2);
}

// Each value and polynomial field adds the tokens it compiles to; a field
// that does not compile adds none and says nothing.
TEST_F(StickersTest, TheTokensTheFieldsRead)
{
    const TTokenCode a = Vocabulary.ParamTokens[1];
    const TTokenCode b = Vocabulary.ParamTokens[2];
    struct Case {
        QString Line;
        std::vector<TTokenCode> Holds;
        std::vector<TTokenCode> Lacks;
        bool None = false; // no token at all
    };
    const Case cases[] = {
        {u"a = !{a|3}"_s, {a}, {b}},
        {u"!{a+b}"_s, {a, b}, {}},
        {u"?{b*x^2}"_s, {b}, {a}},
        {u"+!{a}x"_s, {a}, {b}},
        {u"!{a"_s, {a}, {b}},
        {u"!{1/3}"_s, {}, {a, b}},
        {u"a = {a}"_s, {}, {a}, true},
        {u"!{olá}"_s, {}, {a, b}, true},
        {u"?{} !{)}"_s, {}, {a, b}, true},
    };
    for (const Case& c : cases) {
        BuildStickerTexts({c.Line});
        const QString& refs = DocumentTables.Stickers.Refs[1];
        for (TTokenCode t : c.Holds)
            EXPECT_TRUE(refs.contains(QChar(t))) << c.Line.toStdString();
        for (TTokenCode t : c.Lacks)
            EXPECT_FALSE(refs.contains(QChar(t))) << c.Line.toStdString();
        if (c.None) {
            EXPECT_TRUE(refs.isEmpty()) << c.Line.toStdString();
        }
    }
    EXPECT_TRUE(sink_.empty()) << "no message for a field that does not compile";
}

TEST_F(StickersTest, TheStickersAChangeReaches)
{
    DocumentTables.Points[3] = PointAt(3, u"(1, 2)"_s);
    DocumentTables.Points[3].Kind = ObjectParametric;
    BuildStickerTexts(Split(u"!{a}|||!{b}|||!{Rx}|||nada"));
    const auto flagged = [] {
        std::vector<int> k;
        for (int i = 1; i <= DocumentTables.Stickers.Count; ++i)
            if (DocumentTables.Stickers.Changed[i])
                k.push_back(i);
        DocumentTables.Stickers.Changed.fill(0);
        return k;
    };
    struct Case {
        const char* What;
        std::vector<TTokenCode> Changed;
        std::vector<int> Flagged;
    };
    const Case cases[] = {
        {"nothing changed", {}, {}},
        {"a changed; the curve is read too", {Vocabulary.ParamTokens[1]}, {1, 3}},
        {"b changed", {Vocabulary.ParamTokens[2]}, {2, 3}},
        {"c changed", {Vocabulary.ParamTokens[3]}, {3}},
    };
    for (const Case& c : cases) {
        TWideCharSet changed;
        for (TTokenCode t : c.Changed)
            changed.Flags[t] = true;
        MarkChangedStickers(changed);
        EXPECT_EQ(flagged(), c.Flagged) << c.What;
    }
    DocumentTables.Points[3].Kind = ObjectPoint;
    TWideCharSet c;
    c.Flags[Vocabulary.ParamTokens[3]] = true;
    MarkChangedStickers(c);
    EXPECT_EQ(flagged(), std::vector<int>{}) << "a point is no curve";
}

TEST_F(StickersTest, PlacesFollowTheNames)
{
    const TStickerPlace p1{100, 50, 0}, p2{200, 60, 1}, p3{300, 70, 0};
    const TStickerPlace home{StickerHomeLeft, StickerHomeTop, 0};
    struct Case {
        const char* What;
        const char16_t* Before;
        const char16_t* After;
        std::vector<TStickerPlace> Places;
    };
    const Case cases[] = {
        {"unchanged", u"A|||B", u"A|||B", {p1, p2}},
        {"reordered, each keeps its place", u"A|||B", u"B|||A", {p2, p1}},
        {"a renamed first sticker keeps its place", u"A|||B", u"A2|||B", {p1, p2}},
        {"B keeps its place, C goes home", u"A|||B", u"B|||C", {p2, home}},
        {"a new sticker goes home", u"A|||B", u"A|||B|||N", {p1, p2, home}},
        {"a sticker taken out frees nothing for the next", u"A|||B|||C", u"A|||C", {p1, p3}},
        {"equal names each keep theirs", u"X|||X", u"X|||X", {p1, p2}},
        {"a blank first line keeps its place", u"|x|||B", u"|x|||B", {p1, p2}},
        {"a new text goes home", u"", u"A", {home}},
    };
    for (const Case& c : cases) {
        ReadNotes(c.Before[0] ? Split(c.Before) : QStringList(), {p1, p2, p3});
        BuildStickerTexts(Split(c.After));
        const TStickerPlaces places = ArrangeStickerPlaces(DocumentTables.Stickers, PanelLayout.StickerPlaces);
        for (std::size_t k = 0; k < c.Places.size(); ++k)
            EXPECT_EQ(places[static_cast<int>(k) + 1], c.Places[k]) << c.What << ", sticker " << k + 1;
        EXPECT_EQ(places[11], PanelLayout.StickerPlaces[11]) << c.What << ": an image without sticker keeps its place";
    }
}

TEST_F(StickersTest, ArrangedPlacedRenderedAndKeptInsideTheGraph)
{
    SizeGraph();
    ReadNotes(Split(u"A|||B|||C"), {{-30, 10, 0}, {390, 290, 0}, {10, 10, 1}});
    ArrangeStickers();
    EXPECT_EQ(window.Placements, 1);
    for (int k = 4; k <= MaxStickers; ++k)
        EXPECT_FALSE(window.Shown[k]) << k;
    RefreshStickers(true);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_TRUE(window.Shown[k]) << k;
        EXPECT_FALSE(window.Pictures[k].isNull()) << k;
    }
    const QSize size2 = window.Pictures[2].size();
    EXPECT_EQ(PanelLayout.StickerPlaces[1], (TStickerPlace{7, 10, 0}));
    EXPECT_EQ(PanelLayout.StickerPlaces[2], (TStickerPlace{400 - size2.width() - 7, 300 - size2.height() - 7, 0}));
    EXPECT_EQ(PanelLayout.StickerPlaces[3], (TStickerPlace{10, 10, 1})) << "the data panel's sticker stays";

    // Only the flagged ones are rendered again; the flags are cleared.
    window.Renders.fill(0);
    DocumentTables.Stickers.Changed[2] = 1;
    RefreshStickers(false);
    EXPECT_EQ(window.Renders, (std::array<int, MaxStickers + 1>{0, 0, 1, 0}));
    EXPECT_EQ(DocumentTables.Stickers.Changed[2], 0);

    // Hidden stickers hide every image; while a document is refreshed as a
    // whole nothing is arranged.
    Options.PetaMemoStyle = 0;
    RefreshStickers(true);
    for (int k = 1; k <= MaxStickers; ++k)
        EXPECT_FALSE(window.Shown[k]) << k;
    ProgramState.InRefreshAll = true;
    ArrangeStickers();
    EXPECT_EQ(window.Placements, 1);
}

// The notes of a project read are split and each sticker keeps the place
// the file gave it; a new document hides every sticker and keeps the style.
TEST_F(StickersTest, TheStickersOfEveryDocument)
{
    InstallSessionServices();
    DocumentTables.PetaMemoLines = Split(u"A|||B|#Draw");
    PanelLayout.StickerPlaces[1] = {120, 40, 0};
    PanelLayout.StickerPlaces[2] = {5, 6, 1};
    ASSERT_TRUE(ReadLines(WrittenLines()));
    EXPECT_EQ(StickerTexts(), (QStringList{u"A"_s, u"B"_s}));
    EXPECT_EQ(DocumentTables.Stickers.OldNames[2], u"B"_s);
    EXPECT_EQ(PanelLayout.StickerPlaces[1], (TStickerPlace{120, 40, 0}));
    EXPECT_EQ(PanelLayout.StickerPlaces[2], (TStickerPlace{5, 6, 1}));
    EXPECT_GE(window.Placements, 1);

    window.Shown.fill(true);
    Options.PetaMemoStyle = 2;
    InitAllData();
    for (int k = 1; k <= MaxStickers; ++k)
        EXPECT_FALSE(window.Shown[k]) << k;
}

// A step of a parameter renders again the stickers that show it, and only
// those; a picture of the graph draws the stickers lying on it.
TEST_F(StickersTest, AStepRendersWhatShowsTheParameter)
{
    InstallSessionServices();
    InstallSceneRedrawer();
    SizeGraph();
    // The third shows an object that moves with a.
    DocumentTables.Points[3] = PointAt(3, u"(a, 1)"_s);
    ReadNotes(Split(u"a = !{a|3}|||b = !{b}|||R: !{Rx}"), {{20, 20, 0}, {20, 120, 0}, {20, 200, 0}});
    ArrangeStickers();
    RefreshStickers(true);
    const QImage first = window.Pictures[1];
    window.Renders.fill(0);
    StepParameter(1, StepUp);
    EXPECT_EQ(window.Renders, (std::array<int, MaxStickers + 1>{0, 1, 0, 1}));
    EXPECT_NE(window.Pictures[1], first) << "a's value is shown anew";
    StepParameter(2, StepUp);
    EXPECT_EQ(window.Renders, (std::array<int, MaxStickers + 1>{0, 1, 1, 1}));

    const auto framePixels = [] {
        TMetafile picture = DrawToMetafile(GraphScale, 1);
        QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
        image.fill(Qt::white);
        TCanvas canvas = MakeImageCanvas(image);
        canvas.Draw(0, 0, picture);
        const QColor frame = QColor::fromRgb(0, 0x80, 0);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == frame;
        return n;
    };
    const int onGraph = framePixels();
    EXPECT_GT(onGraph, 100) << "the frames are drawn";
    PanelLayout.StickerPlaces[2].OnConsole = 1;
    const int oneOnGraph = framePixels();
    EXPECT_GT(oneOnGraph, 50);
    EXPECT_LT(oneOnGraph, onGraph) << "the data panel's sticker is not in the picture";
}

} // namespace
