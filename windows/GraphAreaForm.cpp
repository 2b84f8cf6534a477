#include "windows/GraphAreaForm.h"
#include "windows/GraphMouse.h"

#include "dialogs/PermanentForms.h"
#include "model/Colors.h"
#include "model/History.h"
#include "model/MessageBox.h"
#include "model/Settings.h"
#include "render/gfx/ColorConvert.h"
#include "render/view/Scale.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <algorithm>

namespace {

constexpr int GraphMargin = 4; // the graph panel's border around the picture
constexpr int MaxGraphHeight = 1200;
constexpr TColor FormColor = 0xC0C0C0;

void FillBackground(QWidget* widget, TColor color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFont FormFont(int pointSize)
{
    QFont font(QString::fromUtf16(FormFontName));
    font.setPointSize(pointSize);
    return font;
}

} // namespace

TGraphImage::TGraphImage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("GImage"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGraphImage::paintEvent(QPaintEvent*)
{
    {
        QPainter painter(this);
        painter.drawImage(0, 0, GraphScale.GraphImages[0].Image());
    }
    if (Forms.GraphAreaForm && Forms.GraphAreaForm->afterGraphPaint_)
        Forms.GraphAreaForm->afterGraphPaint_();
}

TGraphAreaForm::TGraphAreaForm()
    : defaultCaption_(QStringLiteral("KAVIRO"))
{
    setObjectName(QStringLiteral("GraphAreaForm"));
    Forms.GraphAreaForm = this;
    Forms.GraphWindow = this;
    move(x(), 0);
    setFont(FormFont(7));
    FillBackground(this, FormColor);
    SetDefaultCaption();

    panelAll = new QWidget(this);
    panelAll->setObjectName(QStringLiteral("panelAll"));
    PanelGraph = new QWidget(panelAll);
    PanelGraph->setObjectName(QStringLiteral("PanelGraph"));
    FillBackground(PanelGraph, ColorScheme.MeshColor);
    GImage = new TGraphImage(PanelGraph);
    GImage->move(GraphMargin, GraphMargin);

    SBar = new QStatusBar(this);
    SBar->setObjectName(QStringLiteral("SBar"));
    SBar->setFont(FormFont(8));
    SBar->setSizeGripEnabled(false);
    SBarPanel0 = new QLabel(SBar);
    SBarPanel1 = new QLabel(SBar);
    SBar->addWidget(SBarPanel0, 1);
    SBar->addWidget(SBarPanel1, 1);

    ResizeGraphArea();
    InstallGraphMouse(*this);
}

TGraphAreaForm::~TGraphAreaForm()
{
    if (Forms.GraphAreaForm == this) {
        Forms.GraphAreaForm = nullptr;
        Forms.GraphWindow = nullptr;
    }
}

void TGraphAreaForm::ResizeGraphArea()
{
    const int w = GraphScale.XAxis.VHigh;
    const int h = GraphScale.YAxis.VHigh;
    PanelGraph->resize(w + 2 * GraphMargin, h + 2 * GraphMargin);
    // Every picture is one pixel larger than the axes' lengths.
    GImage->resize(w + 1, h + 1);
    if (graphSize_ != QSize(w, h)) {
        for (TBitmap& image : GraphScale.GraphImages)
            image.SetSize(w + 1, h + 1);
        graphSize_ = QSize(w, h);
    }
    ArrangePanels();
}

void TGraphAreaForm::ArrangePanels()
{
    const QSize graph = PanelGraph->size();
    panelAll->setGeometry(0, 0, graph.width(), graph.height());
    const int statusHeight = SBar->sizeHint().height();
    const int palette = PageControlHeight();
    SBar->setGeometry(0, graph.height() + palette, graph.width(), statusHeight);
    resize(graph.width(), graph.height() + palette + statusHeight);
}

int TGraphAreaForm::AvailableGraphHeight(int workAreaHeight) const
{
    // Until the window is shown its frame is not known; the title bar is
    // then the style's.
    const int frame = isVisible() ? frameGeometry().height() - height()
                                  : style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int client = workAreaHeight - frame;
    return std::min(client - SBar->sizeHint().height() - 2 * GraphMargin, MaxGraphHeight);
}

void TGraphAreaForm::SetFileCaption(const QString& fileName)
{
    if (fileName.isEmpty()) {
        SetDefaultCaption();
        return;
    }
    setWindowTitle(QStringLiteral("KAVIRO : ") + QFileInfo(fileName).fileName());
}

void TGraphAreaForm::SetDefaultCaption()
{
    setWindowTitle(defaultCaption_);
}

void TGraphAreaForm::RepaintGraph()
{
    GImage->update();
}

void TGraphAreaForm::closeEvent(QCloseEvent* event)
{
    const bool close = IsNothingToSave() || ShowMsgBox(QStringLiteral("Sair com [OK]"), MsgWarning, MsgOkCancel);
    SaveSettings();
    if (!close) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::quit();
}
