// Edits of the figure list with their undo points, trace colours and
// redraws, and the figure dialog's logic: vertex texts, label templates,
// storing.
#include "StoreTestKit.h"

#include "session/FigureEdit.h"

#include "model/History.h"
#include "model/ProgramState.h"
#include "render/plot/Figures.h"
#include "render/plot/Objects.h"
#include "render/scene/TraceStore.h"
#include "render/view/RedrawState.h"
#include "render/view/fakes/CountingViewServices.h"

#include <QColor>
#include <utility>

namespace {

class FigureEditTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        // P Q R S points, T a horizontal line, U a vertical line.
        for (int k = 1; k <= 4; ++k)
            DocumentTables.Points[k] = PointAt(k, QStringLiteral("(%1,0)").arg(k));
        DocumentTables.Points[5].Kind = ObjectHorizontalLine;
        DocumentTables.Points[6].Kind = ObjectVerticalLine;
    }
};

class FigureListEditTest : public StoreTest {
protected:
    CountingRedrawer redrawer;
    ScopedRedrawer useRedrawer{redrawer};

    // Five segments with distinct colours and fills, drawn and traced.
    static void PutFive()
    {
        for (int s = 1; s <= 5; ++s) {
            Segments.Append(s, s + 1, static_cast<TColor>(s), 2, 1);
            Segments.Data.Items[s].InsideColor = static_cast<TColor>(100 + s);
            SegmentColors[s] = static_cast<TColor>(s);
            SegmentColors2[s] = static_cast<TColor>(100 + s);
        }
        TraceStore.PushAllTraced(TPointStates{}, PointColors, PointColors2);
    }
    // The trace colours of the newest record.
    static TTraceColors TracedColours()
    {
        TTraceRecord record;
        TraceStore.ReadRecord(TraceStore.Head(), record);
        return record.Colors;
    }
};

TEST_F(FigureListEditTest, TheThirtyFirstFigureIsRefusedWithAMessageAndChangesNothing)
{
    for (int s = 1; s <= SegmentCount; ++s)
        ASSERT_EQ(AddFigure(s % 2 + 1, 3), s);
    EXPECT_TRUE(sink_.empty());
    const TSegmentData full = Segments.Data;
    const int undoPoints = BackUp.Count();
    EXPECT_GE(undoPoints, 1);

    EXPECT_EQ(AddFigure(3, 4), 0);
    ASSERT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(sink_.last().text, QStringLiteral("Mais segmentos não podem ser adicionados."));
    EXPECT_EQ(sink_.last().kind, MsgWarning);
    EXPECT_EQ(Segments.Data, full);
    EXPECT_EQ(BackUp.Count(), undoPoints); // not even the undo history
}

TEST_F(FigureListEditTest, ANewSegmentTakesTheStyleOfNewFiguresAndIsDrawnAtOnce)
{
    GraphScale.XAxis.VHigh = GraphScale.YAxis.VHigh = 400;
    ASSERT_TRUE(GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -5.0L}, {5.0L, 5.0L}}));
    ProgramState.DefaultSegmentStyle = {.ColorNo1 = 0x0000FF, .Width = 1, .LineStyle = 1};
    Segments.States[1] = TPointState{.Kind = 1, .X = -2.5L, .Y = 2.5L}; // pixel (100, 100)
    Segments.States[2] = TPointState{.Kind = 1, .X = 0.0L, .Y = 2.5L};  // pixel (200, 100)
    TBitmap& graph = GraphScale.GraphImages[0];
    graph.SetSize(401, 401);
    const int redraws = redrawer.Redraws;
    ASSERT_EQ(AddFigure(1, 2), 1);
    EXPECT_FALSE(BackUp.IsAtStart());
    const Tsegment& f = Segments.Data.Items[1];
    EXPECT_EQ(f.Color, 0x0000FFu);
    EXPECT_EQ(f.Width, 1);
    EXPECT_EQ(graph.Image().pixel(150, 100), QColor(Qt::red).rgb());
    EXPECT_EQ(graph.Image().pixel(150, 110), QColor(Qt::white).rgb());
    EXPECT_EQ(redrawer.Redraws, redraws); // no full redraw
    graph.SetSize(0, 0);
}

TEST_F(FigureListEditTest, DeletingFigureThreeOfFiveMovesTheLaterOnesWithAllTheirColours)
{
    PutFive();
    const TSegmentData before = Segments.Data;
    DeleteFigure(3, true);
    EXPECT_EQ(BackUp.Count(), 1);
    ASSERT_EQ(Segments.Count(), 4);
    EXPECT_EQ(Segments.Data.Items[2], before.Items[2]);
    EXPECT_EQ(Segments.Data.Items[3], before.Items[4]);
    EXPECT_EQ(Segments.Data.Items[4], before.Items[5]);
    // Last drawn colours, trace colours and fill colours move together.
    const TTraceColors traced = TracedColours();
    for (const TFigureColours* colours : {&std::as_const(SegmentColors), &traced.Figures}) {
        EXPECT_EQ((*colours)[2], 2u);
        EXPECT_EQ((*colours)[3], 4u);
        EXPECT_EQ((*colours)[4], 5u);
        EXPECT_EQ((*colours)[5], NoTraceColor);
    }
    for (const TFigureColours* fills : {&std::as_const(SegmentColors2), &traced.FigureFills}) {
        EXPECT_EQ((*fills)[2], 102u);
        EXPECT_EQ((*fills)[3], 104u);
        EXPECT_EQ((*fills)[4], 105u);
        EXPECT_EQ((*fills)[5], NoTraceColor);
    }

    DeleteFigure(1, false);
    EXPECT_EQ(BackUp.Count(), 1); // no undo point asked for
    EXPECT_EQ(Segments.Count(), 3);
}

