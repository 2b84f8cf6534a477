#include "dialogs/FormIvalue.h"

#include "dialogs/FormLook.h"
#include "dialogs/PropertyDialog.h"
#include "session/RowModels.h"
#include "session/ToolWindows.h"

#include "engine/Compiler.h"
#include "model/DocumentState.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace {

constexpr int FormWidth = 264;
constexpr int LimitButtonWidth = 120;
constexpr int LimitPictureLeft = 128;
constexpr int LimitPictureWidth = 128;
constexpr int HeaderTop = 84;
constexpr int RowPanelTop = 102;
constexpr int ShowLeft = 44;
constexpr int DiffLeft = 84;
constexpr int ValueLeft = 128;
constexpr int ValueWidth = 120;
constexpr int BottomPanelHeight = 32;

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                 const QString& hint = {})
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->move(left, top);
    label->setToolTip(hint);
    return label;
}

QToolButton* NewToolButton(QWidget* parent, const char* name, const QString& text, const QString& hint = {})
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setCheckable(true);
    return button;
}

} // namespace

TFormIvalue::TFormIvalue()
    : TToolForm("FormIvalue", QStringLiteral("Integral Definida"), ToolWindowState.FormIvaluePos)
{
    const int h = RowMetrics.ValueRowHeight;
    SBExUpper = NewToolButton(this, "SBExUpper", QStringLiteral("Limite Superior"));
    SBExUpper->setGeometry(4, 20 - 12, LimitButtonWidth, 24);
    SBExLower = NewToolButton(this, "SBExLower", QStringLiteral("Limite Inferior"));
    SBExLower->setGeometry(4, 60 - 12, LimitButtonWidth, 24);
    for (QToolButton* b : {SBExUpper, SBExLower}) {
        b->setIcon(MarkerLineIcon());
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    connect(SBExUpper, &QToolButton::clicked, this, [this] { SBExClick(true); });
    connect(SBExLower, &QToolButton::clicked, this, [this] { SBExClick(false); });
    SImage = new TFormulaPicture("SImage", this);
    SImage->setGeometry(LimitPictureLeft, 20 - h / 2, LimitPictureWidth, h);
    EImage = new TFormulaPicture("EImage", this);
    EImage->setGeometry(LimitPictureLeft, 60 - h / 2, LimitPictureWidth, h);
    SImage->Clicked = [this] { SImageClick(true); };
    EImage->Clicked = [this] { SImageClick(false); };
    HintFromValue(SImage, [] {
        const TValue& v = DocumentTables.IntegralInterval.UpperValue;
        return ValueHint(v.Defined, v.X);
    });
    HintFromValue(EImage, [] {
        const TValue& v = DocumentTables.IntegralInterval.LowerValue;
        return ValueHint(v.Defined, v.X);
    });

    NewLabel(this, "LabelShow", QStringLiteral("Mostrar"), 4 + ShowLeft - 16, HeaderTop,
             QStringLiteral("Mostrar a Função Especificada"));
    NewLabel(this, "LabelDiff", QStringLiteral("Diff"), 4 + DiffLeft - 4, HeaderTop,
             QStringLiteral("Integrar a Diferença entre 2 Funções"));
    NewLabel(this, "LabelValue", QStringLiteral("Valor"), 4 + ValueLeft + 4, HeaderTop);
    BuildRows();
    BuildBottomPanel();
    setFixedWidth(FormWidth);
    ShowChoices();
    ShowLimits();
    // The rows take their places when the integrals are first shown.
    LayOut(IntegralRowAreaHeight(DocumentTables));
}

TFormIvalue::~TFormIvalue() = default;

void TFormIvalue::BuildRows()
{
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("RowPanel"));
    panel->setFrameShape(QFrame::StyledPanel);
    RowPanel = panel;
    showGroup_ = new QButtonGroup(this);
    diffGroup_ = new QButtonGroup(this);
    for (int i = 0; i <= FunctionCount; ++i) {
        TIntegralList& row = Rows[i];
        const QString name = QStringLiteral("Label%1").arg(i);
        row.Label = NewLabel(RowPanel, name.toUtf8().constData(), i == 0 ? QStringLiteral(" 0") : IntegralRowLabel(i),
                             8, 0);
        row.Show = new QRadioButton(RowPanel);
        row.Show->setObjectName(QStringLiteral("RB%1").arg(i));
        row.Show->setGeometry(ShowLeft, 0, 16, 17);
        row.Show->setToolTip(QStringLiteral("Mostrar a Função Especificada"));
        row.Diff = new QRadioButton(RowPanel);
        row.Diff->setObjectName(QStringLiteral("Rc%1").arg(i));
        row.Diff->setGeometry(DiffLeft, 0, 16, 17);
        row.Diff->setToolTip(QStringLiteral("Integrar a Diferença entre 2 Funções"));
        row.Edit = new QLineEdit(RowPanel);
        row.Edit->setObjectName(QStringLiteral("Value%1").arg(i));
        row.Edit->setReadOnly(true);
        row.Edit->setGeometry(ValueLeft, 0, ValueWidth, 20);
        showGroup_->addButton(row.Show, i);
        diffGroup_->addButton(row.Diff, i);
        connect(row.Show, &QRadioButton::clicked, this, [this, i] { RB1Click(i); });
        connect(row.Diff, &QRadioButton::clicked, this, [this, i] { Rc1Click(i); });
    }
    Rows[0].Show->setEnabled(false);
    Rows[0].Edit->hide();
    Rows[0].SetTop(4);
    for (int i = 1; i <= FunctionCount; ++i)
        Rows[i].SetTop(HiddenIntegralRowTop);
}

