// The figure dialog, opened through the modal runner and worked as a user
// would: vertex letters typed, kind buttons clicked, OK pressed.
#include "../windows/WindowTestKit.h"

#include "dialogs/SegProperty.h"
#include "tests/render/GoldenFiles.h"

#include "model/History.h"
#include "model/ObjectNames.h"

#include <QAction>
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QToolButton>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

constexpr TImageTolerance TextTolerance{48, 0.02};

class SegPropertyTest : public WindowTest {
protected:
    void SetUp() override
    {
        StartProgram();
        // P Q R S points, T a horizontal line.
        for (int k = 1; k <= 4; ++k) {
            DocumentTables.Points[k].Kind = ObjectPoint;
            DocumentTables.Points[k].Pos.Text = QStringLiteral("(%1,%2)").arg(k).arg(k % 2);
        }
        DocumentTables.Points[5].Kind = ObjectHorizontalLine;
        ASSERT_TRUE(Segments.Append(1, 2, 0xFF0000, 2, 1));
    }

    // Opens figure 1, lets work run on the open dialog, and returns the
    // result it ended with.
    void Open(std::function<void(TSegProperty&)> work)
    {
        modal.queueAnswer(QStringLiteral("SegProperty"), [work](QObject& object) {
            auto& dialog = dynamic_cast<TSegProperty&>(object);
            work(dialog);
            return dialog.result();
        });
        ShowSegProperty(1);
        EXPECT_EQ(modal.pendingAnswers(), 0);
    }

    static void TypeVertices(TSegProperty& d, const QString& text)
    {
        d.Edit2->clear();
        Type(d.Edit2, text);
    }
    static void ClickKind(TSegProperty& d, int kind) { Click(d.Kinds->button(kind)); }
};

TEST_F(SegPropertyTest, OkStoresOnlyWhatPassesTheVertexChecks)
{
    struct Case {
        int kind;
        const char16_t* text;
        QString message; // empty: stored
        std::vector<int> vertices;
    };
    const Case cases[] = {
        {FigurePolygon, u"PQ", QStringLiteral("Vértices insuficientes"), {}},
        {FigurePolygon, u"PQRS", {}, {1, 2, 3, 4}},
        {FigureSegment, u"PQR", QStringLiteral("Vértices demais"), {}},
        {FigureSegment, u"P Q", QStringLiteral("Vértices demais"), {}},
        {FigureSegment, u"xP", {}, {AxisXObject, 1}},
        {FigurePolygon, u"xPQ", QStringLiteral("Eixo ou reta não pode ser usado como vértices de polígono."), {}},
        {FigureSegment, u"xx", QStringLiteral("Vértice inválido"), {}},
    };
    for (const Case& c : cases) {
        messages.clear();
        Segments.Data.Items[1].Kind = FigureSegment;
        Segments.Data.Items[1].Vertices = {};
        Segments.Data.Items[1].Vertices[1] = 1;
        Segments.Data.Items[1].Vertices[2] = 2;
        const Tsegment before = Segments.GetItem(1);
        const QString text = QString::fromUtf16(c.text);
        bool openAfterOk = false;
        Open([&](TSegProperty& d) {
            ClickKind(d, c.kind);
            TypeVertices(d, text);
            Click(d.BtnOk);
            openAfterOk = d.isVisible();
        });
        const Tsegment after = Segments.GetItem(1);
        if (!c.message.isEmpty()) {
            ASSERT_EQ(messages.messages().size(), 1u) << text.toStdString();
            EXPECT_EQ(messages.last().text, c.message);
            EXPECT_EQ(messages.last().kind, 0);
            EXPECT_TRUE(openAfterOk) << "a refusal keeps the dialog open";
            EXPECT_EQ(after, before);
            continue;
        }
        EXPECT_TRUE(messages.empty()) << text.toStdString();
        EXPECT_FALSE(openAfterOk);
        EXPECT_EQ(after.Kind, c.kind);
        for (int i = 1; i <= FigureVertexCount; ++i)
            EXPECT_EQ(after.Vertices[i], i <= int(c.vertices.size()) ? c.vertices[i - 1] : 0) << text.toStdString();
    }
}

TEST_F(SegPropertyTest, DeleteClosesWithoutAMessageWhateverTheText)
{
    ASSERT_TRUE(Segments.Append(2, 3, 0xFF0000, 2, 1));
    const int points = BackUp.Count();
    Open([&](TSegProperty& d) {
        TypeVertices(d, QStringLiteral("xx?"));
        Click(d.Btndelete);
    });
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(Segments.Count(), 1);
    EXPECT_EQ(Segments.GetItem(1).Vertices[1], 2) << "the later figure moved down";
    EXPECT_EQ(BackUp.Count(), points + 1);
    // The kind button of deletion does the same.
    Open([&](TSegProperty& d) { ClickKind(d, FigureNone); });
    EXPECT_EQ(Segments.Count(), 0);
}

TEST_F(SegPropertyTest, TheAddButtonsPlaceTakesANewFigure)
{
    modal.queueAnswer(QStringLiteral("SegProperty"), [](QObject& object) {
        auto& d = dynamic_cast<TSegProperty&>(object);
        EXPECT_TRUE(d.Edit2->text().isEmpty());
        EXPECT_TRUE(d.Kinds->button(FigureSegment)->isChecked());
        ClickKind(d, FigurePolygon);
        TypeVertices(d, QStringLiteral("PQR"));
        Click(d.BtnOk);
        return d.result();
    });
    ShowSegProperty(2);
    ASSERT_EQ(Segments.Count(), 2);
    EXPECT_EQ(Segments.GetItem(2).Kind, FigurePolygon);
    EXPECT_EQ(Segments.GetItem(2).Vertices[3], 3);
    ShowSegProperty(4); // no such place: nothing opens
    EXPECT_EQ(modal.dialogsRun().size(), 1u);
}

