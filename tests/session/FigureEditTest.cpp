// The figure dialog's logic: vertex texts, label templates, storing.
#include "StoreTestKit.h"

#include "session/FigureEdit.h"

#include "model/History.h"
#include "model/ProgramState.h"

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
