// The relation layers kept from one redraw to the next: a relation is
// plotted again only when something it reads changed, and every redraw
// still shows what a redraw from scratch shows.
#include "SceneTestKit.h"
#include "engine/TokenCode.h"
#include "model/Colors.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "render/scene/RedrawClosure.h"

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <string>

namespace {

// Objects 8 and 9 are A and B.
constexpr int PointA = 8;
constexpr int PointB = 9;

class RelationLayersTest : public SceneTest {
protected:
    void SetUp() override
    {
        // Small pictures: every step is drawn twice.
        SetView(-5.0L, 5.0L, -5.0L, 5.0L, 240, 240);
        TDocumentTables& doc = DocumentTables;
        for (const char* name : {"a", "b", "c"})
            doc.Params[ParamIndexOfToken(Token(name))].Value = 1.0L;
        SetUserFunction(1, "x^2/4+b"); // f
        SetFunction(1, "a·x");
        SetFunction(2, "sin(x)+c");
        SetFunction(3, "x/2");
        SetPoint(PointA, "(1, 2)");
        SetPoint(PointB, "(a, -1)");
        for (int j = 1; j <= RelationCount; ++j)
            SetRelation(j, RelationTexts[static_cast<size_t>(j - 1)]);
        SetDirtyObjects();
        SetDirtyView();
        view.Redraw(images);
    }

    // One relation for each kind of thing it can read, and ones that read nothing.
    static constexpr std::array<const char*, RelationCount> RelationTexts{
        "y>x^2/3-1",              // nothing
        "x^2+y^2<a^2+1",          // a parameter
        "y<f(x)",                 // a user function reading b
        "(x-A.x)^2+(y-A.y)^2<2",  // an object
        "y>y1",                   // a graph reading a
        "C1 and x>b",             // another relation and a parameter
        "x·y=c",                  // an equation of the scan
        "y<y3 and y>-2",          // a graph reading nothing
        "(x-B.x)^2+y^2=1",        // an object that reads a
    };

    static void SetPoint(int k, const char* pos)
    {
        TPointFunction& p = DocumentTables.Points[k];
        p.Kind = ObjectPoint;
        SetFormula(k, p.Pos, pos);
    }

    // What a store operation does after changing a record: its name marked,
    // the objects dirty.
    static void Stored(TTokenCode name)
    {
        MarkChanged(name);
        SetDirtyObjects();
    }

    // The same document drawn with nothing kept, compared with the picture;
    // the kept state is put back so that the next step goes on from it.
    void ExpectAsFromScratch(const std::string& step)
    {
        const QImage drawn = images[0].Image().copy();
        // Shared, not copied: the pictures come back as the same images.
        std::array<QImage, GraphImageCount> keptImages;
        for (size_t i = 0; i < images.size(); ++i)
            keptImages[i] = images[i].Image();
        const TRedrawState keptRedraw = RedrawState;
        const TClosureMemory keptClosure = ClosureMemory;
        TSceneState keptScene = std::move(SceneState);
        SceneState.Reset();
        RedrawState.RelationDrawnOnce.fill(0);
        MarkNameRangeChanged(1, VocabularySize);
        SetDirtyObjects();
        SetDirtyView();
        view.Redraw(images);
        ASSERT_EQ(drawn, images[0].Image()) << step;
        SceneState = std::move(keptScene);
        ClosureMemory = keptClosure;
        RedrawState = keptRedraw;
        for (size_t i = 0; i < images.size(); ++i)
            images[i].Assign(keptImages[i]);
    }

