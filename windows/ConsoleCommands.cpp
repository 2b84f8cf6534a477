#include "windows/ConsoleCommands.h"

#include "dialogs/CalcForm.h"
#include "dialogs/DetailForm.h"
#include "dialogs/FmSetColor.h"
#include "dialogs/HintSetting.h"
#include "dialogs/PermanentForms.h"
#include "model/FileAssociation.h"
#include "model/History.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "notes/DocForm.h"
#include "platform/InputState.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"
#include "session/EditScope.h"
#include "session/OptionsStore.h"
#include "session/PanelLayout.h"
#include "session/Presentation.h"
#include "session/ProjectHost.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"
#include "session/UndoPoints.h"
#include "windows/ConsoleDocking.h"
#include "windows/ConsoleMenus.h"
#include "windows/ConsolePictures.h"
#include "windows/ConsoleScripts.h"
#include "windows/GraphAreaForm.h"
#include "windows/GraphMouse.h"
#include "windows/MainConsole.h"
#include "windows/WindowHosts.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

namespace {

// Window alpha of "Semi-Transparência", out of 255.
constexpr double TransparentOpacity = 120.0 / 255.0;

// The panel switches of "Mostrar Área" in panel order (TPanelIndex 1..8).
constexpr const char* PanelSwitches[PanelCount] = {"Nyfx", "Ncfn", "Ncrv", "NPnt", "Nprm", "NUsr", "NMem", "NSeg"};

TRowItem RowItemOf(TConsoleRowKind kind)
{
    switch (kind) {
    case TConsoleRowKind::Function:
        return TRowItem::Function;
    case TConsoleRowKind::Relation:
        return TRowItem::Relation;
    case TConsoleRowKind::Object:
        return TRowItem::Object;
    case TConsoleRowKind::Param:
        return TRowItem::Param;
    case TConsoleRowKind::UserFunction:
        return TRowItem::UserFunction;
    case TConsoleRowKind::Figure:
    case TConsoleRowKind::Memo:
        break;
    }
    return TRowItem::Figure;
}

// What "New" asks of the windows.
class TWindowCommandHost final : public TCommandHost {
public:
    explicit TWindowCommandHost(TMainConsole& console)
        : console_(console)
    {
    }
    void CloseDocumentWindows() override
    {
        if (Forms.CalcForm)
            Forms.CalcForm->ClearTargets();
        CloseDocForm();
    }
    void CloseCalculator() override
    {
        if (Forms.CalcForm)
            Forms.CalcForm->hide();
    }
    void ResetTools() override
    {
        if (Forms.GraphAreaForm)
            Forms.GraphAreaForm->ResetTools();
        SetConnectPoints(false);
    }
    void ArrangeWindowsAtTop() override
    {
        const int top = WorkArea().top();
        if (TGraphAreaForm* graph = Forms.GraphAreaForm) {
            MoveWindowFrame(*graph, {graph->x(), top});
            console_.resize(TMainConsole::StandardWidth(), graph->height());
        }
        MoveWindowFrame(console_, {console_.x(), top});
        if (QToolButton* trace = FindNamed<QToolButton>(console_, "SBAimg"))
            trace->setChecked(Options.CanAImg != 0);
    }
    void StopPictureSeries() override { ShowPictureSeries(console_); }

private:
    TMainConsole& console_;
};

// The commands' state and their event filter: drops on both main windows,
// the data panel's close, the hints and where they are shown.
class TConsoleCommands final : public QObject {
public:
    explicit TConsoleCommands(TMainConsole& console);
    ~TConsoleCommands() override;

    TMainConsole& Console() { return console_; }
    void SetConnectPoints(bool on);
    // The three switches of the figure tool show its state.
    void ShowConnectPoints(bool on);
    void UpdateUndoControls(bool canUndo, bool canRedo);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectFileMenu();
    void ConnectEditMenu();
    void ConnectShowMenu();
    void ConnectHelpMenu();
    void ConnectToolBar();
    void ConnectRowMenu();
    void ConnectTraceButtons();
    void On(const char* name, std::function<void()> command);
    void OnButton(const char* name, std::function<void()> command);

    void OpenRowMenu(TConsoleRowKind kind, int slot, QPoint globalPos);
    void EditRow();
    void ShowMenuOpening();
    void SetPanelVisible(int panel, bool visible);
    bool OwnsWindowOf(QObject* watched) const;
    bool HandleDrag(QEvent* event);
    void ShowHint(const QString& tip);
    bool FormKeyDown(const QKeyEvent& key);

