#include "windows/GraphAreaForm.h"
#include "windows/ConsoleCommands.h"
#include "windows/ConsoleDocking.h"
#include "windows/GraphMouse.h"
#include "windows/GraphPen.h"

#include "dialogs/Dprint.h"
#include "dialogs/FormLook.h"
#include "dialogs/PermanentForms.h"
#include "model/Colors.h"
#include "model/History.h"
#include "model/MessageBox.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "model/Settings.h"
#include "render/view/RedrawState.h"
#include "render/scene/RedrawParticipants.h"
#include "render/view/Scale.h"
#include "session/Commands.h"
#include "session/PanelLayout.h"
#include "session/PictureExport.h"
#include "session/RowModels.h"
#include "session/UndoPoints.h"
#include "session/ViewHistory.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>

namespace {

constexpr int GraphMargin = 4; // the graph panel's border around the picture
constexpr int MaxGraphHeight = 1200;

QLabel* NewImageLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setScaledContents(false);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* NewPanel(QWidget* parent, const char* name)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromUtf8(name));
    return panel;
}

// Division counts a resize can give.
int ScaledDivisions(int number, long double k)
{
    int scaled = NearestInt(number * k);
    ScaleSubT::ClampDivisions(scaled);
    return scaled;
}

// The range about its centre, widened by k.
std::pair<long double, long double> ScaledRange(const ScaleSubT& axis, long double k)
{
    const long double c = (axis.Low + axis.High) / 2.0L;
    const long double half = (axis.High - axis.Low) / 2.0L * k;
    return {c - half, c + half};
}

// Releases the graph window's key latch whenever a modal window closes: a
// dialog that a shortcut opened took the key's release that would have.
class TModalCloseWatch final : public QObject {
public:
    explicit TModalCloseWatch(TGraphAreaForm& graph)
        : QObject(&graph)
        , graph_(graph)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && watched->isWidgetType()) {
            const auto* window = static_cast<QWidget*>(watched);
            if (window->isWindow() && window->isModal())
                graph_.KeyLatch = false;
        }
        return false;
    }

private:
    TGraphAreaForm& graph_;
};

} // namespace