    int RelationsPlotted(auto&& step)
    {
        const int before = RelationPlots();
        step();
        view.Redraw(images);
        return RelationPlots() - before;
    }
    // Relations drawn so far, counted through the layers they were drawn on.
    static int RelationPlots() { return RedrawCounters.RelationsPlotted; }
};

TEST_F(RelationLayersTest, RandomChangesDrawAsARedrawFromScratch)
{
    std::mt19937 random(20261207);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const auto value = [&] { return std::uniform_real_distribution<double>(-3.0, 3.0)(random); };
    const std::array<TColor, 4> colors{0xFF0000, 0x00A000, 0x0000FF, 0x808000};
    const std::array<const char*, 4> relationTexts{"y<x-a", "x^2/4+y^2<c^2", "y>f(x)-1", "x^2-y^2>1"};
    const std::array<const char*, 3> graphTexts{"a·x", "x-a", "2"};
    const std::array<const char*, 3> userTexts{"x^2/4+b", "x-b", "1"};
    TDocumentTables& doc = DocumentTables;
    constexpr int Steps = 30;
    int plotted = 0;
    // Every kind of change three times, in random order.
    std::array<int, Steps> kinds{};
    for (int n = 0; n < Steps; ++n)
        kinds[static_cast<size_t>(n)] = n % 10;
    std::shuffle(kinds.begin(), kinds.end(), random);
    for (int n = 0; n < Steps; ++n) {
        std::string step = "step " + std::to_string(n) + ": ";
        switch (kinds[static_cast<size_t>(n)]) {
        case 0: { // a parameter step
            const char* name = std::array{"a", "b", "c"}[static_cast<size_t>(pick(3))];
            const long double v = static_cast<long double>(NearestInt(value() * 4.0L)) / 4.0L;
            StepParameter(name, v);
            step += std::string("parameter ") + name;
            break;
        }
        case 1: { // a drag step of A
            std::string pos = "(";
            pos += std::to_string(pick(7) - 3) + ", ";
            pos += std::to_string(pick(7) - 3) + ")";
            SetPoint(PointA, pos.c_str());
            Stored(Vocabulary.PointTokens[PointA]);
            step += "A to " + pos;
            break;
        }
        case 2: { // a relation's colour, style or visibility
            const int j = 1 + pick(RelationCount);
            TEquationFunction& r = doc.Relations[j];
            r.Color = colors[static_cast<size_t>(pick(4))];
            r.Pattern = static_cast<std::uint8_t>(1 + pick(8));
            r.Width = static_cast<std::uint8_t>(1 + pick(3));
            r.Border = static_cast<std::uint8_t>(pick(2));
            r.Visible = static_cast<std::uint8_t>(pick(4) != 0);
            Stored(Vocabulary.RelationTokens[j]);
            step += "style of relation " + std::to_string(j);
            break;
        }
        case 3: { // a relation's text
            const int j = 1 + pick(RelationCount);
            SetRelation(j, relationTexts[static_cast<size_t>(pick(4))]);
            Stored(Vocabulary.RelationTokens[j]);
            step += "text of relation " + std::to_string(j);
            break;
        }
        case 4: { // a graph's text or colour
            const int i = 1 + pick(3);
            if (pick(2) == 0)
                SetFunction(i, graphTexts[static_cast<size_t>(pick(3))]);
            else
                doc.Functions[i].Color = colors[static_cast<size_t>(pick(4))];
            Stored(FunctionToken(i));
            step += "graph " + std::to_string(i);
            break;
        }
        case 5: // the user function's text
            SetUserFunction(1, userTexts[static_cast<size_t>(pick(3))]);
            Stored(Vocabulary.UserFunctionTokens[1]);
            step += "user function";
            break;
        case 6: { // the view moved or resized
            const long double x = pick(5) - 7;
            const int width = 200 + 40 * pick(3);
            SetView(x, x + 10.0L, -5.0L, 5.0L, width, 240);
            SetDirtyView();
            SetDirtyObjects();
            step += "view";
            break;
        }
        case 7: // options the relations are drawn with, without any mark
            switch (pick(3)) {
            case 0: Options.ScanWidth = static_cast<std::uint8_t>(1 + pick(4)); break;
            case 1: Options.CapStyle = static_cast<std::uint8_t>(1 + pick(2)); break;
            default: Options.GraphBGColor = Options.GraphBGColor == ColorWhite ? 0xE0FFFF : ColorWhite; break;
            }
            SetDirtyObjects();
            step += "options";
            break;
        case 8: // a relation's colour changed behind the store operations' back
            doc.Relations[1 + pick(RelationCount)].Color = colors[static_cast<size_t>(pick(4))];
            SetDirtyObjects();
            step += "unmarked colour";
            break;
        default: // a mouse move that changed nothing
            SetDirtyObjects();
            step += "nothing";
            break;
        }
        plotted += RelationsPlotted([] {});
        ExpectAsFromScratch(step);
        if (HasFatalFailure())
            return;
    }
    // Most steps kept most layers.
    EXPECT_LT(plotted, Steps * RelationCount / 3);
}

TEST_F(RelationLayersTest, OnlyTheRelationsThatReadAChangeArePlottedAgain)
{
    struct Case {
        const char* Title;
        std::function<void()> Change;
        int Plotted;
    };
    const Case cases[] = {
        {"nothing changed", [] { SetDirtyObjects(); }, 0},
        {"A moved: the circle about A", [] {
             SetPoint(PointA, "(2, 1)");
             Stored(Vocabulary.PointTokens[PointA]);
         }, 1},
        // a: relations 2 and 5 (through y1), 9 (through B).
        {"a stepped", [] { StepParameter("a", 2.0L); }, 3},
        // b: relation 3 (through f) and 6.
        {"b stepped", [] { StepParameter("b", 0.5L); }, 2},
        // Relation 1 and relation 6 that reads it.
        {"relation 1 recoloured",
         [] {
             DocumentTables.Relations[1].Color = 0x00A000;
             Stored(Vocabulary.RelationTokens[1]);
         },
         2},
        {"the pictures made anew at their size",
         [this] {
             for (TBitmap& image : images)
                 image.SetSize(image.Width(), image.Height());
             SetDirtyObjects();
         },
         RelationCount},
        {"the view moved",
         [this] {
             SetView(-4.0L, 6.0L, -5.0L, 5.0L, 240, 240);
             SetDirtyView();
         },
         RelationCount},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RelationsPlotted(c.Change), c.Plotted) << c.Title;
}

TEST_F(RelationLayersTest, RelationsReadingChanceOrTracedArePlottedEveryTime)
{
    SetRelation(1, "y<rnd");
    DocumentTables.Relations[2].AfterImage = 1;
    Stored(Vocabulary.RelationTokens[1]);
    view.Redraw(images);
    // Relation 6 reads relation 1, and so chance too.
    EXPECT_EQ(RelationsPlotted([] { SetDirtyObjects(); }), 3);
}

} // namespace
