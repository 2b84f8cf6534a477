#include "PropertyDialogTestKit.h"

#include "dialogs/PntProperty.h"
#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "session/Presentation.h"
#include "session/ProjectFile.h"
#include "session/StoreOperations.h"
#include "session/UndoPoints.h"
#include "tests/render/GoldenFiles.h"

#include <QCheckBox>
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <tuple>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>

namespace {

constexpr int P = 1;
constexpr int Q = 2;
constexpr int O = 22;

// An object stored as the dialog would store it.
void StoreObject(int n, std::uint8_t kind, const QString& x, const QString& y, const QString& r = {})
{
    TPointFunction p = DocumentTables.Points[n];
    p.Kind = kind;
    p.X.Text = x;
    p.Y.Text = y;
    p.R.Text = r;
    JoinPointTexts(p, PointTextDirection::Join);
    for (TKavirofunction* f : {&p.X, &p.Y, &p.R, &p.Pos})
        PrepareExpression(*f, n);
    p.Low.Text = QStringLiteral("0");
    p.High.Text = QStringLiteral("1");
    PrepareExpression(p.Low, ModePlain);
    PrepareExpression(p.High, ModePlain);
    SetPnt(n, p);
}

class PntPropertyTest : public PropertyDialogTest {
protected:
    TPntProperty* Dialog() { return OpenDialog<TPntProperty>("PntProperty"); }

    TPntProperty* Open(int n, int flags = 3)
    {
        ShowPntProperty(n, flags);
        ProcessEvents();
        return Dialog();
    }

    // Types the formula of a picture through the calculator.
    void Enter(QWidget* picture, const QString& text)
    {
        QueueFormula(text);
        Click(picture);
        ProcessEvents();
    }

