// The graph window's tool palette: its sheets, their tool bars and buttons,
// and what the buttons do to the view.
#include "windows/GraphAreaForm.h"
#include "windows/ToolIcons.h"

#include "dialogs/CalcForm.h"
#include "dialogs/DetailForm.h"
#include "dialogs/PermanentForms.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "render/view/RedrawState.h"
#include "render/scene/RedrawParticipants.h"
#include "render/view/Scale.h"
#include "session/EditScope.h"
#include "session/PanelLayout.h"
#include "session/ViewHistory.h"

#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int ButtonWidth = 23;
constexpr int ButtonHeight = 22;
constexpr int SheetGap = 18;     // between the area tools and the joined scale tools
constexpr int ToolSheetGap = 24; // between the background tools and the joined tools

// A tool button showing its picture; the hint is set with the captions.
QToolButton* NewButton(QWidget* bar, const char* name, int slot, bool checkable = false)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromUtf8(name));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(true);
    button->setCheckable(checkable);
    button->setGeometry(slot * ButtonWidth, 0, ButtonWidth, ButtonHeight);
    return button;
}

QToolButton* NewButton(QWidget* bar, const char* name, ToolIcon icon, int slot, bool checkable = false)
{
    QToolButton* button = NewButton(bar, name, slot, checkable);
    button->setIcon(ToolIconFor(icon));
    return button;
}

QWidget* NewToolBar(QWidget* sheet, const char* name, int buttons)
{
    auto* bar = new QWidget(sheet);
    bar->setObjectName(QString::fromUtf8(name));
    bar->setGeometry(2, 2, buttons * ButtonWidth, ButtonHeight);
    return bar;
}

QWidget* NewSheet(QTabWidget* pages, const char* name, const QString& caption)
{
    auto* sheet = new QWidget;
    sheet->setObjectName(QString::fromUtf8(name));
    pages->addTab(sheet, caption);
    return sheet;
}

// The display level of an axis: how many of its marks are shown.
int DisplayLevel(const ScaleSubT& axis)
{
    if (axis.ScaleVisible)
        return 4;
    if (axis.ValueVisible)
        return 3;
    if (axis.GuideVisible)
        return 2;
    return axis.AxesVisible ? 1 : 0;
}

void SetDisplayLevel(ScaleSubT& axis, int level)
{
    axis.ScaleVisible = level >= 4;
    axis.ValueVisible = level >= 3;
    axis.GuideVisible = level >= 2;
    axis.AxesVisible = level >= 1;
}

constexpr std::array<int, 4> LabelSizes{12, 18, 24, 32};

// The scale and its ticks are drawn again when the action ends.
void MarkScaleChanged()
{
    SetDirtyScale();
    SetDirtyView();
}

} // namespace

void TGraphAreaForm::CreatePalette()
{
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setDocumentMode(true);
    PageControl->setUsesScrollButtons(false);
    PageControl->setContextMenuPolicy(Qt::CustomContextMenu);
    PageControl->installEventFilter(this);
    AreaSheet = NewSheet(PageControl, "AreaSheet", QStringLiteral("Area"));
    TabSheet2 = NewSheet(PageControl, "TabSheet2", QStringLiteral("Escala"));
    TabSheet3 = NewSheet(PageControl, "TabSheet3", QStringLiteral("Fundo"));
    TabSheet1 = NewSheet(PageControl, "TabSheet1", QStringLiteral("Ferramenta"));
    // Kept for the tool bars' layout; it has no tab of its own.
    toolbarsheet = NewSheet(PageControl, "toolbarsheet", QString());
    PageControl->setTabVisible(PageControl->indexOf(toolbarsheet), false);
    CreatePaletteButtons();
    PageControl->setFixedHeight(PageControl->tabBar()->sizeHint().height() + ButtonHeight + 6);
    PageControl->setCurrentWidget(AreaSheet);
    QObject::connect(PageControl, &QTabWidget::currentChanged, this, [this] { PageChanged(); });

    pmHideAutoCtrlPalette = new QMenu(this);
    pmHideAutoCtrlPalette->setObjectName(QStringLiteral("pmHideAutoCtrlPalette"));
    MnAutoHidePalette = pmHideAutoCtrlPalette->addAction(QString());
    MnAlwaysShowPalette = pmHideAutoCtrlPalette->addAction(QString());
    for (QAction* item : {MnAutoHidePalette, MnAlwaysShowPalette})
        item->setCheckable(true);
    QObject::connect(MnAutoHidePalette, &QAction::triggered, this, [this] { SetControlPalette(true); });
    QObject::connect(MnAlwaysShowPalette, &QAction::triggered, this, [this] { SetControlPalette(false); });
    QObject::connect(pmHideAutoCtrlPalette, &QMenu::aboutToShow, this, [this] {
        MnAutoHidePalette->setChecked(ProgramSettings.ControlPalette != 0);
        MnAlwaysShowPalette->setChecked(ProgramSettings.ControlPalette == 0);
    });
    QObject::connect(PageControl, &QWidget::customContextMenuRequested, this,
                     [this](QPoint pos) { pmHideAutoCtrlPalette->popup(PageControl->mapToGlobal(pos)); });
}

