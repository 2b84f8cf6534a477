#include "script/ScriptRun.h"

#include "script/ScriptTargets.h"
#include "script/ScriptWindow.h"
#include "script/Sound.h"

#include "engine/TokenTable.h"
#include "model/CharSet.h"
#include "model/Figures.h"
#include "model/MessageBox.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "platform/Clock.h"
#include "platform/InputState.h"
#include "render/scene/Redraw.h"
#include "render/scene/TraceRecording.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "session/Commands.h"
#include "session/EditScope.h"
#include "session/PictureExport.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"

#include <climits>

TScriptRunState ScriptRunState;

namespace {

// Wait and SetTime take 0 up to this many milliseconds (exclusive).
constexpr int MaxWaitMs = 10000;

bool BreakKeyHeld()
{
    return platform::IsKeyDown(platform::VkEscape) || platform::IsKeyDown(platform::VkF1);
}

std::int64_t Now()
{
    return platform::CurrentClock().tickCount();
}

TGraphImages& Images()
{
    return GraphScale.GraphImages;
}

// A figure named by ShowObj, ClrAImg and the colour commands.
struct TScriptFigure {
    int Kind = 0;
    int Number = 0;
};

TScriptFigure FigureOf(int code)
{
    return {code / ScriptFigureStep, code % ScriptFigureStep};
}

// The data panel's row kind and the store's record kind of a figure kind.
struct TFigureKinds {
    TRowItem Row;
    TItemKind Item;
};

std::optional<TFigureKinds> KindsOf(int kind)
{
    switch (kind) {
    case ScriptFigureObject:
        return TFigureKinds{TRowItem::Object, TItemKind::Object};
    case ScriptFigureFunction:
        return TFigureKinds{TRowItem::Function, TItemKind::Function};
    case ScriptFigureRelation:
        return TFigureKinds{TRowItem::Relation, TItemKind::Relation};
    case ScriptFigureSegment:
        return TFigureKinds{TRowItem::Figure, TItemKind::Figure};
    default:
        return std::nullopt;
    }
}

bool IsFigureHidden(TScriptFigure f)
{
    const TDocumentTables& doc = DocumentTables;
    switch (f.Kind) {
    case ScriptFigureObject:
        return f.Number >= 1 && f.Number <= PointCount && doc.Points[f.Number].Shown == 0;
    case ScriptFigureFunction:
        return f.Number >= 1 && f.Number <= FunctionCount && doc.Functions[f.Number].Visible == 0;
    case ScriptFigureRelation:
        return f.Number >= 1 && f.Number <= RelationCount && doc.Relations[f.Number].Visible == 0;
    case ScriptFigureSegment:
        return f.Number >= 1 && f.Number <= Segments.Count() && Segments.Data.Items[f.Number].Shown == 0;
    default:
        return false;
    }
}

// The moved objects' rows shown anew, once.
void ShowMovedObjectRows()
{
    std::array<bool, PointCount + 1>& moved = ScriptRunState.ScriptMovedObjects;
    for (int k = 1; k <= PointCount; ++k)
        if (moved[static_cast<std::size_t>(k)])
            RedrawPntRow(k);
    moved.fill(false);
}

// The parameter and object rows as the document now holds them, and both
// windows painted.
void ShowRowsAndPaint()
{
    ShowPrmValueTexts();
    ShowMovedObjectRows();
    TScriptWindow& window = CurrentScriptWindow();
    window.PaintDataPanel();
    window.PaintGraph();
}

// A Call's four values: a pair first gives x and y and moves the next two
// on (the fourth drops out); a pair third then gives z and w. All reals.
TScriptVariables CallVariables(const Tlineset& command, const TScriptVariables& variables)
{
    std::array<TValue, 4> a;
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] = EvaluateScriptArg(command, i, variables);
    auto split = [](TValue& first, TValue& second, const TValue pair) {
        first = TValue{KindReal, pair.Defined, pair.X, 0.0L};
        second = TValue{KindReal, pair.Defined, pair.Y, 0.0L};
    };
    if (a[0].Kind == KindPair) {
        a[3] = a[2];
        a[2] = a[1];
        split(a[0], a[1], a[0]);
    }
    if (a[2].Kind == KindPair)
        split(a[2], a[3], a[2]);
    for (TValue& v : a) {
        v.Kind = KindReal;
        v.Y = 0.0L;
    }
    return {a[0], a[1], a[2], a[3]};
}

// Milliseconds of Wait and SetTime: 0 up to 10 s, rounded.
std::optional<int> WaitMilliseconds(const Tlineset& command, const TScriptVariables& variables)
{
    const TValue v = EvaluateScriptArg(command, 0, variables);
    if (!v.Defined)
        return std::nullopt;
    const int ms = NearestInt(v.X);
    if (ms < 0 || ms >= MaxWaitMs)
        return std::nullopt;
    return ms;
}