    // OK pressed; the last message, or an empty one.
    QString PressOk(TPntProperty* dialog)
    {
        messages.clear();
        Click(dialog->BtnOK);
        ProcessEvents();
        return messages.empty() ? QString() : messages.last().text;
    }
};

TEST_F(PntPropertyTest, NewPointTakesTheLastStyleAndIsStored)
{
    ProgramState.DefaultFigureStyle.ColorNo1 = 0x0000FF;
    ProgramState.DefaultFigureStyle.Width = 5;
    TPntProperty* dialog = Open(P);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Figura P Propriedades"));
    EXPECT_EQ(dialog->lblV->text(), QStringLiteral(" P ="));
    EXPECT_TRUE(dialog->RBPoint->isChecked());
    EXPECT_EQ(dialog->Copy().ColorNo1, 0x0000FFu);
    EXPECT_EQ(dialog->Copy().Low.Text, QStringLiteral("0"));
    EXPECT_EQ(dialog->Copy().High.Text, QStringLiteral("1"));
    EXPECT_FALSE(MainFormsEnabled());

    Enter(dialog->ImgX, QStringLiteral("1"));
    Enter(dialog->imgY, QStringLiteral("2"));
    ChooseStyle(dialog->SBWidth, "SBAL4");
    EXPECT_FALSE(dialog->SBPtn->isVisible()) << "no pattern without an inside colour";
    ChooseStyle(dialog->SBIcolor, "sbc3");
    EXPECT_TRUE(dialog->SBPtn->isVisible());
    EXPECT_FALSE(dialog->SBFtype->isVisible()) << "figure types are for curves";
    const int undoPoints = BackUp.Index();
    EXPECT_EQ(PressOk(dialog), QString());
    const TPointFunction& p = DocumentTables.Points[P];
    EXPECT_EQ(p.Kind, ObjectPoint);
    EXPECT_EQ(p.Pos.Text, QStringLiteral("(1,2)"));
    EXPECT_EQ(p.ColorNo1, 0x0000FFu);
    EXPECT_EQ(p.Width, 4);
    EXPECT_EQ(BackUp.Index(), undoPoints + 1);
    EXPECT_EQ(ProgramState.DefaultFigureStyle.Width, 4);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_TRUE(MainFormsEnabled());
}

TEST_F(PntPropertyTest, AddButtonsOfferTheirPanelsKinds)
{
    struct Case {
        const char* add;
        int firstKind, lastKind;
        QRadioButton* TPntProperty::*checked;
    };
    const Case cases[] = {
        {"sbAddPnt", ObjectPoint, ObjectVerticalLine, &TPntProperty::RBPoint},
        {"sbAddCrv", ObjectPolar, ObjectSequence, &TPntProperty::RBLocus},
    };
    for (const Case& c : cases) {
        Click(Find<QWidget>(Console(), c.add));
        ProcessEvents();
        TPntProperty* dialog = Dialog();
        ASSERT_NE(dialog, nullptr) << c.add;
        for (int k = 1; k <= 7; ++k)
            EXPECT_EQ(dialog->KindButtons[k]->isEnabled(), k >= c.firstKind && k <= c.lastKind) << c.add << k;
        EXPECT_TRUE((dialog->*c.checked)->isChecked()) << c.add;
        dialog->close();
        ProcessEvents();
    }
}

TEST_F(PntPropertyTest, KindsLayOutTheirFields)
{
    struct Case {
        QRadioButton* TPntProperty::*button;
        QString caption;
        bool x, y, r, curve;
        QString rLabel;
    };
    const Case cases[] = {
        {&TPntProperty::RBPoint, QStringLiteral("Ponto"), true, true, false, false, QStringLiteral("Raio")},
        {&TPntProperty::RBcircle, QStringLiteral("Centro"), true, true, true, false, QStringLiteral("Raio")},
        {&TPntProperty::RBHline, QStringLiteral("Reta"), false, true, true, false, QStringLiteral("Raio")},
        {&TPntProperty::RBVline, QStringLiteral("Reta"), true, false, true, false, QStringLiteral("Raio")},
        {&TPntProperty::RBPolor, QStringLiteral("Ponto"), false, false, true, true, QStringLiteral("Equação Polar")},
        {&TPntProperty::RBLocus, QStringLiteral("Ponto"), true, true, false, true, QStringLiteral("Raio")},
        {&TPntProperty::rbSequence, QStringLiteral("Sequência de Pontos"), true, true, false, true,
         QStringLiteral("Raio")},
    };
    TPntProperty* dialog = Open(P);
    ASSERT_NE(dialog, nullptr);
    Click(dialog->CBVector);
    EXPECT_EQ(dialog->Copy().Dimension, 2);
    Click(dialog->CBVector);
    for (const Case& c : cases) {
        QRadioButton* button = dialog->*c.button;
        EXPECT_EQ(button->toolTip(), button->text());
        button->click();
        const std::string kind = button->objectName().toStdString();
        EXPECT_EQ(dialog->GBPoint->title(), c.caption) << kind;
        EXPECT_EQ(dialog->ImgX->isVisible(), c.x) << kind;
        EXPECT_EQ(dialog->imgY->isVisible(), c.y) << kind;
        EXPECT_EQ(dialog->ImgR->isVisible(), c.r) << kind;
        EXPECT_EQ(dialog->lblR->text(), c.rLabel) << kind;
        EXPECT_EQ(dialog->GBCurve->isVisible(), c.curve) << kind;
        if (c.curve) {
            EXPECT_EQ(dialog->Copy().LocusWidth, 2) << "a curve's locus is drawn";
        }
        if (!(c.x && c.y)) {
            EXPECT_EQ(dialog->Copy().Dimension, 1) << kind;
        }
    }
}

TEST_F(PntPropertyTest, ObjectOIsAPointOrACircleOnly)
{
    SetOriginObject();
    TPntProperty* dialog = Open(O);
    ASSERT_NE(dialog, nullptr);
    for (QWidget* w : std::initializer_list<QWidget*>{dialog->RBPoint, dialog->RBcircle})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    for (QWidget* w : std::initializer_list<QWidget*>{dialog->RBHline, dialog->RBVline, dialog->RBPolor,
                                                      dialog->RBLocus, dialog->rbSequence, dialog->btnDelete,
                                                      dialog->IMGV, dialog->CBVector, dialog->CBDrag, dialog->CBPAI,
                                                      dialog->SBLocus})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    // With its vector picture disabled, the origin is edited as x and y.
    EXPECT_TRUE(dialog->ImgX->isVisible());
    EXPECT_TRUE(dialog->imgY->isVisible());
    EXPECT_EQ(dialog->Copy().X.Text, QStringLiteral("0"));
}

TEST_F(PntPropertyTest, FlagsEnableTheKinds)
{
    for (int flags : {1, 2}) {
        TPntProperty* dialog = Open(Q, flags);
        ASSERT_NE(dialog, nullptr);
        for (int k = 1; k <= 7; ++k)
            EXPECT_EQ(dialog->KindButtons[k]->isEnabled(), (flags == 1) == (k <= 4)) << flags << " kind " << k;
        dialog->close();
        ProcessEvents();
    }
}

TEST_F(PntPropertyTest, OkChecksAndStores)
{
    const QString unfinished = QStringLiteral("Inserção não está terminada.");
    const QString badParameter = QStringLiteral("Parâmetro inválido");
    const QString unusedParameter = QStringLiteral("Parâmetro Inválido");
    const QString tracedInterval = QStringLiteral("Se o parâmetro da curva é usado na definição do intervalo,\r"
                                                  " o traço da curva não pode ser acompanhado.");
    struct Case {
        const char* name;
        QRadioButton* TPntProperty::*kind;
        const char *x, *y, *r, *high, *step;
        bool traced;
        QString message;
        bool stored;
    };
    const Case cases[] = {
        {"circle without radius", &TPntProperty::RBcircle, "1", "2", "", "", "", false, unfinished, false},
        {"point without y", &TPntProperty::RBPoint, "1", "", "", "", "", false, unfinished, false},
        {"horizontal line", &TPntProperty::RBHline, "", "2", "", "", "", false, {}, true},
        {"curve without its parameter", &TPntProperty::RBLocus, "cos(s)", "sin(s)", "", "", "", false,
         unusedParameter, false},
        {"curve with step 0", &TPntProperty::RBLocus, "cos(t)", "sin(t)", "", "", "0", false, badParameter, false},
        {"curve with a bad step", &TPntProperty::RBLocus, "cos(t)", "sin(t)", "", "", "x?", false, badParameter,
         false},
        {"traced curve on its own interval", &TPntProperty::RBLocus, "cos(t)", "sin(t)", "", "t", "", true,
         tracedInterval, true},
        {"polar curve", &TPntProperty::RBPolor, "", "", "2", "", "", false, {}, true},
    };
    for (const Case& c : cases) {
        TPntProperty* dialog = Open(Q);
        ASSERT_NE(dialog, nullptr) << c.name;
        (dialog->*c.kind)->click();
        const std::pair<TFormulaPicture*, const char*> typed[] = {
            {dialog->ImgX, c.x}, {dialog->imgY, c.y}, {dialog->ImgR, c.r}, {dialog->ImgHigh, c.high}};
        for (auto [picture, text] : typed)
            if (*text)
                Enter(picture, QString::fromUtf8(text));
        if (*c.step)
            dialog->edPrmD->setText(QString::fromUtf8(c.step));
        if (c.traced)
            Click(dialog->CBLAI);
        const int undoPoints = BackUp.Index();
        EXPECT_EQ(PressOk(dialog), c.message) << c.name;
        EXPECT_EQ(Dialog() == nullptr, c.stored) << c.name;
        EXPECT_EQ(BackUp.Index(), undoPoints + (c.stored ? 1 : 0)) << c.name;
        if (!c.stored) {
            EXPECT_EQ(DocumentTables.Points[Q].Kind, ObjectEmpty) << c.name;
            dialog->close();
            ProcessEvents();
        }
        if (c.stored) {
            const TPointFunction& stored = DocumentTables.Points[Q];
            EXPECT_EQ(stored.RAImg, 0) << c.name << ": stored untraced";
            if (stored.Kind == ObjectHorizontalLine) {
                EXPECT_EQ(stored.R.Text, QStringLiteral("0"));
            }
            if (stored.Kind == ObjectPolar) {
                EXPECT_EQ(stored.X.Text, QStringLiteral("r cos@"));
            }
            Undo();
            EXPECT_EQ(DocumentTables.Points[Q].Kind, ObjectEmpty) << c.name;
        }
    }
}

TEST_F(PntPropertyTest, CircularReferenceKeepsTheObject)
{
    StoreObject(P, ObjectPoint, QStringLiteral("Q.x"), QStringLiteral("1"));
    StoreObject(Q, ObjectPoint, QStringLiteral("1"), QStringLiteral("2"));
    TPntProperty* dialog = Open(Q);
    ASSERT_NE(dialog, nullptr);
    Enter(dialog->ImgX, QStringLiteral("P.x+1"));
    EXPECT_EQ(PressOk(dialog), QStringLiteral("Refere à circulação da função"));
    EXPECT_EQ(Dialog(), dialog);
    EXPECT_EQ(DocumentTables.Points[Q].X.Text, QStringLiteral("1"));
}

TEST_F(PntPropertyTest, SynchronisedCurveGivesItsStepToTheParameter)
{
    const int t = 10;
    ASSERT_EQ(ParamLetters[t], u't');
    TPntProperty* dialog = Open(Q);
    dialog->RBLocus->click();
    Enter(dialog->ImgX, QStringLiteral("t"));
    Enter(dialog->imgY, QStringLiteral("t^2"));
    dialog->edPrmD->setText(QStringLiteral("0.25"));
    Click(dialog->cbSync);
    const int undoPoints = BackUp.Index();
    EXPECT_EQ(PressOk(dialog), QString());
    EXPECT_EQ(DocumentTables.Params[t].Step, 0.25L);
    EXPECT_EQ(DocumentTables.Points[Q].ParamStep, 0.25L);
    EXPECT_EQ(DocumentTables.Points[Q].Sync, 1);
    // The step changed before the store: the undo point already holds it.
    EXPECT_EQ(BackUp.Index(), undoPoints + 1);
}

TEST_F(PntPropertyTest, StepButtonsGoThroughRoundSteps)
{
    struct Case {
        QString typed;
        QString up, down;
    };
    const Case cases[] = {
        {QStringLiteral("0.1"), QStringLiteral("0.2"), QStringLiteral("0.05")},
        {QStringLiteral("0.3"), QStringLiteral("0.5"), QStringLiteral("0.2")},
        {QStringLiteral("1000"), QStringLiteral("1000"), QStringLiteral("500")},
    };
    TPntProperty* dialog = Open(Q);
    dialog->RBLocus->click();
    for (const Case& c : cases) {
        dialog->edPrmD->setText(c.typed);
        Click(dialog->sbPrmDup);
        EXPECT_EQ(dialog->edPrmD->text(), c.up) << c.typed.toStdString();
        dialog->edPrmD->setText(c.typed);
        Click(dialog->sbPrmDDwn);
        EXPECT_EQ(dialog->edPrmD->text(), c.down) << c.typed.toStdString();
    }
}

TEST_F(PntPropertyTest, CurveControls)
{
    TPntProperty* dialog = Open(Q);
    dialog->RBPolor->click();
    Enter(dialog->ImgR, QStringLiteral("2"));

    // The letter panel: theta shown, '@' stored.
    ChooseStyle(dialog->stPrmchar, "SBPrm13");
    EXPECT_EQ(dialog->stPrmchar->text(), QStringLiteral("θ"));

    // The interval popups put their fixed texts into the ends.
    for (auto [picture, menuName, choice] : {std::tuple{dialog->ImgHigh, "PopupHigh", "2Pi"},
                                             std::tuple{dialog->ImgLow, "PopupLow", "-Pi"}}) {
        picture->customContextMenuRequested(QPoint(4, 4));
        auto* menu = dialog->findChild<QMenu*>(QString::fromUtf8(menuName));
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->isVisible());
        for (QAction* action : menu->actions())
            if (action->text() == QString::fromUtf8(choice))
                action->trigger();
        menu->hide();
    }
    EXPECT_EQ(dialog->Copy().High.Text, QStringLiteral("2Pi"));
    EXPECT_EQ(dialog->Copy().Low.Text, QStringLiteral("-Pi"));