    TMainConsole& console_;
    TConsoleMenus menus_;
    TWindowCommandHost host_;
    ScopedCommandHost useHost_{host_};
    TRowItem rowKind_ = TRowItem::Function;
    int rowSlot_ = 0;
    bool connecting_ = false; // the figure tool is being switched
};

TConsoleCommands* Commands = nullptr;

TConsoleCommands::TConsoleCommands(TMainConsole& console)
    : QObject(&console)
    , console_(console)
    , menus_(BuildConsoleMenus(console))
    , host_(console)
{
    Commands = this;
    ConnectFileMenu();
    ConnectEditMenu();
    ConnectShowMenu();
    ConnectHelpMenu();
    ConnectToolBar();
    ConnectRowMenu();
    ConnectTraceButtons();
    ConnectPictureCommands(console, menus_);
    ConnectScriptCommands(console, menus_);
    console.setAcceptDrops(true);
    if (Forms.GraphAreaForm)
        Forms.GraphAreaForm->setAcceptDrops(true);
    qApp->installEventFilter(this);
    SetHintsShown(HintsShown(), {&console, Forms.GraphWindow, Forms.FmSetColor});
    ApplyPresentationSizes(console.logicalDpiX());
    UpdateUndoControls(!BackUp.IsAtStart(), BackUp.CanRedo());
}

TConsoleCommands::~TConsoleCommands()
{
    if (Commands == this)
        Commands = nullptr;
}

void TConsoleCommands::On(const char* name, std::function<void()> command)
{
    if (QAction* action = FindNamed<QAction>(console_, name))
        connect(action, &QAction::triggered, this, [command = std::move(command)] { command(); });
}

void TConsoleCommands::OnButton(const char* name, std::function<void()> command)
{
    if (QToolButton* button = FindNamed<QToolButton>(console_, name))
        connect(button, &QToolButton::clicked, this, [command = std::move(command)] { command(); });
}

void TConsoleCommands::ConnectFileMenu()
{
    On("Init1", [] { Init1Click(); });
    On("OpenFile", [] { OpenFileClick(); });
    On("OpenSample", [] { OpenSampleClick(); });
    // Both encodings of the designer's menu write UTF-16.
    On("N671ShiftJis1", [] { NewWriteClick(); });
    On("N672Unicode1", [] { NewWriteClick(); });
    On("overwrite", [] { OverwriteClick(); });
    On("Close1", [] {
        if (Forms.GraphAreaForm)
            Forms.GraphAreaForm->close();
    });
    FindNamed<QAction>(console_, "OpenFile")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FindNamed<QAction>(console_, "overwrite")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
}

void TConsoleCommands::ConnectEditMenu()
{
    On("menuUndo", [] { Undo(); });
    On("menuRedo", [] { Redo(); });
    FindNamed<QAction>(console_, "menuUndo")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    FindNamed<QAction>(console_, "menuRedo")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    if (QAction* connectPoints = FindNamed<QAction>(console_, "menuSegment"))
        connect(connectPoints, &QAction::triggered, this, [this](bool on) { SetConnectPoints(on); });
    On("nEditMemo", [] { ShowDocForm(); });
    On("nAppendMemo", [] { ShowDocFormForAppend(); });
    On("menuoption", [] { ShowOptions(1); });
    On("SetInit", [] { DeleteOptions(); });
    On("SetDefault", [] { SaveOptions(); });
    On("SetAssociate", [] { SetAssociateAsked(); });
    On("nrelease", [] { UnregisterFileAssociation(); });
    On("nClrAimg", [] { ClearAllTraces(); });
    On("InitPrm", [] {
        QApplication::beep();
        ResetParamsAsked();
    });
    connect(menus_.Option1, &QMenu::aboutToShow, this, [this] {
        FindNamed<QAction>(console_, "menuSegment")->setChecked(AreaMode() == 4);
        UpdateUndoControls(!BackUp.IsAtStart(), BackUp.CanRedo());
    });
}

void TConsoleCommands::ConnectShowMenu()
{
    // The switches flip what is shown, whatever their check mark showed.
    On("Ntool", [this] { menus_.ToolBar->setVisible(!menus_.ToolBar->isVisible()); });
    for (int i = 0; i < PanelCount; ++i)
        On(PanelSwitches[i], [this, i] { SetPanelVisible(i + 1, PanelLayout.Panels[i + 1].Visible == 0); });
    for (int tag = 0; tag < ShowDataTagCount; ++tag) {
        const QByteArray name = "NShowData" + QByteArray::number(tag);
        On(name.constData(), [tag] {
            ShowAllRows(tag);
            CurrentProjectHost().RefreshRows();
        });
    }
    if (QAction* hints = FindNamed<QAction>(console_, "NShowHint"))
        connect(hints, &QAction::triggered, this, [this](bool on) {
            SetHintsShown(on, {&console_, Forms.GraphWindow, Forms.FmSetColor});
        });
    On("Npresentation", [] { NpresentationClick(); });
    if (QAction* transparent = FindNamed<QAction>(console_, "nTransparent"))
        connect(transparent, &QAction::triggered, this,
                [this](bool on) { console_.setWindowOpacity(on ? TransparentOpacity : 1.0); });
    connect(menus_.Show1, &QMenu::aboutToShow, this, [this] { ShowMenuOpening(); });
}

void TConsoleCommands::ShowMenuOpening()
{
    FindNamed<QAction>(console_, "Ntool")->setChecked(menus_.ToolBar->isVisible());
    for (int i = 0; i < PanelCount; ++i)
        FindNamed<QAction>(console_, PanelSwitches[i])->setChecked(PanelLayout.Panels[i + 1].Visible != 0);
    FindNamed<QAction>(console_, "NShowHint")->setChecked(HintsShown());
    FindNamed<QAction>(console_, "Npresentation")->setChecked(ProgramState.PresentationMode != 0);
    // Window transparency is offered only to who looks for it.
    QAction* transparent = FindNamed<QAction>(console_, "nTransparent");
    transparent->setVisible(platform::IsCtrlDown());
    transparent->setChecked(console_.windowOpacity() < 1.0);
}

void TConsoleCommands::ConnectHelpMenu()
{
    On("PDF1", [] { ShowHelpFile(PdfHelpFile); });
    On("HTML1", [] { ShowHelpFile(HtmlHelpFile); });
    connect(menus_.help, &QMenu::aboutToShow, this, [this] {
        FindNamed<QAction>(console_, "HTML1")->setVisible(HelpFileExists(HtmlHelpFile));
        FindNamed<QAction>(console_, "PDF1")->setEnabled(HelpFileExists(PdfHelpFile));
    });
}

void TConsoleCommands::ConnectToolBar()
{
    OnButton("sbOpen", [] { OpenFileClick(); });
    OnButton("sbSave", [] { OverwriteClick(); });
    OnButton("sbUndo", [] { Undo(); });
    OnButton("sbRedo", [] { Redo(); });
    OnButton("sbCalc", [] {
        if (TCalcForm* calc = Forms.CalcForm; calc && calc->isVisible())
            calc->close();
        else if (calc)
            calc->show();
    });
    if (QToolButton* segment = console_.sbsegment) {
        segment->setToolTip(QStringLiteral("Conectar Pontos"));
        segment->setStatusTip(segment->toolTip());
        connect(segment, &QToolButton::toggled, this, [this](bool on) { SetConnectPoints(on); });
    }
    if (TGraphAreaForm* graph = Forms.GraphAreaForm; graph && graph->MnConnect) {
        connect(graph->MnConnect, &QAction::triggered, this, [this](bool on) { SetConnectPoints(on); });
        // Another area tool chosen on the graph puts the figure tool away.
        for (QToolButton* tool : {graph->sbtnzoom, graph->sbtnwide, graph->sbtnmove})
            if (tool)
                connect(tool, &QToolButton::clicked, this, [this] {
                    if (AreaMode() != 4)
                        ShowConnectPoints(false);
                });
    }
}

void TConsoleCommands::ConnectTraceButtons()
{
    OnButton("BtnClrAImage", [] { ClearAllTraces(); });
    OnButton("BtnToAImage", [] { DrawChangedObjects(GraphScale, GraphScale.GraphImages); });
    if (QToolButton* trace = FindNamed<QToolButton>(console_, "SBAimg")) {
        trace->setCheckable(true);
        trace->setChecked(Options.CanAImg != 0);
        connect(trace, &QToolButton::toggled, this, [](bool on) { SetTracesRecorded(on); });
    }
}

void TConsoleCommands::ConnectRowMenu()
{
    console_.RowMenuRequested = [this](TConsoleRowKind kind, int slot, QPoint globalPos) {
        OpenRowMenu(kind, slot, globalPos);
    };
    On("nedit", [this] { EditRow(); });
    On("nErase", [this] { EraseRowItem(rowKind_, rowSlot_); });
    On("nClear", [this] { ClearRowTraces(rowKind_, rowSlot_); });
    On("nHideData", [this] {
        HideRow(rowKind_, rowSlot_);
        CurrentProjectHost().RefreshRows();
    });
}

void TConsoleCommands::OpenRowMenu(TConsoleRowKind kind, int slot, QPoint globalPos)
{
    if (kind == TConsoleRowKind::Memo)
        return;
    rowKind_ = RowItemOf(kind);
    rowSlot_ = slot;
    const TRowMenuItems items = RowMenuItems(rowKind_);
    FindNamed<QAction>(console_, "nedit")->setVisible(items.Edit);
    FindNamed<QAction>(console_, "nErase")->setVisible(items.Erase);
    FindNamed<QAction>(console_, "nClear")->setVisible(items.ClearTraces);
    FindNamed<QAction>(console_, "nHideData")->setVisible(items.Hide);
    menus_.PmData->popup(globalPos);
}

void TConsoleCommands::EditRow()
{
    static constexpr struct {
        TRowItem Item;
        int Panel;
    } PanelOfItem[] = {
        {TRowItem::Function, PanelFunctions},         {TRowItem::Relation, PanelRelations},
        {TRowItem::Object, PanelPoints},              {TRowItem::UserFunction, PanelUserFunctions},
        {TRowItem::Figure, PanelFigures},
    };
    for (const auto& entry : PanelOfItem)
        if (entry.Item == rowKind_)
            console_.RowClicked(entry.Panel, rowSlot_);
}

void TConsoleCommands::SetPanelVisible(int panel, bool visible)
{
    PanelLayout.Panels[panel].Visible = visible ? 1 : 0;
    if (QWidget* widget = console_.Panels[static_cast<std::size_t>(panel - 1)])
        widget->setVisible(visible);
    CurrentProjectHost().ArrangePanels();
    // The figure tool works with the figure panel in view.
    if (panel == PanelFigures && !visible)
        SetConnectPoints(false);
}

void TConsoleCommands::SetConnectPoints(bool on)
{
    if (connecting_)
        return;
    SetAreaMode(on ? 4 : 0);
    ShowConnectPoints(on);
    if (on && PanelLayout.Panels[PanelFigures].Visible == 0)
        SetPanelVisible(PanelFigures, true);
}

void TConsoleCommands::ShowConnectPoints(bool on)
{
    connecting_ = true;
    if (QAction* item = FindNamed<QAction>(console_, "menuSegment"))
        item->setChecked(on);
    if (console_.sbsegment)
        console_.sbsegment->setChecked(on);
    if (TGraphAreaForm* graph = Forms.GraphAreaForm; graph && graph->MnConnect)
        graph->MnConnect->setChecked(on);
    connecting_ = false;
}

void TConsoleCommands::UpdateUndoControls(bool canUndo, bool canRedo)
{
    FindNamed<QAction>(console_, "menuUndo")->setEnabled(canUndo);
    FindNamed<QAction>(console_, "menuRedo")->setEnabled(canRedo);
    FindNamed<QToolButton>(console_, "sbUndo")->setEnabled(canUndo);
    FindNamed<QToolButton>(console_, "sbRedo")->setEnabled(canRedo);
}

bool TConsoleCommands::OwnsWindowOf(QObject* watched) const
{
    if (!watched->isWidgetType())
        return false;
    const QWidget* window = static_cast<QWidget*>(watched)->window();
    return window == &console_ || window == Forms.GraphWindow ||
           (Forms.FmSetColor && window == static_cast<QWidget*>(Forms.FmSetColor));
}

// A file dragged from outside: links and text count too, so that dropping
// them says why nothing opens. Drags of rows and stickers carry their own
// formats and stay with their windows.
bool IsOutsideDrop(const QMimeData* data)
{
    return data && (data->hasUrls() || data->formats() == QStringList{QStringLiteral("text/plain")});
}

bool TConsoleCommands::HandleDrag(QEvent* event)
{
    auto* drop = static_cast<QDropEvent*>(event);
    if (!IsOutsideDrop(drop->mimeData()))
        return false;
    if (event->type() == QEvent::Drop) {
        const QList<QUrl> urls = drop->mimeData()->urls();
        drop->acceptProposedAction();
        DropProjectFile(urls);
        return true;
    }
    drop->acceptProposedAction();
    return true;
}

void TConsoleCommands::ShowHint(const QString& tip)
{
    QStatusBar* bar = nullptr;
    if (Forms.CalcForm && Forms.CalcForm->isVisible())
        bar = Forms.CalcForm->findChild<QStatusBar*>();
    if (bar)
        bar->showMessage(tip);
    else if (Forms.GraphAreaForm && Forms.GraphAreaForm->SBarPanel0)
        Forms.GraphAreaForm->SBarPanel0->setText(tip);
}

QLineEdit* ParamEdit(const QWidget& console, int j)
{
    return console.findChild<QLineEdit*>(QStringLiteral("EditPrm%1").arg(j));
}

// Alt with an arrow, while no parameter edit has the focus, brings the
// focus to the first parameter edit that can take it.
bool TConsoleCommands::FormKeyDown(const QKeyEvent& key)
{
    if (!key.modifiers().testFlag(Qt::AltModifier) || !IsArrowKey(key.key()))
        return false;
    QWidget* panel = console_.Panels[PanelParameters - 1];
    if (!panel || !panel->isVisible())
        return false;
    for (int j = 1; j <= ParamCount; ++j)
        if (ParamEdit(console_, j) == console_.focusWidget())
            return false;
    for (int j = 1; j <= ParamCount; ++j) {
        QLineEdit* edit = ParamEdit(console_, j);
        if (edit && edit->isVisible() && edit->isEnabled() && edit->focusPolicy() != Qt::NoFocus) {
            edit->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return false;
}

bool TConsoleCommands::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        if (OwnsWindowOf(watched) && static_cast<QWidget*>(watched)->window() != Forms.FmSetColor)
            return HandleDrag(event);
        return false;
    case QEvent::Close:
        // The data panel stays while the graph window is open; closing it
        // closes the graph window, which ends the program. Once that has
        // closed, the panel closes too.
        if (watched == &console_ && !(Forms.GraphAreaForm && Forms.GraphAreaForm->IsClosed())) {
            event->ignore();
            if (Forms.GraphAreaForm)
                Forms.GraphAreaForm->close();
            return true;
        }
        return false;
    case QEvent::KeyPress:
        return watched == &console_ && FormKeyDown(*static_cast<QKeyEvent*>(event));
    case QEvent::Enter:
    case QEvent::Leave:
        // Every control's hint, as the status bar of the graph shows it.
        if (OwnsWindowOf(watched)) {
            const QString hint = static_cast<QWidget*>(watched)->toolTip();
            if (!hint.isEmpty())
                ShowHint(event->type() == QEvent::Enter ? hint : QString());
        }
        return false;
    case QEvent::StatusTip:
        if (!OwnsWindowOf(watched) && !watched->inherits("QMenu"))
            return false;
        ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    default:
        return false;
    }
}

} // namespace