// One command list being run with its variables.
class TScriptExecution {
public:
    TScriptExecution(const TMacroCommandsub& script, TScriptVariables variables)
        : script_(script)
        , variables_(variables)
    {
    }

    // The commands in order; returns once the list ends or the run is to stop.
    void Run()
    {
        TScriptRunState& run = ScriptRunState;
        const int count = script_.LinesetCount();
        int i = 0;
        while (i < count) {
            const Tlineset& command = script_.Sets[static_cast<std::size_t>(i)];
            i = Perform(command, i);
            HandleEventsWhenDue();
            if (BreakKeyHeld()) {
                RefreshScriptView(true);
                if (ShowMsgBox(StopQuestion, MsgWarning, MsgOkCancel)) {
                    run.ScriptStopRequested = true;
                    return;
                }
            }
            if (run.ScriptStopRequested) {
                RefreshScriptView(true);
                ShowError(command);
                return;
            }
        }
    }

private:
    void ShowError(const Tlineset& command)
    {
        TScriptRunState& run = ScriptRunState;
        if (run.ScriptErrorText.isEmpty())
            return;
        const QString line = script_.Lines.value(command.SourceLine).mid(1);
        ShowMsgBox(run.ScriptErrorText + QStringLiteral(" : ") + line, MsgWarning, MsgOk);
        run.ScriptErrorText.clear();
    }

    TValue Arg(const Tlineset& command, std::size_t index = 0) const
    {
        return EvaluateScriptArg(command, index, variables_);
    }

    // Performs command i; returns the index of the next one.
    int Perform(const Tlineset& command, int i)
    {
        switch (command.Code) {
        case ScriptAssign:
            AssignScriptTarget(command, variables_, Arg(command));
            break;
        case ScriptInc:
        case ScriptDec:
            StepScriptTarget(command, variables_, command.Code == ScriptInc);
            break;
        case ScriptWhile:
        case ScriptIf:
            // Comparisons give 1 or an undefined value: any defined value is true.
            // A jump goes on after its target.
            if (!Arg(command).Defined)
                return command.Target + 1;
            break;
        case ScriptWend:
            return command.Target;
        case ScriptElse:
            return command.Target + 1;
        case ScriptEnd:
            return script_.LinesetCount();
        case ScriptDraw:
            Draw(command);
            break;
        case ScriptCalc:
        case ScriptOverDraw:
            DrawSceneOver(command, command.Code == ScriptCalc);
            break;
        case ScriptRefreshStickers:
            RefreshAllStickers();
            break;
        case ScriptRefresh:
            RefreshScriptView(false);
            SaveNextImage();
            break;
        case ScriptWait:
            if (const std::optional<int> ms = WaitMilliseconds(command, variables_))
                WaitForScript(Now() + *ms);
            break;
        case ScriptSetTime:
            if (const std::optional<int> ms = WaitMilliseconds(command, variables_))
                ScriptRunState.ScriptDeadline = Now() + *ms;
            break;
        case ScriptWaitDeadline:
            WaitForScript(ScriptRunState.ScriptDeadline);
            break;
        case ScriptClearAllTraces:
            // Drawn at once: the clearing redraws the view itself.
            ClearTracesAndRedraw(GraphScale, Images());
            break;
        case ScriptClearTraces:
            ClearFigureTraces(command);
            break;
        case ScriptSetAImg:
            DrawChangedObjects(GraphScale, Images());
            CurrentScriptWindow().PaintGraph();
            break;
        case ScriptTracesOn:
        case ScriptTracesOff:
            SetTracesRecorded(command.Code == ScriptTracesOn);
            CurrentScriptWindow().ShowTraceButton(command.Code == ScriptTracesOn);
            break;
        case ScriptSetArea:
            SetArea(command);
            break;
        case ScriptPlay:
        case ScriptPlaySync:
        case ScriptPlayAfter:
            PlayTone(command, variables_, command.Code == ScriptPlaySync, command.Code != ScriptPlayAfter);
            break;
        case ScriptPlayRepeat:
            Sound.Replay();
            break;
        case ScriptPlayGenerated:
            Sound.Play(false);
            ScriptRunState.PlayAppend = false;
            break;
        case ScriptSetSampleRate:
            SetSampleRate(command);
            break;
        case ScriptPause:
            RefreshScriptView(false);
            if (!ShowMsgBox(command.Text, MsgInfo, MsgOkCancel))
                ScriptRunState.ScriptStopRequested = true;
            break;
        case ScriptShowObj:
        case ScriptHideObj:
        case ScriptInvShowObj:
            ShowFigures(command);
            break;
        case ScriptSetColor:
        case ScriptSetLineColor:
        case ScriptSetInsideColor:
            SetColor(command);
            break;
        case ScriptClearAllCells:
            ClearAllCells();
            break;
        case ScriptCall:
        case ScriptSub:
            if (command.Target >= 0 && command.Target <= MacroCommands.Last)
                ExecuteScript(MacroCommands.Items[static_cast<std::size_t>(command.Target)],
                              CallVariables(command, variables_));
            break;
        default:
            // Comments, HideScript, the trigger line, Endif.
            break;
        }
        return i + 1;
    }

