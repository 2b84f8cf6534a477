#include "dialogs/CfxProperty.h"

#include "dialogs/FormLook.h"
#include "dialogs/PermanentForms.h"
#include "engine/Compiler.h"
#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/MessageBox.h"
#include "model/ProgramState.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"

#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int NormalWidth = 311;
constexpr int PresentationWidth = 400;

QFrame* MakePanel(const char* name, QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromUtf8(name));
    panel->setFrameShape(QFrame::StyledPanel);
    return panel;
}

QLabel* MakeLabel(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    return label;
}

// The row's caption, as the data panel shows it: " y1=", " C1: ".
QString RowCaption(int n, bool relation)
{
    const TRowModel* row = nullptr;
    if (relation && n >= 1 && n <= RelationCount)
        row = &RowModels.Relations.Rows[n];
    else if (!relation && n >= 1 && n <= FunctionCount)
        row = &RowModels.Functions.Rows[n];
    if (row && !row->Label.isEmpty())
        return row->Label;
    return relation ? QStringLiteral(" C%1: ").arg(n) : QStringLiteral(" y%1=").arg(n);
}

void Open(int n, bool relation)
{
    // A full list has no slot to offer.
    if (n < 1 || n > (relation ? RelationCount : FunctionCount))
        return;
    // The dialog deletes itself when it closes.
    auto* dialog = new TCfxProperty;
    if (relation)
        dialog->LoadRelation(n);
    else
        dialog->LoadFunction(n);
}

} // namespace

void ShowYfxProperty(int n)
{
    Open(n, false);
}

void ShowCfnProperty(int n)
{
    Open(n, true);
}

TCfxProperty::TCfxProperty()
    : TPropertyDialog(QStringLiteral("CfxProperty"))
{
    const bool presentation = ProgramState.PresentationMode != 0;
    setFixedWidth(presentation ? PresentationWidth : NormalWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);

    Panel3 = MakePanel("Panel3", this);
    gboxf = MakeLabel("gboxf", {}, Panel3);
    ImgFunction = new TFormulaPicture("ImgFunction", Panel3);
    ImgFunction->setToolTip(QStringLiteral("editar função"));
    ImgFunction->setFixedHeight(RowMetrics.RowPitch);
    ImgFunction->setMinimumWidth(40);
    ImgFunction->Clicked = [this] { ImgFunctionClick(); };
    Panel3->setFixedHeight(RowMetrics.RowPitch + 31);
    auto* top = new QHBoxLayout(Panel3);
    top->setContentsMargins(3, 3, 3, 3);
    top->addWidget(gboxf);
    top->addWidget(ImgFunction, 1);
    column->addWidget(Panel3);

    Panel1 = MakePanel("Panel1", this);
    auto* styles = new QGridLayout(Panel1);
    styles->setContentsMargins(4, 2, 4, 2);
    SBPcolor = new TStyleButton("SBPcolor", Panel1);
    SBWidth = new TStyleButton("SBWidth", Panel1);
    sbLstyle = new TStyleButton("sbLstyle", Panel1);
    SBPtn = new TStyleButton("SBPtn", Panel1);
    SBborder = new TStyleButton("SBborder", Panel1);
    lblColor = MakeLabel("lblColor", QStringLiteral("Côr"), Panel1);
    lblwidth = MakeLabel("lblwidth", QStringLiteral("Gross"), Panel1);
    lblLStyle = MakeLabel("lblLStyle", QStringLiteral("Estilo"), Panel1);
    lblInside = MakeLabel("lblInside", QStringLiteral("Interior"), Panel1);
    lblBorder = MakeLabel("lblBorder", QStringLiteral("Fronteira"), Panel1);
    CBAI = new QCheckBox(QStringLiteral("Traço"), Panel1);
    CBAI->setObjectName(QStringLiteral("CBAI"));
    const std::pair<QLabel*, TStyleButton*> pairs[] = {
        {lblColor, SBPcolor}, {lblwidth, SBWidth}, {lblLStyle, sbLstyle}, {lblInside, SBPtn}, {lblBorder, SBborder}};
    int col = 0;
    for (auto [label, button] : pairs) {
        styles->addWidget(label, 0, col, Qt::AlignHCenter);
        styles->addWidget(button, 1, col, Qt::AlignHCenter);
        ++col;
    }
    styles->addWidget(CBAI, 1, col);
    styles->setColumnStretch(col, 1);
    column->addWidget(Panel1);

    Panel2 = MakePanel("Panel2", this);
    CboxAutoCalc = new QCheckBox(QStringLiteral("Desenho Rápido"), Panel2);
    CboxAutoCalc->setObjectName(QStringLiteral("CboxAutoCalc"));
    auto* quick = new QHBoxLayout(Panel2);
    quick->setContentsMargins(4, 2, 4, 2);
    quick->addWidget(CboxAutoCalc);
    column->addWidget(Panel2);

    const TOkPanel ok = BuildOkPanel();
    PanelOk = ok.PanelOk;
    BtnOK = ok.BtnOK;
    btnDelete = ok.btnDelete;
    btncancel = ok.btncancel;
    column->addWidget(PanelOk);
    column->addSpacing(2);

    SBPcolor->BindColor(&copy_.Color);
    SBWidth->BindByte(TStyleFamily::Width, &copy_.Width);
    sbLstyle->BindByte(TStyleFamily::LineStyle, &copy_.LineStyle);
    SBPtn->BindByte(TStyleFamily::Pattern, &copy_.Pattern);
    SBborder->BindByte(TStyleFamily::Border, &copy_.Border);

    connect(btnDelete, &QPushButton::clicked, this, [this] { BtnDeleteClick(); });
    connect(CBAI, &QCheckBox::toggled, this, [this](bool on) { copy_.AfterImage = on ? 1 : 0; });
    connect(CboxAutoCalc, &QCheckBox::toggled, this, [this](bool on) { copy_.AutoCalc = on ? 1 : 0; });
    for (QWidget* w : std::initializer_list<QWidget*>{Panel1, Panel2, Panel3})
        FocusOnHover(w);
}