void TGraphAreaForm::CreatePaletteButtons()
{
    panelarea = NewToolBar(AreaSheet, "panelarea", 7);
    sbtnzoom = NewButton(panelarea, "sbtnzoom", ToolIcon::ZoomIn, 0, true);
    sbtnwide = NewButton(panelarea, "sbtnwide", ToolIcon::ZoomOut, 1, true);
    sbtnmove = NewButton(panelarea, "sbtnmove", ToolIcon::Move, 2, true);
    sbSquare = NewButton(panelarea, "sbSquare", ToolIcon::EqualScale, 3);
    tbUndo = NewButton(panelarea, "tbUndo", ToolIcon::Undo, 4);
    tbRedo = NewButton(panelarea, "tbRedo", ToolIcon::Redo, 5);
    btnOption = NewButton(panelarea, "btnOption", ToolIcon::Options, 6);
    // At most one area tool is down, and all may be up (the pointer).
    for (QToolButton* tool : {sbtnzoom, sbtnwide, sbtnmove})
        QObject::connect(tool, &QToolButton::toggled, this, [this, tool](bool down) {
            if (!down)
                return;
            for (QToolButton* other : {sbtnzoom, sbtnwide, sbtnmove})
                if (other != tool)
                    other->setChecked(false);
        });

    panelscale = NewToolBar(TabSheet2, "panelscale", 7);
    tbAxisOn = NewButton(panelscale, "tbAxisOn", ToolIcon::Axes, 0, true);
    btnSon = NewButton(panelscale, "btnSon", ToolIcon::Ticks, 1);
    sbLsize = NewButton(panelscale, "sbLsize", ToolIcon::LabelSize, 2);
    btnXn = NewButton(panelscale, "btnXn", ToolIcon::XNarrower, 3);
    btnXW = NewButton(panelscale, "btnXW", ToolIcon::XWider, 4);
    btnYn = NewButton(panelscale, "btnYn", ToolIcon::YNarrower, 5);
    btnYW = NewButton(panelscale, "btnYW", ToolIcon::YWider, 6);

    TbAimage = NewToolBar(TabSheet3, "TbAimage", 3);
    SbbImgepast = NewButton(TbAimage, "SbbImgepast", 0);
    sbStretch = NewButton(TbAimage, "sbStretch", 1, true);
    sbbImageOff = NewButton(TbAimage, "sbbImageOff", 2);

    panelTool = NewToolBar(TabSheet1, "panelTool", 9);
    TBGraph = NewToolBar(panelTool, "TBGraph", 6);
    TBGraph->move(0, 0);
    sbShowPosition = NewButton(TBGraph, "sbShowPosition", ToolIcon::Position, 0, true);
    sbShowEquation = NewButton(TBGraph, "sbShowEquation", ToolIcon::Equation, 1, true);
    sbYvalue = NewButton(TBGraph, "sbYvalue", ToolIcon::FunctionValue, 2);
    sbIvalue = NewButton(TBGraph, "sbIvalue", ToolIcon::Integral, 3);
    sbcalc = NewButton(TBGraph, "sbcalc", ToolIcon::Calculator, 4);
    tbFreePen = NewButton(TBGraph, "tbFreePen", ToolIcon::Pen, 5, true);
    panelFreePen = NewToolBar(panelTool, "panelFreePen", 3);
    panelFreePen->move(6 * ButtonWidth, 0);
    sbFPColor = NewButton(panelFreePen, "sbFPColor", ToolIcon::PenColor, 0);
    SbFPWidth = NewButton(panelFreePen, "SbFPWidth", ToolIcon::PenWidth, 1);
    sbFEraser = NewButton(panelFreePen, "sbFEraser", ToolIcon::Eraser, 2);
    panelFreePen->hide();
    toolWindows_ = std::make_unique<TToolWindowHost>(sbYvalue, sbIvalue);

    tbUndo->setEnabled(false);
    tbRedo->setEnabled(false);
    for (QToolButton* button : findChildren<QToolButton*>())
        button->installEventFilter(this);

    QObject::connect(sbSquare, &QToolButton::clicked, this, [this] { SquareClick(); });
    QObject::connect(tbUndo, &QToolButton::clicked, this, [] { UndoView(); });
    QObject::connect(tbRedo, &QToolButton::clicked, this, [] { RedoView(); });
    QObject::connect(btnOption, &QToolButton::clicked, this, [] { ShowOptions(0); });
    QObject::connect(tbAxisOn, &QToolButton::clicked, this, [](bool down) {
        const TEditScope action;
        GraphScale.AxisOn = down ? 1 : 0;
        MarkScaleChanged();
    });
    QObject::connect(btnSon, &QToolButton::clicked, this, [this] { DisplayLevelClick(TakeClickModifiers()); });
    QObject::connect(sbLsize, &QToolButton::clicked, this, [this] { LabelSizeClick(TakeClickModifiers()); });
    QObject::connect(btnXn, &QToolButton::clicked, this, [this] { DivisionsClick(false, true, TakeClickModifiers()); });
    QObject::connect(btnXW, &QToolButton::clicked, this, [this] { DivisionsClick(false, false, TakeClickModifiers()); });
    QObject::connect(btnYn, &QToolButton::clicked, this, [this] { DivisionsClick(true, true, TakeClickModifiers()); });
    QObject::connect(btnYW, &QToolButton::clicked, this, [this] { DivisionsClick(true, false, TakeClickModifiers()); });
    QObject::connect(sbcalc, &QToolButton::clicked, this, [this] { CalcClick(); });
    QObject::connect(sbShowPosition, &QToolButton::toggled, this,
                     [](bool down) { PanelLayout.ShowPosition = down ? 1 : 0; });
    QObject::connect(sbShowEquation, &QToolButton::toggled, this,
                     [](bool down) { PanelLayout.ShowEquation = down ? 1 : 0; });
}

