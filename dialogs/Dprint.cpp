#include "dialogs/Dprint.h"

#include "dialogs/FormLook.h"
#include "dialogs/NamedWidgets.h"
#include "dialogs/PermanentForms.h"
#include "model/MessageBox.h"
#include "model/Options.h"
#include "model/Settings.h"
#include "platform/ModalRunner.h"
#include "platform/Printing.h"
#include "render/scene/CalcPrintSize.h"
#include "render/view/Scale.h"
#include "session/PictureExport.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <array>
#include <optional>

namespace {

// Where the dialog was left, for its next opening.
std::optional<QPoint> DprintPos;

struct TPrintChoice {
    int Mode;
    const char16_t* Caption;
};
// The radio items in their order.
constexpr std::array<TPrintChoice, 4> PrintChoices{{
    {PrintColorGraph, u"Gráfico(Alta-res Côr)"},
    {PrintMonochromeGraph, u"Gráfico(Alta-res P/B)"},
    {CaptureGraph, u"Gráfico(captura)"},
    {CaptureBothWindows, u"Todo KAVIRO"},
}};

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& caption)
{
    return Named(new QGroupBox(caption, parent), name);
}

} // namespace

TDprint::TDprint(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Dprint"));
    setWindowTitle(QStringLiteral("Imprimir"));
    setFont(FormFont(9));
    auto* layout = new QVBoxLayout(this);

    QGroupBox* paper = MakeGroup(this, "GroupPaper", QStringLiteral("Tamanho do Papel"));
    LabelPaper = Named(new QLabel(paper), "LabelPaper");
    (new QVBoxLayout(paper))->addWidget(LabelPaper);
    layout->addWidget(paper);

    QGroupBox* graph = MakeGroup(this, "GroupGraph", QStringLiteral("Tamanho do Gráfico"));
    auto* graphLayout = new QVBoxLayout(graph);
    TrBar = Named(new QSlider(Qt::Horizontal, graph), "TrBar");
    TrBar->setRange(1, 100);
    TrBar->setTickPosition(QSlider::TicksBelow);
    TrBar->setTickInterval(10);
    LabelSize = Named(new QLabel(graph), "LabelSize");
    LabelSize->setFont(FormFont(8));
    CheckKeep = MakeCheck(graph, "CheckKeep", QStringLiteral("AjustarImpressão"));
    graphLayout->addWidget(TrBar);
    graphLayout->addWidget(LabelSize);
    graphLayout->addWidget(CheckKeep);
    layout->addWidget(graph);

    QGroupBox* object = MakeGroup(this, "RGObject", QStringLiteral("Imprimindo Imagem"));
    auto* objectLayout = new QVBoxLayout(object);
    RGObject = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(PrintChoices.size()); ++i) {
        auto* item = new QRadioButton(QString::fromUtf16(PrintChoices[static_cast<std::size_t>(i)].Caption), object);
        item->setObjectName(QStringLiteral("RGObject%1").arg(i));
        RGObject->addButton(item, i);
        objectLayout->addWidget(item);
    }
    layout->addWidget(object);

    auto* buttons = new QHBoxLayout;
    BtnPrinter = MakeButton(this, "BtnPrinter", QStringLiteral("Prop.Impressora"));
    BtnPrinter->setFont(FormFont(8));
    BtnOk = MakeButton(this, "BtnOk", QStringLiteral("&O K"));
    BtnExit = MakeButton(this, "BtnExit", QStringLiteral("&Sair"));
    BtnOk->setDefault(true);
    buttons->addWidget(BtnPrinter);
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnExit);
    layout->addLayout(buttons);

    QObject::connect(RGObject, &QButtonGroup::idClicked, this, [this](int index) { RGObjectClick(index); });
    QObject::connect(TrBar, &QSlider::valueChanged, this, [this](int position) { TrBarChange(position); });
    QObject::connect(CheckKeep, &QCheckBox::clicked, this, [this](bool checked) { CheckBoxClick(checked); });
    QObject::connect(BtnPrinter, &QPushButton::clicked, this, [this] { PrinterSetupClick(); });
    QObject::connect(BtnOk, &QPushButton::clicked, this, [this] { BtnOkClick(); });
    QObject::connect(BtnExit, &QPushButton::clicked, this, &QDialog::reject);
}

int TDprint::ModeOfIndex(int index)
{
    const bool known = index >= 0 && index < static_cast<int>(PrintChoices.size());
    return PrintChoices[static_cast<std::size_t>(known ? index : 0)].Mode;
}

int TDprint::IndexOfMode(int mode)
{
    for (int i = 0; i < static_cast<int>(PrintChoices.size()); ++i)
        if (PrintChoices[static_cast<std::size_t>(i)].Mode == mode)
            return i;
    return 0;
}

QString TDprint::PixelSizeText(QSize size)
{
    return QStringLiteral(" %1 × %2 pixels").arg(size.width()).arg(size.height());
}

void TDprint::FormShow()
{
    const QSignalBlocker quiet(TrBar);
    TrBar->setValue(ProgramSettings.PrintSize);
    LabelPaper->setText(PixelSizeText(platform::CurrentPrinting().pageSize()));
    RGObject->button(IndexOfMode(ProgramSettings.PrintMode))->setChecked(true);
    CheckKeep->setChecked(Options.PrintKeepAspect != 0);
    ShowPrintedSize();
}

void TDprint::ShowPrintedSize()
{
    const QSize page = platform::CurrentPrinting().pageSize();
    const QSize source = PrintSourceSize(GraphScale, ProgramSettings.PrintMode);
    LabelSize->setText(
        PixelSizeText(CalcPrintSize(source, page, ProgramSettings.PrintSize, Options.PrintKeepAspect != 0)));
}

void TDprint::RGObjectClick(int index)
{
    ProgramSettings.PrintMode = ModeOfIndex(index);
    SetPrintKeepAspect(ProgramSettings.PrintMode < PrintColorGraph);
    CheckKeep->setChecked(Options.PrintKeepAspect != 0);
    ShowPrintedSize();
}

void TDprint::TrBarChange(int position)
{
    ProgramSettings.PrintSize = static_cast<std::uint8_t>(position);
    ShowPrintedSize();
}

void TDprint::CheckBoxClick(bool checked)
{
    SetPrintKeepAspect(checked);
    ShowPrintedSize();
}

void TDprint::PrinterSetupClick()
{
    platform::CurrentPrinterSetup().choosePrinter();
    FormShow();
}

void TDprint::BtnOkClick()
{
    // Out of sight, so that a capture of the windows does not show it.
    hide();
    const QString failure = PrintFailureMessage(PrintGraph(GraphScale));
    if (!failure.isEmpty())
        ShowMsgBox(failure, MsgError, MsgOk);
    accept();
}

void TDprint::done(int result)
{
    DprintPos = pos();
    QDialog::done(result);
}

void ShowPrintDialog()
{
    TDprint dialog(Forms.GraphWindow);
    dialog.FormShow();
    dialog.adjustSize();
    dialog.move(DprintPos.value_or(DialogAnchorPos()));
    platform::RunModal(dialog);
}