void TFormIvalue::BuildBottomPanel()
{
    BottomPanel = new QWidget(this);
    BottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    Btnarea1 = NewToolButton(BottomPanel, "Btnarea1", QStringLiteral("∫ f"), QStringLiteral("Integral Definida"));
    Btnarea1->setGeometry(4, 4, 40, 24);
    Btnarea2 = NewToolButton(BottomPanel, "Btnarea2", QStringLiteral("∫ |f|"), QStringLiteral("Area"));
    Btnarea2->setGeometry(46, 4, 40, 24);
    auto* areas = new QButtonGroup(this);
    areas->addButton(Btnarea1);
    areas->addButton(Btnarea2);
    connect(Btnarea1, &QToolButton::clicked, this, [] { SetIntegralAreaMode(false); });
    connect(Btnarea2, &QToolButton::clicked, this, [] { SetIntegralAreaMode(true); });
    const QString partitionsHint = QStringLiteral("Dividir o Intervalo do integral definido");
    NewLabel(BottomPanel, "LabelSlice", QStringLiteral("Divisão"), 140, 9, partitionsHint);
    Edit10 = new QLineEdit(BottomPanel);
    Edit10->setObjectName(QStringLiteral("Edit10"));
    Edit10->setGeometry(190, 4, 50, 24);
    Edit10->setToolTip(partitionsHint);
    Edit10->installEventFilter(this);
}

// The row area as tall as the rows need, the bottom panel 8 pixels under
// it, the window 8 pixels under that.
void TFormIvalue::LayOut(int rowAreaHeight)
{
    RowPanel->setGeometry(4, RowPanelTop, FormWidth - 8, rowAreaHeight);
    BottomPanel->setGeometry(4, RowPanel->geometry().bottom() + 1 + 8, FormWidth - 8, BottomPanelHeight);
    setFixedHeight(BottomPanel->geometry().bottom() + 1 + 8);
}

void TFormIvalue::ShowLimits()
{
    const Tinterval& in = DocumentTables.IntegralInterval;
    ShowPlainFormula(SImage, in.Upper);
    ShowPlainFormula(EImage, in.Lower);
}

void TFormIvalue::ShowIntegrals(const TIntegralTable& table)
{
    for (int i = 1; i <= FunctionCount; ++i) {
        TIntegralList& row = Rows[i];
        const TIntegralRow& state = table.Rows[i];
        if (row.Edit->text() != state.Text)
            row.Edit->setText(state.Text);
        state.Enabled ? row.Enable() : row.Disable();
        row.SetTop(state.Top);
    }
    LayOut(table.RowAreaHeight);
}

void TFormIvalue::ShowChoices()
{
    const Tinterval& in = DocumentTables.IntegralInterval;
    if (QAbstractButton* b = showGroup_->button(in.Dfuncno))
        b->setChecked(true);
    if (QAbstractButton* b = diffGroup_->button(in.Efuncno))
        b->setChecked(true);
    (in.AreaQ ? Btnarea2 : Btnarea1)->setChecked(true);
    Edit10->setText(QString::number(in.sliceNo));
    SBExUpper->setChecked(in.Upper.Marker == 0);
    SBExLower->setChecked(in.Lower.Marker == 0);
}

void TFormIvalue::RB1Click(int row)
{
    SetIntegralShownFunction(row);
}

void TFormIvalue::Rc1Click(int row)
{
    SetIntegralSubtractedFunction(row);
}

void TFormIvalue::SImageClick(bool upper)
{
    EditIntegralLimit(upper, [this, upper](TKavirofunction& record) {
        return EditFormula(upper ? QStringLiteral("Limite Superior =") : QStringLiteral("Limite Inferior ="), font(),
                           upper ? SImage : EImage, FormColor, ModePlain, record);
    });
}

void TFormIvalue::SBExClick(bool upper)
{
    ToggleIntegralMarker(upper);
    ShowChoices();
}

void TFormIvalue::Edit10Exit()
{
    // The refusal's message takes the focus from the edit: that is no
    // second exit.
    if (checkingSlices_)
        return;
    checkingSlices_ = true;
    QString text = Edit10->text();
    ApplySliceNoText(text);
    if (Edit10->text() != text)
        Edit10->setText(text);
    checkingSlices_ = false;
}

// Enter in the partition edit applies it and goes no further.
bool TFormIvalue::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Edit10) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Edit10Exit();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            Edit10Exit();
        }
    }
    return TToolForm::eventFilter(watched, event);
}

bool TFormIvalue::IsShown()
{
    return isVisible();
}

void TFormIvalue::ShowDocument()
{
    ShowChoices();
    ShowLimits();
}
