#include "PropertyDialogTestKit.h"

#include "dialogs/CfxProperty.h"
#include "engine/Compiler.h"
#include "model/MessageBox.h"
#include "model/ProgramState.h"
#include "render/gfx/ColorConvert.h"
#include "session/Presentation.h"
#include "session/StoreOperations.h"
#include "session/UndoPoints.h"
#include "tests/render/GoldenFiles.h"

#include <QCheckBox>
#include <QLabel>

namespace {

constexpr TColor Red = 0x0000FF;

void StoreEquation(int n, const QString& text, bool relation = false)
{
    TEquationFunction f = DefaultEquation;
    f.Func.Text = text;
    PrepareExpression(f.Func, relation ? ModeRelation : ModeFunction);
    ASSERT_FALSE(f.Func.Code.isEmpty()) << text.toStdString();
    relation ? SetCfn(n, f) : SetYfx(n, f);
}

class CfxPropertyTest : public PropertyDialogTest {
protected:
    TCfxProperty* Dialog() { return OpenDialog<TCfxProperty>("CfxProperty"); }

    // A new entry typed in the calculator: the dialog it leaves open.
    TCfxProperty* OpenNew(int n, const QString& text, bool relation = false)
    {
        QueueFormula(text);
        relation ? ShowCfnProperty(n) : ShowYfxProperty(n);
        ProcessEvents();
        return Dialog();
    }
};

TEST_F(CfxPropertyTest, NewEntryIsTypedFirstAndStoredByOk)
{
    struct Case {
        bool relation;
        QString text;
        QString title;
        bool relationControls;
    };
    const Case cases[] = {
        {false, QStringLiteral("x^2"), QStringLiteral(" y1 Propriedades"), false},
        {true, QStringLiteral("x^2+y^2<4"), QStringLiteral(" C1 Propriedades"), true},
    };
    for (const Case& c : cases) {
        const int undoPoints = BackUp.Index();
        TCfxProperty* dialog = OpenNew(1, c.text, c.relation);
        ASSERT_NE(dialog, nullptr) << c.text.toStdString();
        EXPECT_EQ(modal.dialogsRun().back(), QStringLiteral("CalcForm")) << "the editor opens before the dialog";
        EXPECT_EQ(dialog->windowTitle(), c.title);
        EXPECT_EQ(dialog->font().family(), QStringLiteral("Arial Unicode MS"));
        EXPECT_EQ(dialog->width(), 311);
        EXPECT_EQ(dialog->gboxf->font().italic(), !c.relation);
        EXPECT_TRUE(dialog->gboxf->font().bold());
        for (QWidget* w : std::initializer_list<QWidget*>{dialog->lblInside, dialog->SBPtn, dialog->lblBorder,
                                                          dialog->SBborder, dialog->Panel2})
            EXPECT_EQ(w->isVisible(), c.relationControls) << w->objectName().toStdString();
        EXPECT_EQ(dialog->ImgFunction->toolTip(), QStringLiteral("editar função"));
        EXPECT_FALSE(MainFormsEnabled()) << "the dialog disables both main windows";
        EXPECT_EQ(dialog->parentWidget(), nullptr);

        Click(dialog->BtnOK);
        ProcessEvents();
        const TEquationFunction& stored =
            c.relation ? DocumentTables.Relations[1] : DocumentTables.Functions[1];
        EXPECT_EQ(stored.Func.Text, c.text);
        EXPECT_FALSE(stored.Func.Code.isEmpty());
        EXPECT_EQ(BackUp.Index(), undoPoints + 1);
        EXPECT_EQ(Dialog(), nullptr);
        EXPECT_TRUE(MainFormsEnabled());
    }
}

TEST_F(CfxPropertyTest, OpenedFromTheDataPanel)
{
    QueueFormula(QStringLiteral("x^3"));
    Click(Find<QWidget>(Console(), "sbAddYfx"));
    ProcessEvents();
    ASSERT_NE(Dialog(), nullptr);
    Click(Dialog()->BtnOK);
    ProcessEvents();
    ASSERT_EQ(DocumentTables.Functions[1].Func.Text, QStringLiteral("x^3"));

    Click(Find<QWidget>(Console(), "panelyfxImage1"));
    ProcessEvents();
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(Dialog()->Copy().Func.Text, QStringLiteral("x^3"));
    EXPECT_TRUE(modal.unanswered().empty()) << "an existing entry opens without the editor";
}

TEST_F(CfxPropertyTest, NewEntryLeftEmptyIsNeverShown)
{
    const int undoPoints = BackUp.Index();
    QueueCalculatorLeft();
    ShowYfxProperty(1);
    ProcessEvents();
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_TRUE(DocumentTables.Functions[1].Func.Text.isEmpty());
    EXPECT_EQ(BackUp.Index(), undoPoints);
    EXPECT_TRUE(MainFormsEnabled());
}

TEST_F(CfxPropertyTest, RefusalsKeepTheDialogAndTheEntry)
{
    StoreEquation(2, QStringLiteral("y1"));
    StoreEquation(1, QStringLiteral("x"));
    struct Case {
        int slot;
        QString text;
        QString message;
        int kind;
    };
    const Case cases[] = {
        {1, QStringLiteral("x·r"), QStringLiteral("Não é permitido usar \"y\" na função"), MsgWarning},
        {1, QStringLiteral("x+y"), QStringLiteral("Não é permitido usar \"y\" na função"), MsgWarning},
        // y2 refers to y1: y1 may not refer back to y2.
        {1, QStringLiteral("y2+1"), QStringLiteral("Refere à circulação da função"), MsgError},
    };
    for (const Case& c : cases) {
        const QString before = DocumentTables.Functions[c.slot].Func.Text;
        const int undoPoints = BackUp.Index();
        ShowYfxProperty(c.slot);
        TCfxProperty* dialog = Dialog();
        ASSERT_NE(dialog, nullptr);
        QueueFormula(c.text);
        Click(dialog->ImgFunction);
        ProcessEvents();
        messages.clear();
        Click(dialog->BtnOK);
        ProcessEvents();
        ASSERT_FALSE(messages.empty()) << c.text.toStdString();
        EXPECT_EQ(messages.last().text, c.message);
        EXPECT_EQ(messages.last().kind, c.kind);
        EXPECT_EQ(Dialog(), dialog) << "the dialog stays open";
        EXPECT_EQ(dialog->Copy().Func.Text, c.text);
        EXPECT_EQ(DocumentTables.Functions[c.slot].Func.Text, before);
        EXPECT_EQ(BackUp.Index(), undoPoints);
        dialog->close();
        ProcessEvents();
    }
}

TEST_F(CfxPropertyTest, EditorOutcomes)
{
    StoreEquation(1, QStringLiteral("x^2"));
    const int undoPoints = BackUp.Index();

    // Left unchanged: the dialog closes and nothing is stored.
    ShowYfxProperty(1);
    QueueCalculatorLeft();
    Click(Dialog()->ImgFunction);
    ProcessEvents();
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(BackUp.Index(), undoPoints);

    // A new text: the dialog stays with it, typeset.
    ShowYfxProperty(1);
    TCfxProperty* dialog = Dialog();
    const QImage before = dialog->ImgFunction->Image().copy();
    QueueFormula(QStringLiteral("sin(x)"));
    Click(dialog->ImgFunction);
    ProcessEvents();
    ASSERT_EQ(Dialog(), dialog);
    EXPECT_NE(dialog->ImgFunction->Image(), before);
    EXPECT_EQ(DocumentTables.Functions[1].Func.Text, QStringLiteral("x^2"));
    dialog->close();
    ProcessEvents();

    // Emptied: the entry goes at once, and one undo brings it back.
    ShowYfxProperty(1);
    QueueFormula(QString());
    Click(Dialog()->ImgFunction);
    ProcessEvents();
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_TRUE(DocumentTables.Functions[1].Func.Text.isEmpty());
    EXPECT_EQ(BackUp.Index(), undoPoints + 1);
    Undo();
    EXPECT_EQ(DocumentTables.Functions[1].Func.Text, QStringLiteral("x^2"));
}

TEST_F(CfxPropertyTest, StyleFromPaletteBecomesTheNextDefault)
{
    TCfxProperty* dialog = OpenNew(1, QStringLiteral("x"));
    ASSERT_NE(dialog, nullptr);
    ChooseStyle(dialog->SBPcolor, "sbc2");
    ChooseStyle(dialog->SBWidth, "SBAL3");
    EXPECT_EQ(dialog->Copy().Color, Red);
    EXPECT_EQ(dialog->Copy().Width, 3);
    Key(dialog, Qt::Key_Return);
    EXPECT_EQ(Dialog(), nullptr) << "Enter runs OK";
    EXPECT_EQ(DocumentTables.Functions[1].Color, Red);
    EXPECT_EQ(ProgramState.DefaultGraphStyle.ColorNo1, Red);

    dialog = OpenNew(2, QStringLiteral("x+1"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Copy().Color, Red);
    EXPECT_EQ(dialog->Copy().Width, 3);
    Key(dialog, Qt::Key_Escape);
    EXPECT_EQ(Dialog(), nullptr) << "Esc closes";
    EXPECT_TRUE(DocumentTables.Functions[2].Func.Text.isEmpty()) << "and stores nothing";
    EXPECT_TRUE(MainFormsEnabled());
}

TEST_F(CfxPropertyTest, FlagsDeleteAndCancel)
{
    StoreEquation(1, QStringLiteral("x^2+y^2<4"), true);
    ShowCfnProperty(1);
    TCfxProperty* dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    dialog->CBAI->click();
    dialog->CboxAutoCalc->click();
    Click(dialog->btncancel);
    ProcessEvents();
    EXPECT_EQ(DocumentTables.Relations[1].AfterImage, 0) << "cancel stores nothing";

    ShowCfnProperty(1);
    dialog = Dialog();
    dialog->CBAI->click();
    dialog->CboxAutoCalc->click();
    Click(dialog->BtnOK);
    ProcessEvents();
    EXPECT_EQ(DocumentTables.Relations[1].AfterImage, 1);
    EXPECT_EQ(DocumentTables.Relations[1].AutoCalc, 0);

    ShowCfnProperty(1);
    dialog = Dialog();
    Click(dialog->btnDelete);
    EXPECT_TRUE(dialog->Copy().Func.Text.isEmpty());
    Click(dialog->BtnOK);
    ProcessEvents();
    EXPECT_TRUE(DocumentTables.Relations[1].Func.Text.isEmpty());
}

TEST_F(CfxPropertyTest, Goldens)
{
    StoreEquation(1, QStringLiteral("sin(x)/x"));
    StoreEquation(1, QStringLiteral("x^2/4+y^2<1"), true);
    for (bool presentation : {false, true}) {
        ProgramState.PresentationMode = presentation ? 1 : 0;
        ApplyPresentationSizes(96);
        for (bool relation : {false, true}) {
            relation ? ShowCfnProperty(1) : ShowYfxProperty(1);
            TCfxProperty* dialog = Dialog();
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->width(), presentation ? 400 : 311);
            ProcessEvents();
            const QString name = QStringLiteral("windows/dialog-cfx-%1%2.png")
                                     .arg(relation ? u"relation" : u"function", presentation ? u"-presentation" : u"");
            EXPECT_TRUE(MatchesImageGolden(dialog->grab().toImage(), name, {48, 0.02}));
            dialog->close();
            ProcessEvents();
        }
    }
}

} // namespace