    // A frame: everything marked drawn, shown at once.
    void Draw(const Tlineset& command)
    {
        MarkObjectsForScene(command);
        TEditScope::Flush();
        ShowRowsAndPaint();
    }

    static void MarkObjectsForScene(const Tlineset& command)
    {
        SetDirtyObjects();
        // "Draw:" keeps the loci at their stored widths' rule.
        if (!command.Text.contains(u':'))
            SetDirtyFlag4();
    }

    // Calc and OverDraw: the scene alone, over the graph as it is (the
    // layers are not rebuilt): Calc puts everything it draws into the
    // scene picture, which the next such step leaves on the trace layer;
    // OverDraw shows it at once.
    void DrawSceneOver(const Tlineset& command, bool calc)
    {
        MarkObjectsForScene(command);
        // No participant's step before the scene runs here.
        TScriptWindow& window = CurrentScriptWindow();
        window.MarkChangedStickers();
        RecordTrace(GraphScale);
        StampLastSceneOnTraces(GraphScale, Images());
        Images()[0].Canvas().CopyMode = TCopyMode::SrcAnd;
        DrawScene(GraphScale, Images(), calc ? 1 : 0);
        if (!calc)
            window.PaintGraph();
        ClearRedrawState();
    }

    static void RefreshAllStickers()
    {
        TScriptWindow& window = CurrentScriptWindow();
        window.RefreshStickers(true);
        window.PaintDataPanel();
        window.PaintGraph();
        SaveNextImage();
    }

    static void ClearFigureTraces(const Tlineset& command)
    {
        for (const int code : command.Figures) {
            const TScriptFigure f = FigureOf(code);
            if (const std::optional<TFigureKinds> kinds = KindsOf(f.Kind))
                EraseItemGraph(kinds->Item, f.Number);
        }
        GraphScale.Redraw(Images());
        TEditScope::Flush();
    }

    void SetArea(const Tlineset& command) const
    {
        std::array<TValue, 4> v;
        for (std::size_t i = 0; i < v.size(); ++i) {
            v[i] = Arg(command, i);
            if (!v[i].Defined)
                return;
        }
        long double x1 = v[0].X, y1 = v[1].X, x2 = v[2].X, y2 = v[3].X;
        if (x1 == x2 || y1 == y2) {
            ScriptRunState.ScriptErrorText = InvalidAreaText;
            ScriptRunState.ScriptStopRequested = true;
            return;
        }
        SortExtendedPair(x1, x2);
        SortExtendedPair(y1, y2);
        GraphScale.SetRange(Images(), {{x1, y1}, {x2, y2}});
        TEditScope::Flush();
    }

    void SetSampleRate(const Tlineset& command) const
    {
        const bool empty = command.Args.empty() || command.Args.front().Code.isEmpty();
        const TValue rate = empty ? ValueReal(TSound::SampleRateDefault) : Arg(command);
        if (!rate.Defined || rate.X < TSound::MinSampleRate || rate.X > TSound::MaxSampleRate)
            return;
        Sound.Header.SampleRate = static_cast<std::uint32_t>(NearestInt(rate.X));
        Sound.UpdateRates();
    }

    // Each named figure shown, hidden or switched; the background and
    // relation layers rebuilt, drawn at once.
    static void ShowFigures(const Tlineset& command)
    {
        for (const int code : command.Figures) {
            const TScriptFigure f = FigureOf(code);
            const bool hidden = IsFigureHidden(f);
            const bool toggle = command.Code == ScriptInvShowObj || (command.Code == ScriptShowObj) == hidden;
            const std::optional<TFigureKinds> kinds = KindsOf(f.Kind);
            if (toggle && kinds) {
                ToggleItemVisible(kinds->Row, f.Number);
                TEditScope::DocumentChanged();
            }
        }
        RecordTrace(GraphScale);
        SetDirtyFlag3();
        GraphScale.Redraw(Images());
        TEditScope::Flush();
    }

    void SetColor(const Tlineset& command) const
    {
        const TValue color = Arg(command);
        if (!color.Defined || color.X < 0.0L || color.X > 16777215.0L)
            return;
        const TScriptFigure f = FigureOf(command.Target);
        const std::optional<TFigureKinds> kinds = KindsOf(f.Kind);
        if (!kinds)
            return;
        const int which = command.Code == ScriptSetColor ? ItemMainColor
            : command.Code == ScriptSetLineColor         ? ItemSecondColor
                                                         : ItemFillColor;
        SetItemColor(kinds->Item, f.Number, static_cast<TColor>(NearestInt(color.X)), which);
        SetDirtyObjects();
        TEditScope::DocumentChanged();
    }