TEST_F(FigureListEditTest, ANumberOutsideTheListChangesNothing)
{
    PutFive();
    const TSegmentData before = Segments.Data;
    const TFigureColours colours = SegmentColors;
    const TTraceColors traced = TracedColours();
    for (int s : {0, -1, 6, 30, 31}) {
        DeleteFigure(s, true);
        DeleteFigureAndRedraw(s, true);
        SetFigure(s, before.Items[1]);
    }
    EXPECT_EQ(Segments.Data, before);
    EXPECT_EQ(SegmentColors, colours);
    EXPECT_EQ(TracedColours().Figures, traced.Figures);
    EXPECT_TRUE(BackUp.IsAtStart());
}

TEST_F(FigureListEditTest, DeleteAndSetRedrawTheGraph)
{
    PutFive();
    ClearRedrawState();
    const int redraws = redrawer.Redraws;
    DeleteFigureAndRedraw(2, true);
    EXPECT_EQ(Segments.Count(), 4);
    EXPECT_TRUE(IsDirtyObjects());
    EXPECT_EQ(redrawer.Redraws, redraws + 1);
    EXPECT_EQ(redrawer.LastImages, &GraphScale.GraphImages);

    ClearRedrawState();
    Tsegment changed = Segments.GetItem(4);
    changed.Kind = FigureLine;
    SetFigure(4, changed);
    EXPECT_EQ(Segments.GetItem(4), changed);
    EXPECT_TRUE(IsDirtyObjects());
    EXPECT_EQ(redrawer.Redraws, redraws + 2);
}

const QString TooFew = QStringLiteral("Vértices insuficientes");
const QString TooMany = QStringLiteral("Vértices demais");
const QString NeedTwo = QStringLiteral("Usar dois ou mais vértices");
const QString Invalid = QStringLiteral("Vértice inválido");
const QString AxisMessage = QStringLiteral("Eixo ou reta não pode ser usado como vértices de polígono.");

TEST_F(FigureEditTest, VertexTextsAreCheckedAsTheDialogDoes)
{
    struct Case {
        std::uint8_t kind;
        const char16_t* text;
        QString message;
        std::vector<int> vertices; // when accepted
    };
    const Case cases[] = {
        {FigurePolygon, u"PQ", TooFew, {}},
        {FigurePolygon, u"PQRS", {}, {1, 2, 3, 4}},
        {FigureSegment, u"PQR", TooMany, {}},
        {FigureSegment, u"P Q", TooMany, {}}, // counted with its blank
        {FigureSegment, u"xP", {}, {AxisXObject, 1}},
        {FigureSegment, u"pq", {}, {1, 2}},
        {FigurePolygon, u"xPQ", AxisMessage, {}},
        {FigurePolygon, u"PQT", AxisMessage, {}},
        {FigureSegment, u"PT", {}, {1, 5}},
        {FigureSegment, u"xx", Invalid, {}},
        {FigureSegment, u"PA", Invalid, {}}, // A is not defined
        {FigureSegment, u"P ", NeedTwo, {}},
        {FigureAngle, u"PQRS", TooMany, {}},
        {FigureBezier, u"PQRSP", {}, {1, 2, 3, 4, 1}},
        // The last refusal found wins.
        {FigurePolygon, u"xPZ", Invalid, {}},
        {FigurePolygon, u"ZxP", AxisMessage, {}},
        // Blanks counted but leaving too few for the kind.
        {FigurePolygon, u"P Q", TooFew, {}},
    };
    for (const Case& c : cases) {
        Tsegment figure;
        figure.Kind = c.kind;
        figure.Vertices[1] = 9;
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(CheckVertexText(text, c.kind, figure), c.message) << text.toStdString();
        if (!c.message.isEmpty()) {
            EXPECT_EQ(figure.Vertices[1], 9) << "a refusal keeps the figure";
            continue;
        }
        for (int i = 1; i <= FigureVertexCount; ++i) {
            const int want = i <= int(c.vertices.size()) ? c.vertices[i - 1] : 0;
            EXPECT_EQ(figure.Vertices[i], want) << text.toStdString() << " vertex " << i;
        }
    }
}