TEST_F(SegPropertyTest, CancelLeavesTheFigureAndStyleAlone)
{
    const Tsegment before = Segments.GetItem(1);
    Open([&](TSegProperty& d) {
        ClickKind(d, FigureArrow);
        TypeVertices(d, QStringLiteral("QR"));
        Click(d.btnCancel);
    });
    EXPECT_EQ(Segments.GetItem(1), before);
}

TEST_F(SegPropertyTest, TheDialogShowsTheFigureAndItsKindsControls)
{
    Segments.Data.Items[1].Label = QStringLiteral("AB");
    Segments.Data.Items[1].LabelPos = 4;
    Segments.Data.Items[1].AfterImage = 1;
    Open([](TSegProperty& d) {
        EXPECT_EQ(d.Edit2->text(), QStringLiteral("PQ"));
        EXPECT_EQ(d.Edit2->maxLength(), 11);
        EXPECT_TRUE(d.Kinds->button(FigureSegment)->isChecked());
        EXPECT_EQ(d.edit1->currentText(), QStringLiteral("AB"));
        EXPECT_TRUE(d.LabelPositions->button(4)->isChecked());
        EXPECT_TRUE(d.CBAI->isChecked());
        EXPECT_EQ(d.Kinds->button(FigurePolygon)->toolTip(), QStringLiteral("Polígono"));
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Reta&Polígono"));
        // Inside colour only for the kinds with an inside; the pattern
        // only with a fill that is not the palette's first colour.
        struct Case {
            int kind;
            bool inside;
        };
        for (const Case c : {Case{FigureSegment, false}, Case{FigureRectangle, true}, Case{FigurePolygon, true},
                             Case{FigureAngle, true}, Case{FigureArc, true}, Case{FigureBezier, false}}) {
            ClickKind(d, c.kind);
            EXPECT_EQ(d.btnInside->isEnabled(), c.inside) << c.kind;
            EXPECT_EQ(d.lblInside->isEnabled(), c.inside) << c.kind;
            EXPECT_EQ(d.btnPattern->isVisibleTo(&d), c.inside && !SameColor(d.Copy.InsideColor, ColorScheme.ColorPalette[0]))
                << c.kind;
        }
    });
}

TEST_F(SegPropertyTest, LabelTemplatesAndVertexMenuFollowTheText)
{
    Open([](TSegProperty& d) {
        ClickKind(d, FigureArrow);
        TypeVertices(d, QStringLiteral("PQ"));
        d.edit1->showPopup();
        d.edit1->hidePopup();
        ASSERT_EQ(d.edit1->count(), 2);
        EXPECT_EQ(d.edit1->itemText(0), QStringLiteral("!{len(P,Q)|3}//Comprimento"));
        EXPECT_EQ(d.edit1->itemText(1), QStringLiteral("!{PQ|3}//Deslocamento"));
        d.edit1->activated(0);
        EXPECT_EQ(d.edit1->currentText(), QStringLiteral("!{len(P,Q)|3}//Comprimento"));
        EXPECT_TRUE(d.LabelPositions->button(1)->isChecked()) << "a template places the label";

        const auto shown = [&d](const char* name) {
            const QAction* a = d.PopupMenuPoint->findChild<QAction*>(QString::fromLatin1(name));
            if (!a)
                for (QAction* action : d.PopupMenuPoint->actions())
                    if (action->objectName() == QString::fromLatin1(name))
                        a = action;
            return a && a->isVisible();
        };
        TypeVertices(d, QStringLiteral("P"));
        d.PopupMenuPointPopup();
        EXPECT_TRUE(shown("AxisX1"));
        EXPECT_TRUE(shown("Origin1"));
        EXPECT_FALSE(shown("P1")) << "already in the text";
        EXPECT_TRUE(shown("Q1"));
        EXPECT_FALSE(shown("A1")) << "not defined";
        TypeVertices(d, QStringLiteral("PQ"));
        d.PopupMenuPointPopup();
        EXPECT_FALSE(shown("AxisX1")) << "two letters already";
        EXPECT_FALSE(shown("AxisY1"));
        for (QAction* action : d.PopupMenuPoint->actions())
            if (action->objectName() == u"R1")
                action->trigger();
        EXPECT_EQ(d.Edit2->text(), QStringLiteral("PQR"));
    });
}

TEST_F(SegPropertyTest, GoldenPicturesOfASegmentAndAPolygon)
{
    Open([](TSegProperty& d) {
        ProcessEvents();
        EXPECT_TRUE(MatchesImageGolden(d.grab().toImage(), QStringLiteral("windows/dialog-seg-segment.png"), TextTolerance));
    });
    Segments.Data.Items[1].Kind = FigurePolygon;
    for (int i = 1; i <= 4; ++i)
        Segments.Data.Items[1].Vertices[i] = static_cast<std::uint8_t>(i);
    Segments.Data.Items[1].InsideColor = 0x00FFFF;
    Segments.Data.Items[1].Pattern = 5;
    Segments.Data.Items[1].Label = QStringLiteral("PQRS");
    Segments.Data.Items[1].LabelPos = 5;
    Open([](TSegProperty& d) {
        ProcessEvents();
        EXPECT_TRUE(MatchesImageGolden(d.grab().toImage(), QStringLiteral("windows/dialog-seg-polygon.png"), TextTolerance));
    });
}

} // namespace