    // Every data cell emptied; the header row and column stay.
    static void ClearAllCells()
    {
        for (int r = 1; r <= TableRows; ++r)
            for (int c = 1; c <= TableColumns; ++c)
                SetCellValue(r, c, ValueUndefined(KindReal), QString());
        CurrentScriptWindow().ClearTableCells();
        MarkNameChanged(TokenCodes.Cells);
        MarkNameChanged(TokenCodes.CellsP);
        SetDirtyObjects();
        TEditScope::DocumentChanged();
    }

    const TMacroCommandsub& script_;
    TScriptVariables variables_;
};

// Holds the run flag for the length of a run, also when it ends early.
class RunningFlag {
public:
    RunningFlag() { ScriptRunState.ScriptRunning = true; }
    ~RunningFlag() { ScriptRunState.ScriptRunning = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;
};

} // namespace

void RunScript(int i)
{
    TScriptRunState& run = ScriptRunState;
    if (run.ScriptRunning || i < 0 || i > MacroCommands.Last)
        return;
    run.PlayAppend = false;
    const RunningFlag running;
    ProgramState.ScriptDrawState = 0;
    run.ScriptStopRequested = false;
    // One action: what is still marked when it ends is drawn once (by the
    // enclosing redraw when a trigger started it).
    const TEditScope action;
    ExecuteScript(MacroCommands.Items[static_cast<std::size_t>(i)], TScriptVariables{});
}

void ExecuteScript(const TMacroCommandsub& script, TScriptVariables variables)
{
    TScriptRunState& run = ScriptRunState;
    int& depth = ProgramState.ScriptDrawState;
    if (!script.Valid) {
        run.ScriptStopRequested = true;
        ShowMsgBox(InvalidScriptText, MsgWarning, MsgOk);
    } else if (depth > MaxScriptDepth) {
        run.ScriptStopRequested = true;
        ShowMsgBox(NestingTooDeepText, MsgWarning, MsgOk);
    }
    if (run.ScriptStopRequested)
        return;
    TScriptWindow& window = CurrentScriptWindow();
    if (depth == 0) {
        run.SavedCaption = window.Caption();
        window.SetCaption(script.Name + RunningCaptionSuffix);
        run.ScriptDeadline = Now();
    }
    ++depth;
    run.ScriptMovedObjects.fill(false);
    run.ScriptErrorText.clear();
    TScriptExecution(script, variables).Run();
    ShowPrmValueTexts();
    --depth;
    if (depth == 0)
        window.SetCaption(run.SavedCaption);
}

void RefreshScriptView(bool withPicture)
{
    // The layers are drawn anew even when nothing is marked, so that the
    // traces a loop of Calc left on the trace layer show. A redraw draws
    // the background picture whichever the caller asks for.
    (void)withPicture;
    GraphScale.Redraw(Images());
    TEditScope::Flush();
    ShowPrmValues();
    CurrentScriptWindow().RefreshStickers(false);
    ShowRowsAndPaint();
}

void RunTriggeredScripts(const TWideCharSet& changedNames)
{
    for (int k = 0; k <= MacroCommands.Last; ++k) {
        const TTokenString& trigger = MacroCommands.Items[static_cast<std::size_t>(k)].Trigger;
        for (const QChar name : trigger)
            if (changedNames.has(name.unicode())) {
                RunScript(k);
                break;
            }
    }
}

bool IsScriptRunning()
{
    return ScriptRunState.ScriptRunning;
}

void StopRunningScript()
{
    if (ScriptRunState.ScriptRunning)
        ScriptRunState.ScriptStopRequested = true;
}

bool WaitForScript(std::int64_t deadline)
{
    const platform::Clock& clock = platform::CurrentClock();
    platform::InputState& input = platform::CurrentInputState();
    input.processEvents(0);
    for (;;) {
        if (BreakKeyHeld() || ScriptRunState.ScriptStopRequested)
            return false;
        const std::int64_t left = deadline - clock.tickCount();
        if (left <= 0)
            break;
        input.processEvents(static_cast<int>(std::min<std::int64_t>(left, INT_MAX)));
    }
    ScriptRunState.NextEventRound = clock.tickCount() + ScriptEventRoundMs;
    return true;
}

void HandleEventsWhenDue()
{
    const std::int64_t now = Now();
    if (now < ScriptRunState.NextEventRound)
        return;
    platform::CurrentInputState().processEvents(0);
    ScriptRunState.NextEventRound = now + ScriptEventRoundMs;
}