TEST_F(FigureEditTest, LabelTemplatesWriteTheLocaleListSeparator)
{
    struct Case {
        bool commaLocale;
        std::uint8_t kind;
        const char16_t* text;
        QStringList templates;
    };
    const Case cases[] = {
        {false, FigureArrow, u"PQ", Lines({u"!{len(P,Q)|3}//Comprimento", u"!{PQ|3}//Deslocamento"})},
        {true, FigureArrow, u"PQ", Lines({u"!{len(P;Q)|3}//Comprimento", u"!{PQ|3}//Deslocamento"})},
        {false, FigureSegment, u"xP", Lines({u"!{len((P.x,0),P)|3}//Comprimento"})},
        {true, FigureSegment, u"yP", Lines({u"!{len((0;P.y);P)|3}//Comprimento"})},
        {false, FigureArrow, u"PT",
         Lines({u"!{len(P,(P.x,T.y))|3}//Comprimento", u"!{(P.x,T.y)-P|3}//Deslocamento"})},
        {true, FigureSegment, u"UP", Lines({u"!{len((U.x;P.y);P)|3}//Comprimento"})},
        {false, FigureAngle, u"PQR", Lines({u"!{[arg(P,Q,R)]|3}//Ângulo"})},
        {false, FigureAngle, u"xPQ", {}},
        {false, FigureLine, u"PQ", {}},
        {false, FigureSegment, u"PQR", {}},
    };
    for (const Case& c : cases) {
        if (c.commaLocale)
            UseCommaLocale();
        else
            Separators.Reset();
        EXPECT_EQ(LabelTemplates(QString::fromUtf16(c.text), c.kind), c.templates) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST_F(FigureEditTest, FootTemplatesCompileInASemicolonLocale)
{
    UseCommaLocale();
    const QStringList templates = LabelTemplates(QStringLiteral("xP"), FigureSegment);
    ASSERT_EQ(templates.size(), 1);
    // The field between "!{" and "|3}".
    const QString field = templates[0].mid(2, templates[0].indexOf(u'|') - 2);
    TKavirofunction f;
    f.Text = field;
    EXPECT_TRUE(PrepareExpression(f, ModePlain)) << field.toStdString();
    TKavirofunction fixedComma;
    fixedComma.Text = QStringLiteral("len((P.x,0);P)");
    EXPECT_FALSE(PrepareExpression(fixedComma, ModePlain));
}

TEST_F(FigureEditTest, StoringTakesAnUndoPointOnlyForAChangeAndKeepsTheStyle)
{
    ASSERT_TRUE(Segments.Append(1, 2, 0xFF0000, 2, 1));
    const int before = BackUp.Count();
    StoreFigure(1, Segments.GetItem(1));
    EXPECT_EQ(BackUp.Count(), before);

    Tsegment edited = Segments.GetItem(1);
    edited.Kind = FigureArrow;
    edited.Color = 0x00FF00;
    edited.Width = 4;
    edited.LineStyle = 3;
    StoreFigure(1, edited);
    EXPECT_EQ(Segments.GetItem(1), edited);
    EXPECT_EQ(BackUp.Count(), before + 1);
    const TDefaultStyle& style = ProgramState.DefaultSegmentStyle;
    EXPECT_EQ(style.ColorNo1, 0x00FF00u);
    EXPECT_EQ(style.Width, 4);
    EXPECT_EQ(style.LineStyle, 3);
    EXPECT_GT(rows_.FigureShows, 0);

    Tsegment deleted = edited;
    deleted.Kind = FigureNone;
    StoreFigure(1, deleted);
    EXPECT_EQ(Segments.Count(), 0);
    EXPECT_EQ(BackUp.Count(), before + 2);
}

TEST_F(FigureEditTest, TheNextFreePlaceTakesANewFigure)
{
    ProgramState.DefaultSegmentStyle = {0x0000FF, 3, 2};
    EXPECT_TRUE(IsEditableFigure(1));
    EXPECT_FALSE(IsEditableFigure(2));
    Tsegment figure = FigureToEdit(1);
    EXPECT_EQ(figure.Kind, FigureSegment);
    EXPECT_EQ(figure.Color, 0x0000FFu);
    EXPECT_EQ(figure.Width, 3);
    EXPECT_EQ(figure.LineStyle, 2);
    // Deleting what does not exist yet stores nothing.
    figure.Kind = FigureNone;
    StoreFigure(1, figure);
    EXPECT_EQ(Segments.Count(), 0);
    const int before = BackUp.Count();
    figure = FigureToEdit(1);
    ASSERT_TRUE(CheckVertexText(QStringLiteral("PQ"), FigureSegment, figure).isEmpty());
    StoreFigure(1, figure);
    ASSERT_EQ(Segments.Count(), 1);
    EXPECT_EQ(Segments.GetItem(1).Vertices[2], 2);
    EXPECT_EQ(BackUp.Count(), before + 1);
    for (int i = 0; i < SegmentCount - 1; ++i)
        Segments.Append(1, 2, 0, 1, 1);
    EXPECT_FALSE(IsEditableFigure(SegmentCount + 1));
}

} // namespace