Qt::KeyboardModifiers TGraphAreaForm::TakeClickModifiers()
{
    const Qt::KeyboardModifiers modifiers = clickModifiers_ | QGuiApplication::keyboardModifiers();
    clickModifiers_ = {};
    return modifiers;
}

void TGraphAreaForm::NoteClickModifiers(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && qobject_cast<QToolButton*>(watched))
        clickModifiers_ = static_cast<QMouseEvent*>(event)->modifiers();
}

void TGraphAreaForm::JoinSheets(bool joined)
{
    if (joined == sheetsJoined_)
        return;
    sheetsJoined_ = joined;
    QWidget* current = PageControl->currentWidget();
    if (joined) {
        panelscale->setParent(AreaSheet);
        panelscale->move(btnOption->geometry().right() + 1 + panelarea->x() + SheetGap, panelarea->y());
        panelTool->setParent(TabSheet3);
        panelTool->move(TbAimage->width() + ToolSheetGap, TbAimage->y());
    } else {
        panelscale->setParent(TabSheet2);
        panelscale->move(panelarea->pos());
        panelTool->setParent(TabSheet1);
        panelTool->move(TbAimage->pos());
    }
    panelscale->show();
    panelTool->show();
    PageControl->setTabVisible(PageControl->indexOf(TabSheet2), !joined);
    PageControl->setTabVisible(PageControl->indexOf(TabSheet1), !joined);
    PageControl->setTabText(PageControl->indexOf(AreaSheet),
                            joined ? QStringLiteral("  Area / Escala  ") : QStringLiteral("Area"));
    PageControl->setTabText(PageControl->indexOf(TabSheet3),
                            joined ? QStringLiteral("  Fundo / Ferramenta  ") : QStringLiteral("Fundo"));
    // A hidden sheet passes its turn to its host.
    if (joined && current == TabSheet2)
        PageControl->setCurrentWidget(AreaSheet);
    else if (joined && current == TabSheet1)
        PageControl->setCurrentWidget(TabSheet3);
}

