#include "windows/ConsoleScripts.h"

#include "dialogs/PermanentForms.h"
#include "script/ScriptRun.h"
#include "script/ScriptWindow.h"
#include "script/Sound.h"
#include "session/Stickers.h"
#include "session/TableSheet.h"
#include "windows/ConsoleMenus.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

// The windows' side of a running script.
class TGraphScriptWindow final : public TScriptWindow {
public:
    explicit TGraphScriptWindow(TMainConsole& console)
        : console_(console)
    {
    }
    QString Caption() override { return Forms.GraphAreaForm ? Forms.GraphAreaForm->windowTitle() : QString(); }
    void SetCaption(const QString& caption) override
    {
        if (Forms.GraphAreaForm)
            Forms.GraphAreaForm->setWindowTitle(caption);
    }
    void PaintGraph() override
    {
        if (Forms.GraphAreaForm)
            Forms.GraphAreaForm->GImage->repaint();
    }
    void PaintDataPanel() override { console_.repaint(); }
    void ShowTraceButton(bool tracesRecorded) override
    {
        if (QToolButton* trace = FindNamed<QToolButton>(console_, "SBAimg")) {
            const QSignalBlocker quiet(trace);
            trace->setChecked(tracesRecorded);
        }
    }
    // The open table sheet shows the cells a script writes; without an
    // open note editor these do nothing.
    void ShowTableCell(int row, int column, const QString& text) override { SetGridCellText(row, column, text); }
    void ClearTableCells() override { ClearGridCells(); }
    void MarkChangedStickers() override { ::MarkChangedStickers(); }
    void RefreshStickers(bool force) override { ::RefreshStickers(force); }

private:
    TMainConsole& console_;
};

// Lives as long as the data panel: the script window, the buttons, the
// sound's menu item and the close requests.
class TConsoleScripts final : public QObject {
public:
    TConsoleScripts(TMainConsole& console, const TConsoleMenus& menus)
        : QObject(&console)
        , window_(console)
    {
        console.RunScriptButton = [](int script) { RunScript(script); };
        QAction* saveSound = FindNamed<QAction>(console, "nSaveWave");
        connect(saveSound, &QAction::triggered, this, [] { nSaveWaveClick(); });
        connect(menus.fileMenu1, &QMenu::aboutToShow, this, [saveSound] { saveSound->setEnabled(!Sound.IsEmpty()); });
        console.installEventFilter(this);
        if (Forms.GraphAreaForm)
            Forms.GraphAreaForm->installEventFilter(this);
    }

protected:
    // A close request while a script runs stops the script; the window stays.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Close || !IsScriptRunning())
            return QObject::eventFilter(watched, event);
        StopRunningScript();
        event->ignore();
        return true;
    }

private:
    TGraphScriptWindow window_;
    ScopedScriptWindow useWindow_{window_};
};

} // namespace

void ConnectScriptCommands(TMainConsole& console, const TConsoleMenus& menus)
{
    new TConsoleScripts(console, menus);
}