bool IsArrowKey(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down;
}

void InstallConsoleCommands(TMainConsole& console)
{
    new TConsoleCommands(console);
}

void RemoveConsoleCommands(TMainConsole& console)
{
    const QObjectList children = console.children();
    for (QObject* child : children)
        delete dynamic_cast<TConsoleCommands*>(child);
}

void SetConnectPoints(bool on)
{
    if (Commands)
        Commands->SetConnectPoints(on);
}

void UpdateUndoControls(bool canUndo, bool canRedo)
{
    if (Commands)
        Commands->UpdateUndoControls(canUndo, canRedo);
}

void NpresentationClick()
{
    if (!Commands)
        return;
    TMainConsole& console = Commands->Console();
    {
        // The graph in the mode's sizes is drawn once, before the panel docks.
        const TEditScope action;
        TogglePresentationMode(console.logicalDpiX());
        // The panel's width, fonts and rows.
        console.ApplySizes();
        if (TGraphAreaForm* graph = Forms.GraphAreaForm) {
            const int d = PresentationShift(console.frameGeometry(), graph->frameGeometry(), WorkArea());
            if (d > 0) {
                graph->move(graph->x() - d, graph->y());
                console.move(console.x() - d, console.y());
            }
            graph->PlaceStickers();
        }
    }
    DockConsole();
}