void TGraphAreaForm::PageChanged()
{
    tbFreePen->setChecked(false);
    // The zoom and move tools are given up; the click tells the mouse work.
    for (QToolButton* tool : {sbtnzoom, sbtnwide, sbtnmove})
        if (tool->isChecked())
            tool->click();
}

void TGraphAreaForm::ResetTools()
{
    PageControl->setCurrentWidget(AreaSheet);
    PageChanged();
    SetDefaultCaption();
    tbAxisOn->setChecked(GraphScale.AxisOn != 0);
    tbFreePen->setChecked(false);
    NotifyViewChanged();
    sbShowPosition->setChecked(false);
    sbShowEquation->setChecked(false);
    SetBackgroundSource(BackgroundFromFile);
    // The stretch button on its width item.
    SetButtonImage(sbStretch, 10);
}

void TGraphAreaForm::SquareClick()
{
    ScaleT& view = GraphScale;
    if (view.IsEqualScale())
        return;
    PushViewHistory();
    view.SetAspect(1.0L);
    SetViewRange(view.Range());
}

void TGraphAreaForm::DisplayLevelClick(Qt::KeyboardModifiers modifiers)
{
    const TEditScope action;
    const int step = (modifiers & Qt::ShiftModifier) ? 4 : 1;
    const int level = (DisplayLevel(GraphScale.XAxis) + step) % 5;
    SetDisplayLevel(GraphScale.XAxis, level);
    SetDisplayLevel(GraphScale.YAxis, level);
    MarkScaleChanged();
}

void TGraphAreaForm::LabelSizeClick(Qt::KeyboardModifiers modifiers)
{
    const TEditScope action;
    const int size = ProgramState.FontSize;
    int index = 0;
    if (modifiers & Qt::ShiftModifier) {
        const auto smaller = std::find_if(LabelSizes.rbegin(), LabelSizes.rend(), [size](int s) { return s < size; });
        index = smaller == LabelSizes.rend() ? int(LabelSizes.size()) - 1
                                             : int(LabelSizes.rend() - smaller) - 1;
    } else {
        const auto larger = std::find_if(LabelSizes.begin(), LabelSizes.end(), [size](int s) { return s > size; });
        index = larger == LabelSizes.end() ? 0 : int(larger - LabelSizes.begin());
    }
    ProgramState.FontSize = LabelSizes[index];
    GraphScale.AxisWidth = static_cast<std::uint8_t>(std::max(1, index));
    MarkScaleChanged();
}

void TGraphAreaForm::DivisionsClick(bool yAxis, bool more, Qt::KeyboardModifiers modifiers)
{
    const TEditScope action;
    ScaleT& view = GraphScale;
    ScaleSubT& axis = yAxis ? view.YAxis : view.XAxis;
    if (modifiers & Qt::ControlModifier) {
        if (more) {
            axis.LInterval = std::max(1, axis.LInterval - 1);
        } else {
            // Labels at least half the graph apart would leave one or none.
            const long double tickPixels = axis.CalcTickStep() * axis.PixelsPerUnit;
            const long double bound = tickPixels > 0.0L ? (axis.VHigh / 2) / tickPixels : 10.0L;
            const int most = static_cast<int>(std::min(10.0L, std::floor(bound)));
            axis.LInterval = std::max(1, std::min(axis.LInterval + 1, most));
        }
    } else if (yAxis && Options.AxisType != 0) {
        if (more)
            view.StepUp();
        else
            view.StepDown();
    } else if (more) {
        axis.IncreaseDivisions();
    } else {
        axis.DecreaseDivisions();
    }
    MarkScaleChanged();
}

void TGraphAreaForm::CalcClick()
{
    QWidget* calc = Forms.CalcForm;
    if (!calc)
        return;
    if (calc->isHidden())
        calc->show();
    else
        calc->close();
}

void TGraphAreaForm::SetControlPalette(bool autoHide)
{
    ProgramSettings.ControlPalette = autoHide ? 1 : 0;
    PageControl->setVisible(!autoHide);
    FormResize();
    ArrangePanels();
}

void TGraphAreaForm::ControlPaletteMouseAt(QPoint graphPixel)
{
    LastMousePixel = graphPixel;
    if (!ProgramSettings.ControlPalette)
        return;
    const bool nearTop = graphPixel.y() < 10;
    PageControl->setVisible(nearTop);
    if (nearTop)
        PageControl->raise();
}