void TCfxProperty::LoadFunction(int n)
{
    Load(n, false);
}

void TCfxProperty::LoadRelation(int n)
{
    Load(n, true);
}

void TCfxProperty::Load(int n, bool relation)
{
    relation_ = relation;
    panelColor_ = DataPanelColor(relation ? "panelcfn" : "panelyfx");
    PaintPanels({Panel1, Panel2, Panel3}, panelColor_);
    const int count = relation ? RelationCount : FunctionCount;
    slot_ = n >= 1 && n <= count ? n : 0;
    if (slot_ > 0)
        copy_ = relation ? DocumentTables.Relations[n] : DocumentTables.Functions[n];
    else
        copy_ = DefaultEquation;

    const QString caption = RowCaption(n, relation);
    name_ = relation ? caption : caption + u' ';
    gboxf->setText(name_);
    // " y1= " gives " y1 Propriedades", " C1: " gives " C1 Propriedades".
    QString title = name_;
    const int mark = static_cast<int>(title.indexOf(relation ? u':' : u'='));
    if (mark >= 0)
        title.remove(mark, 1);
    setWindowTitle(title + QStringLiteral("Propriedades"));
    const QString rowButton = QStringLiteral("%1Button%2").arg(relation ? u"panelcfn" : u"panelyfx").arg(n);
    QWidget* row = Forms.DataPanel ? Forms.DataPanel->findChild<QWidget*>(rowButton) : nullptr;
    QFont nameFont = row ? row->font() : FormFont();
    nameFont.setPointSize(RowMetrics.RowSize);
    nameFont.setBold(true);
    nameFont.setItalic(!relation);
    gboxf->setFont(nameFont);

    ShowStyle();
    CloseCalculator();
    for (QWidget* w : {static_cast<QWidget*>(lblInside), static_cast<QWidget*>(SBPtn),
                       static_cast<QWidget*>(lblBorder), static_cast<QWidget*>(SBborder),
                       static_cast<QWidget*>(Panel2)})
        w->setVisible(relation);
    setFixedHeight(layout()->sizeHint().height());
    Present();
}

void TCfxProperty::Present()
{
    if (copy_.Func.Code.isEmpty()) {
        ImgFunctionClick();
        if (Closed())
            return;
        if (copy_.Func.Code.isEmpty()) {
            // Nothing was typed: no entry, and the dialog goes unseen.
            close();
            return;
        }
    }
    show();
    CBAI->setFocus();
}

int TCfxProperty::Mode() const
{
    return relation_ ? ModeRelation : ModeFunction;
}

void TCfxProperty::ShowStyle()
{
    if (copy_.Func.Code.isEmpty()) {
        const TDefaultStyle& style = ProgramState.DefaultGraphStyle;
        copy_.Color = style.ColorNo1;
        copy_.Width = static_cast<std::uint8_t>(style.Width);
        copy_.LineStyle = static_cast<std::uint8_t>(style.LineStyle);
    }
    for (TStyleButton* b : {SBPcolor, SBWidth, sbLstyle, SBPtn, SBborder})
        b->ShowGlyph();
    const QSignalBlocker blockTrace(CBAI);
    const QSignalBlocker blockQuick(CboxAutoCalc);
    CBAI->setChecked(copy_.AfterImage != 0);
    CboxAutoCalc->setChecked(copy_.AutoCalc != 0);
    ImgFunction->ShowFormula(copy_.Func.NormText, RowMetrics.RowSize);
}

void TCfxProperty::ImgFunctionClick()
{
    const QString before = copy_.Func.Text;
    EditFormula(name_, gboxf->font(), ImgFunction, panelColor_, Mode(), copy_.Func);
    if (copy_.Func.Text == before) {
        close();
        return;
    }
    if (copy_.Func.Code.isEmpty()) {
        // The formula was emptied: the entry goes at once.
        BtnOKClick();
        return;
    }
    ShowStyle();
}

void TCfxProperty::BtnOKClick()
{
    if (copy_.Func.Code.isEmpty())
        copy_ = DefaultEquation;
    if (slot_ < 1) {
        close();
        return;
    }
    const TTokenString& code = copy_.Func.Code;
    if (!relation_ && (code.contains(QChar(TokenCodes.VarY)) || code.contains(QChar(TokenCodes.Radius)))) {
        ShowMsgBox(QStringLiteral("Não é permitido usar \"y\" na função"), MsgWarning, MsgOk);
        return;
    }
    // The references are followed as though the copy stood in its slot.
    if (CheckCircularityAs(relation_ ? TFormulaTable::Relations : TFormulaTable::Functions, slot_, copy_.Func))
        return;
    hide();
    // The store takes its undo point from the old record.
    if (relation_)
        SetCfn(slot_, copy_);
    else
        SetYfx(slot_, copy_);
    if (!copy_.Func.Code.isEmpty())
        ProgramState.DefaultGraphStyle = {copy_.Color, copy_.Width, copy_.LineStyle};
    slot_ = 0;
    close();
}

void TCfxProperty::BtnDeleteClick()
{
    copy_ = DefaultEquation;
    ShowStyle();
}
