#include "dialogs/FormYValue.h"

#include "dialogs/FormLook.h"
#include "dialogs/PropertyDialog.h"
#include "session/RowModels.h"
#include "session/ToolWindows.h"

#include "engine/Compiler.h"
#include "model/DocumentState.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace {

constexpr int MinimumWidth = 220;
constexpr int PicturesLeft = 4;
constexpr int PicturesWidth = 200;
constexpr int PictureWidth = 800;
constexpr int XPictureLeft = 40;
constexpr int XPictureWidth = 200;
constexpr int EditLeft = 20;
constexpr int LabelLeft = 4;

int RowHeight()
{
    return RowMetrics.ValueRowHeight;
}

// The panels stand under the x picture, which is centred 20 pixels from the
// top.
int PanelsTop()
{
    return 20 + RowHeight() / 2 + 6;
}

// Ten rows high, with the frame.
int PanelsHeight()
{
    return RowHeight() * 10 - 10 + 2;
}

QFrame* NewPanel(QWidget* parent, const char* name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromUtf8(name));
    panel->setFrameShape(QFrame::StyledPanel);
    return panel;
}

} // namespace

TFormYValue::TFormYValue()
    : TToolForm("FormYValue", QStringLiteral("Valores da Função"), ToolWindowState.FormYValuePos)
{
    const int h = RowHeight();
    auto* xLabel = new QLabel(QStringLiteral("x ="), this);
    xLabel->move(8, 20 - xLabel->sizeHint().height() / 2);
    xImage = new TFormulaPicture("xImage", this);
    xImage->setGeometry(XPictureLeft, 20 - h / 2, XPictureWidth, h);
    xImage->Clicked = [this] { xImageClick(); };
    HintFromValue(xImage, [] {
        const TValue& x = DocumentTables.YvalueXValue;
        return ValueHint(x.Defined, x.X);
    });
    SbX = new QToolButton(this);
    SbX->setObjectName(QStringLiteral("SbX"));
    SbX->setCheckable(true);
    SbX->setIcon(MarkerLineIcon());
    SbX->setGeometry(XPictureLeft + XPictureWidth + 6, 20 - 12, 24, 24);
    connect(SbX, &QToolButton::clicked, this, [this] { SbXClick(); });

    Panel1 = NewPanel(this, "Panel1");
    Panel1->setGeometry(PicturesLeft, PanelsTop(), PicturesWidth, PanelsHeight());
    Panel2 = NewPanel(this, "Panel2");
    for (int i = 1; i <= YvalueRowCount; ++i) {
        TValueRowList& row = Rows[i - 1];
        row.Image = new TFormulaPicture(QStringLiteral("Image%1").arg(i).toUtf8().constData(), Panel1);
        row.Image->setGeometry(2, 0, PictureWidth, h);
        row.Image->setToolTip(QStringLiteral("Adicionar/ Editar da função"));
        row.Image->Clicked = [this, i] { Image1Click(i); };
        row.Label = new QLabel(QStringLiteral("="), Panel2);
        row.Label->move(LabelLeft, 0);
        row.Edit = new QLineEdit(Panel2);
        row.Edit->setObjectName(QStringLiteral("Edit%1").arg(i));
        row.Edit->setReadOnly(true);
        row.Edit->setGeometry(EditLeft, 0, 100, h);
        row.SetTop(h * i - 16);
    }
    setMinimumWidth(MinimumWidth);
    const int height = PanelsTop() + PanelsHeight() + 4;
    setFixedHeight(height);
    resize(PicturesLeft + PicturesWidth + 4 + 200, height);
    ShowRows();
    ShowX();
    ShowMarkerButton();
}

TFormYValue::~TFormYValue() = default;

void TFormYValue::ShowRows()
{
    for (int i = 1; i <= YvalueRowCount; ++i)
        ShowFormulaOf(Rows[i - 1].Image, DocumentTables.YvalueFunctions[i], ModeFunction);
}

void TFormYValue::ShowX()
{
    ShowPlainFormula(xImage, DocumentTables.YvalueX);
}

void TFormYValue::ShowValues(const TValueTableRows& rows)
{
    for (int i = 0; i < YvalueRowCount; ++i)
        if (Rows[i].Edit->text() != rows[i])
            Rows[i].Edit->setText(rows[i]);
}

void TFormYValue::ShowMarkerButton()
{
    SbX->setChecked(DocumentTables.YvalueX.Marker == 0);
}

void TFormYValue::UpdateValuesNow()
{
    ShowValues(ValueTableRows(DocumentTables.YvalueXValue));
}

void TFormYValue::Image1Click(int row)
{
    EditYvalueFunction(row, [this, row](TKavirofunction& record) {
        return EditFormula(QStringLiteral("Valor %1 =").arg(row), font(), Rows[row - 1].Image, FormColor,
                           ModeFunction, record);
    });
    ShowRows();
}

void TFormYValue::xImageClick()
{
    EditYvalueX([this](TKavirofunction& record) {
        return EditFormula(QStringLiteral("x ="), font(), xImage, FormColor, ModePlain, record);
    });
    ShowX();
}

void TFormYValue::SbXClick()
{
    ToggleYvalueMarker();
    ShowMarkerButton();
}

void TFormYValue::resizeEvent(QResizeEvent* event)
{
    TToolForm::resizeEvent(event);
    // The pictures give up width first when the window is narrow.
    Panel1->resize(std::min(PicturesWidth, (width() - 3 * 4) / 2), PanelsHeight());
    Panel2->setGeometry(Panel1->geometry().right() + 1 + 4, PanelsTop(), width() - Panel1->geometry().right() - 1 - 2 * 4,
                        PanelsHeight());
    Panel2Resize();
}

void TFormYValue::Panel2Resize()
{
    for (TValueRowList& row : Rows)
        row.Edit->resize(Panel2->width() - row.Edit->x() - 4, row.Edit->height());
}

void TFormYValue::changeEvent(QEvent* event)
{
    TToolForm::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        UpdatePrmPanel();
        UpdateValuesNow();
    }
}

bool TFormYValue::IsShown()
{
    return isVisible();
}

void TFormYValue::ShowDocument()
{
    ShowRows();
    ShowX();
    ShowMarkerButton();
}