TGraphImage::TGraphImage(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("GImage"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setAcceptDrops(true);
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

void TGraphImage::contextMenuEvent(QContextMenuEvent* event)
{
    if (Forms.GraphAreaForm)
        Forms.GraphAreaForm->ShowGraphPopup(event->pos(), event->globalPos());
    event->accept();
}

void TGraphImage::mouseMoveEvent(QMouseEvent* event)
{
    if (Forms.GraphAreaForm)
        Forms.GraphAreaForm->ControlPaletteMouseAt(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

TGraphAreaForm::TGraphAreaForm()
    : defaultCaption_(QStringLiteral("KAVIRO"))
{
    setObjectName(QStringLiteral("GraphAreaForm"));
    Forms.GraphAreaForm = this;
    Forms.GraphWindow = this;
    move(x(), 0);
    setFont(FormFont(7));
    FillBackground(*this, FormColor);
    SetDefaultCaption();
    setAcceptDrops(true);

    CreateGraphPanels();
    CreateStatusBar();
    CreatePalette();
    CreateGraphMenu();
    CreateMemoMenu();
    CreateBackgroundMenus();
    CreateStickers();
    SetHintsAndCaptions();
    SetDirtyScale();

    ResizeGraphArea();
    FormResize();
    qApp->installEventFilter(new TModalCloseWatch(*this));
    // The mouse work comes last: it hooks into everything above; the pen
    // after it, to take the mouse first while it is on.
    InstallGraphMouse(*this);
    InstallGraphPen(*this);
}

TGraphAreaForm::~TGraphAreaForm()
{
    RemoveGraphPen(*this);
    RemoveGraphMouse(*this);
    if (Forms.GraphAreaForm == this) {
        Forms.GraphAreaForm = nullptr;
        Forms.GraphWindow = nullptr;
    }
}

void TGraphAreaForm::CreateGraphPanels()
{
    panelAll = NewPanel(this, "panelAll");
    panelYaxis = NewPanel(panelAll, "panelYaxis");
    panelYaxis->resize(20, 100);
    ImgYaxis = NewImageLabel(panelYaxis, "ImgYaxis");
    PanelGraph = NewPanel(panelAll, "PanelGraph");
    FillBackground(*PanelGraph, ColorScheme.MeshColor);
    GImage = new TGraphImage(PanelGraph);
    GImage->move(GraphMargin, GraphMargin);
    MImage = NewImageLabel(PanelGraph, "MImage");
    MImage->hide();
    CoImage = NewImageLabel(PanelGraph, "CoImage");
    CoImage->setFont(QFont(QStringLiteral("Times New Roman")));
    CoImage->resize(CoImage->width(), RowMetrics.RowPitch);
    CoImage->hide();
    labelCoodinates = NewImageLabel(PanelGraph, "labelCoodinates");
    QFont coordinates = labelCoodinates->font();
    coordinates.setPointSize(RowMetrics.RowSize);
    labelCoodinates->setFont(coordinates);
    labelCoodinates->hide();
    panelXAxis = NewPanel(panelAll, "panelXAxis");
    panelXAxis->resize(100, 20);
    imgXaxis = NewImageLabel(panelXAxis, "imgXaxis");
    imgXaxis->move(GraphMargin, 0);
    ImgYaxis->move(0, GraphMargin);
}

void TGraphAreaForm::CreateStatusBar()
{
    SBar = new QStatusBar(this);
    SBar->setObjectName(QStringLiteral("SBar"));
    SBar->setFont(FormFont(8));
    SBar->setSizeGripEnabled(false);
    SBar->setMouseTracking(true);
    SBar->installEventFilter(this);
    SBarPanel0 = new QLabel(SBar);
    SBarPanel1 = new QLabel(SBar);
    SBarPanel0->setObjectName(QStringLiteral("SBarPanel0"));
    SBarPanel1->setObjectName(QStringLiteral("SBarPanel1"));
    SBar->addWidget(SBarPanel0, 1);
    SBar->addWidget(SBarPanel1, 1);
}

bool TGraphAreaForm::eventFilter(QObject* watched, QEvent* event)
{
    NoteClickModifiers(watched, event);
    if (watched == SBar && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter))
        SBarPanel1->setText(QStringLiteral(" , "));
    if (watched == PageControl && event->type() == QEvent::Leave && ProgramSettings.ControlPalette)
        PageControl->hide();
    return QWidget::eventFilter(watched, event);
}

bool TGraphAreaForm::event(QEvent* event)
{
    if (event->type() == QEvent::Show)
        closed_ = false;
    // The hint of the control under the mouse goes into the status bar.
    if (event->type() == QEvent::StatusTip) {
        SBarPanel0->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QWidget::event(event);
}

void TGraphAreaForm::resizeEvent(QResizeEvent*)
{
    const int top = ProgramSettings.ControlPalette ? 0 : PageControl->height();
    const int status = SBar->sizeHint().height();
    PageControl->setGeometry(0, 0, width(), PageControl->height());
    panelAll->setGeometry(0, top, width(), std::max(0, height() - top - status));
    SBar->setGeometry(0, height() - status, width(), status);
    PageControl->raise();
    // A size the window was given by its own layout needs no new graph.
    if (size() == arrangedSize_)
        return;
    FormResize();
    UserMovedOrResized();
}

void TGraphAreaForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TGraphAreaForm::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasUrls())
        return;
    event->acceptProposedAction();
    DropProjectFile(event->mimeData()->urls());
}

void TGraphAreaForm::moveEvent(QMoveEvent*)
{
    UserMovedOrResized();
}

void TGraphAreaForm::UserMovedOrResized()
{
    if (!Resizing && isVisible())
        DockConsole();
}

void TGraphAreaForm::FormResize()
{
    if (Resizing)
        return;
    ScaleT& view = GraphScale;
    if (ProgramSettings.ControlPalette)
        PageControl->hide();
    PushViewHistory();
    tbFreePen->setChecked(false);
    NotifyViewChanged();

    const int w0 = view.XAxis.VHigh;
    const int h0 = view.YAxis.VHigh;
    graphSize_ = QSize(100, 100);
    const int yStrip = panelYaxis->isHidden() ? 0 : panelYaxis->width();
    const int xStrip = panelXAxis->isHidden() ? 0 : panelXAxis->height();
    const int w = ClampAxisPixels(panelAll->width() - yStrip - 2 * GraphMargin);
    const int h = ClampAxisPixels(panelAll->height() - xStrip - 2 * GraphMargin);
    view.XAxis.VHigh = w;
    view.YAxis.VHigh = h;
    ResizeGraphArea();

    if (Options.AreaFixed) {
        SetViewRange(view.Range());
    } else {
        const long double kx = static_cast<long double>(w) / w0;
        const long double ky = static_cast<long double>(h) / h0;
        const auto [xLow, xHigh] = ScaledRange(view.XAxis, kx);
        const auto [yLow, yHigh] = ScaledRange(view.YAxis, ky);
        view.XAxis.Number = ScaledDivisions(view.XAxis.Number, kx);
        view.YAxis.Number = ScaledDivisions(view.YAxis.Number, ky);
        SetViewRange({{xLow, yLow}, {xHigh, yHigh}});
    }
    if (h != h0 && Forms.DataPanel)
        Forms.DataPanel->resize(Forms.DataPanel->width(), height());
}

void TGraphAreaForm::ResizeGraphArea()
{
    const int w = GraphScale.XAxis.VHigh;
    const int h = GraphScale.YAxis.VHigh;
    Resizing = true;
    panelXAxis->resize(w + 2 * GraphMargin, panelXAxis->height());
    PanelGraph->resize(w + 2 * GraphMargin, h + 2 * GraphMargin);
    panelYaxis->resize(panelYaxis->width(), h + 2 * GraphMargin);
    const bool changed = graphSize_ != QSize(w, h);
    if (changed) {
        // Every picture is one pixel larger than the axes' lengths.
        GImage->resize(w + 1, h + 1);
        MImage->resize(w + 1, h + 1);
        MImage->clear();
        PenOverlay.SetSize(w + 1, h + 1);
        ImgYaxis->resize(std::max(1, panelYaxis->width() - 5), h + 1);
        imgXaxis->resize(w + 1, std::max(1, panelXAxis->height() - 5));
    }
    GImage->move(GraphMargin, GraphMargin);
    ArrangePanels();
    if (changed) {
        for (TBitmap& image : GraphScale.GraphImages)
            if (image.Width() != w + 1 || image.Height() != h + 1)
                image.SetSize(w + 1, h + 1);
        graphSize_ = QSize(w, h);
    }
    Resizing = false;
}

void TGraphAreaForm::PlaceStrips()
{
    const ScaleT& view = GraphScale;
    const bool yShown = view.IsYAxisAtBorder();
    const bool xShown = view.IsXAxisAtBorder();
    const bool yLeft = view.XAxis.ValueToPixel(0.0L) <= view.XAxis.VHigh;
    const bool xBelow = view.YAxis.ValueToPixel(0.0L) >= 0;
    const int yWidth = yShown ? panelYaxis->width() : 0;
    const int xHeight = xShown ? panelXAxis->height() : 0;
    const int graphLeft = yShown && yLeft ? yWidth : 0;
    const int graphTop = xShown && !xBelow ? xHeight : 0;
    PanelGraph->move(graphLeft, graphTop);
    panelYaxis->setVisible(yShown);
    panelYaxis->move(yLeft ? 0 : PanelGraph->width(), graphTop);
    panelXAxis->setVisible(xShown);
    panelXAxis->move(graphLeft, xBelow ? graphTop + PanelGraph->height() : 0);
}

void TGraphAreaForm::ArrangePanels()
{
    PlaceStrips();
    const int yWidth = panelYaxis->isHidden() ? 0 : panelYaxis->width();
    const int xHeight = panelXAxis->isHidden() ? 0 : panelXAxis->height();
    const int clientWidth = yWidth + PanelGraph->width();
    const int graphHeight = PanelGraph->height() + xHeight;
    const int top = ProgramSettings.ControlPalette ? 0 : PageControl->height();
    const int status = SBar->sizeHint().height();
    const int clientHeight = top + graphHeight + status;

    const int oldRight = frameGeometry().right();
    const bool widthChanged = clientWidth != width();
    arrangedSize_ = QSize(clientWidth, clientHeight);
    const bool wasResizing = Resizing;
    Resizing = true;
    resize(clientWidth, clientHeight);
    Resizing = wasResizing;
    PageControl->setGeometry(0, 0, clientWidth, PageControl->height());
    panelAll->setGeometry(0, top, clientWidth, graphHeight);
    SBar->setGeometry(0, top + graphHeight, clientWidth, status);
    PageControl->raise();
    JoinSheets(clientWidth >= JoinedSheetsWidth);

    // A data panel docked on the right follows the right edge.
    QWidget* panel = Forms.DataPanel;
    if (widthChanged && panel && panel->x() >= oldRight - 100) {
        const int screenWidth = WorkArea().width();
        const int panelLeft = std::min(frameGeometry().right() + 1, screenWidth - panel->frameGeometry().width() + 1);
        Resizing = true;
        panel->move(panelLeft, panel->y());
        move(std::max(0, panelLeft - frameGeometry().width()), y());
        Resizing = wasResizing;
    }
}

int TGraphAreaForm::PageControlHeight() const
{
    return PageControl->height();
}

int TGraphAreaForm::AvailableGraphHeight(int workAreaHeight) const
{
    // Until the window is shown its frame is not known; the title bar is
    // then the style's.
    const int frame = isVisible() ? frameGeometry().height() - height()
                                  : style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const int palette = ProgramSettings.ControlPalette ? 0 : PageControlHeight();
    const int client = workAreaHeight - frame - palette;
    return std::min(client - SBar->sizeHint().height() - 2 * GraphMargin, MaxGraphHeight);
}

void TGraphAreaForm::SetFileCaption(const QString& fileName)
{
    if (fileName.isEmpty()) {
        SetDefaultCaption();
        return;
    }
    // Only this caption carries the file's name: Qt would append an
    // application display name to the caption of every other window.
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

QImage TGraphAreaForm::CaptureGraphImage()
{
    const QImage area = panelAll->grab().toImage();
    QImage picture(GImage->size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawImage(0, 0, area);
    return picture;
}

QImage TGraphAreaForm::CaptureBothWindows()
{
    const QImage graph = grab().toImage();
    const QImage panel = Forms.DataPanel ? Forms.DataPanel->grab().toImage() : QImage();
    QImage picture(graph.width() + panel.width(), std::max(graph.height(), panel.height()), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawImage(0, 0, graph);
    painter.drawImage(graph.width(), 0, panel);
    return picture;
}

void TGraphAreaForm::UpdateViewButtons()
{
    tbUndo->setEnabled(!BackUpArea.IsAtStart());
    tbRedo->setEnabled(BackUpArea.CanForward());
}

bool TGraphAreaForm::FormCloseQuery()
{
    const bool close = IsNothingToSave() || ShowMsgBox(QStringLiteral("Sair com [OK]"), MsgWarning, MsgOkCancel);
    SaveSettings();
    return close;
}

void TGraphAreaForm::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    closed_ = true;
    if (afterClose_)
        afterClose_();
}

namespace {

bool IsLatchKey(int key)
{
    return key == Qt::Key_C || key == Qt::Key_O || key == Qt::Key_P || key == Qt::Key_S || key == Qt::Key_Y ||
           key == Qt::Key_Z;
}

} // namespace

void TGraphAreaForm::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if ((event->modifiers() & Qt::AltModifier) && IsArrowKey(key) && Forms.DataPanel) {
        Forms.DataPanel->activateWindow();
        Forms.DataPanel->setFocus();
        QKeyEvent copy(event->type(), key, event->modifiers(), event->text());
        QCoreApplication::sendEvent(Forms.DataPanel, &copy);
        return;
    }
    if ((event->modifiers() & Qt::ControlModifier) && IsLatchKey(key)) {
        bool ran = false;
        // A held key's repeats do not run its command again, even once a
        // dialog it opened has released the latch.
        if (!KeyLatch && !event->isAutoRepeat()) {
            // Latched before the command runs: a dialog it opens takes the
            // key's release, and the latch is released as the dialog closes.
            KeyLatch = true;
            ran = RunCtrlShortcut(key);
            if (!ran)
                KeyLatch = false;
        }
        if (ran || KeyLatch) {
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void TGraphAreaForm::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat() && IsLatchKey(event->key()))
        KeyLatch = false;
    QWidget::keyReleaseEvent(event);
}

void TGraphAreaForm::changeEvent(QEvent* event)
{
    // The latch holds only while this window keeps the keyboard: a window
    // taking it (a dialog opened by a shortcut) receives the key's release,
    // and coming back the keys start afresh.
    if (event->type() == QEvent::ActivationChange)
        KeyLatch = false;
    QWidget::changeEvent(event);
}

bool TGraphAreaForm::RunCtrlShortcut(int key)
{
    switch (key) {
    case Qt::Key_Z:
        Undo();
        return true;
    case Qt::Key_Y:
        Redo();
        return true;
    case Qt::Key_S:
        OverwriteClick();
        return true;
    case Qt::Key_O:
        OpenFileClick();
        return true;
    case Qt::Key_P:
        ShowPrintDialog();
        return true;
    case Qt::Key_C:
        CopyGraphToClipboard(CaptureGraph);
        return true;
    default:
        return false;
    }
}