    // A double click on the step opens the calculator on it; a step of 0
    // from there is refused at OK like a typed one.
    for (const char* typed : {"1/4", "0"}) {
        QueueFormula(QString::fromUtf8(typed));
        QTest::mouseDClick(dialog->edPrmD, Qt::LeftButton);
        ProcessEvents();
    }
    EXPECT_EQ(modal.pendingAnswers(), 0);
    EXPECT_EQ(dialog->edPrmD->text(), QStringLiteral("0"));
    EXPECT_EQ(PressOk(dialog), QStringLiteral("Parâmetro inválido"));
    QueueFormula(QStringLiteral("1/4"));
    QTest::mouseDClick(dialog->edPrmD, Qt::LeftButton);
    ProcessEvents();
    EXPECT_EQ(dialog->edPrmD->text(), QStringLiteral("0.25"));

    EXPECT_EQ(PressOk(dialog), QString());
    const TPointFunction& stored = DocumentTables.Points[Q];
    EXPECT_EQ(stored.Kind, ObjectPolar);
    EXPECT_EQ(stored.ParamChar, u'@');
    EXPECT_EQ(stored.ParamStep, 0.25L);
    EXPECT_EQ(stored.High.Text, QStringLiteral("2Pi"));
}

TEST_F(PntPropertyTest, LabelTemplatesUseTheListSeparator)
{
    struct Case {
        QChar separator;
        int kind;
        QString second;
    };
    const Case cases[] = {
        {u',', ObjectPoint, QStringLiteral("!{(x,y)}//Coordenadas")},
        {u';', ObjectPoint, QStringLiteral("!{(x;y)}//Coordenadas")},
        {u';', ObjectParametric, QStringLiteral("!{(x;y)}//Coordenadas")},
    };
    for (const Case& c : cases) {
        Separators.ListSepChar = c.separator;
        const QStringList t = LabelTemplates(c.kind, u'P');
        ASSERT_EQ(t.size(), 5);
        EXPECT_EQ(t[0], QStringLiteral("P"));
        EXPECT_EQ(t[1], c.second);
        EXPECT_EQ(t[2], u'P' + c.second);
        EXPECT_EQ(t[3], QStringLiteral("!{([X]") + c.separator + QStringLiteral("argX)|3}//Coordenadas Polares"));
    }
    EXPECT_EQ(LabelTemplates(ObjectVerticalLine, u'P'), QStringList{QStringLiteral("{x=!{x}}//Equação")});
    EXPECT_EQ(LabelTemplates(ObjectHorizontalLine, u'P'), QStringList{QStringLiteral("{y=!{y}}//Equação")});

    // In the dialog: choosing a template sets the label and its first place.
    Separators.ListSepChar = u',';
    StoreObject(P, ObjectPoint, QStringLiteral("1"), QStringLiteral("2"));
    DocumentTables.Points[P].LabelPos = 0;
    TPntProperty* dialog = Open(P);
    ASSERT_EQ(dialog->Edit1->count(), 5);
    dialog->Edit1->activated(2);
    EXPECT_EQ(dialog->Copy().Label, QStringLiteral("P!{(x,y)}//Coordenadas"));
    EXPECT_EQ(dialog->Copy().LabelPos, 1);
    EXPECT_TRUE(dialog->LabelPosButtons[1]->isChecked());

    // Each position button stands where its label goes around the object.
    const auto at = [dialog](int position) { return dialog->LabelPosButtons[position]->geometry().center(); };
    const QPoint centre = at(5);
    const std::pair<int, QPoint> sides[] = {{1, {-1, -1}}, {2, {-1, 1}}, {3, {1, -1}}, {4, {1, 1}},
                                            {6, {0, -1}},  {7, {0, 1}},  {8, {-1, 0}}, {9, {1, 0}}};
    for (auto [position, side] : sides) {
        const QPoint d = at(position) - centre;
        EXPECT_EQ(QPoint((d.x() > 0) - (d.x() < 0), (d.y() > 0) - (d.y() < 0)), side) << position;
    }
}

TEST_F(PntPropertyTest, VectorJoinsAndSplitsThePointText)
{
    StoreObject(P, ObjectPoint, QStringLiteral("1"), QStringLiteral("a"));
    TPntProperty* dialog = Open(P);
    Click(dialog->CBVector);
    EXPECT_TRUE(dialog->IMGV->isVisible());
    EXPECT_FALSE(dialog->ImgX->isVisible());
    EXPECT_EQ(dialog->Copy().Pos.Text, QStringLiteral("(1,a)"));
    Enter(dialog->IMGV, QStringLiteral("(3,b)"));
    EXPECT_EQ(dialog->Copy().X.Text, QStringLiteral("3"));
    Click(dialog->CBVector);
    EXPECT_EQ(dialog->Copy().Y.Text, QStringLiteral("b"));
    EXPECT_TRUE(dialog->ImgX->isVisible());
    Click(dialog->CBVector);
    EXPECT_EQ(PressOk(dialog), QString());
    EXPECT_EQ(DocumentTables.Points[P].Dimension, 2);
    EXPECT_EQ(Options.VectorOn, 1);
}

TEST_F(PntPropertyTest, DeleteRemovesTheObject)
{
    StoreObject(P, ObjectCircle, QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"));
    TPntProperty* dialog = Open(P);
    Click(dialog->btnDelete);
    EXPECT_EQ(PressOk(dialog), QString());
    EXPECT_EQ(DocumentTables.Points[P].Kind, ObjectEmpty);
    Undo();
    EXPECT_EQ(DocumentTables.Points[P].Kind, ObjectCircle);
}

// The origin object offers only a point or a circle: the other kinds are
// greyed, in a grey that still reads on the silver face.
TEST_F(PntPropertyTest, GreyedKindsOfTheOriginReadOnTheFace)
{
    TPntProperty* dialog = Open(O);
    ASSERT_NE(dialog, nullptr);
    ProcessEvents();
    const QImage shown = dialog->grab().toImage();
    // The caption, right of the round indicator.
    const auto area = [&](QWidget* w) {
        const int indent = w->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                           w->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
        return QRect(w->mapTo(dialog, QPoint(indent, 0)), w->size() - QSize(indent, 0));
    };
    for (QWidget* kind : std::initializer_list<QWidget*>{dialog->RBHline, dialog->RBVline, dialog->RBPolor,
                                                          dialog->RBLocus, dialog->rbSequence}) {
        ASSERT_FALSE(kind->isEnabled());
        const int text = DarkestGrey(shown, area(kind));
        EXPECT_GT(text, 0x40) << kind->objectName().toStdString() << " greyed";
        EXPECT_LT(text, 0x90) << kind->objectName().toStdString() << " and readable";
    }
    EXPECT_LT(DarkestGrey(shown, area(dialog->RBPoint)), 0x30) << "a kind that can be chosen is black";
    EXPECT_TRUE(MatchesImageGolden(shown, QStringLiteral("windows/dialog-pnt-origin.png"), {48, 0.02}));
    dialog->close();
}

TEST_F(PntPropertyTest, Goldens)
{
    StoreObject(P, ObjectPoint, QStringLiteral("1"), QStringLiteral("2"));
    StoreObject(Q, ObjectCircle, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("Sqrt(2)"));
    StoreObject(3, ObjectParametric, QStringLiteral("cos(t)"), QStringLiteral("sin(2t)"));
    struct Case {
        int n;
        const char* name;
    };
    const Case cases[] = {{P, "point"}, {Q, "circle"}, {3, "curve"}};
    for (bool presentation : {false, true}) {
        ProgramState.PresentationMode = presentation ? 1 : 0;
        ApplyPresentationSizes(96);
        for (const Case& c : cases) {
            TPntProperty* dialog = Open(c.n);
            ASSERT_NE(dialog, nullptr);
            ProcessEvents();
            const QString name = QStringLiteral("windows/dialog-pnt-%1%2.png")
                                     .arg(QString::fromUtf8(c.name), presentation ? u"-presentation" : u"");
            EXPECT_TRUE(MatchesImageGolden(dialog->grab().toImage(), name, {48, 0.02}));
            dialog->close();
            ProcessEvents();
        }
    }
}

} // namespace
