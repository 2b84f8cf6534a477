#pragma once

// The interpreter: one compiled script runs command by command on the main
// thread, started by its button, by a change of a name its On .. Change
// line names (from the redraw), or by Call and Sub of another script. A run
// holds one edit scope: assignments only mark what they change, the drawing
// commands draw at once, and what is still marked when a button's run ends
// is drawn then. User input is dropped while a script runs; Esc or F1
// asks whether to stop it.
#include "model/DocumentState.h"
#include "model/ScriptStore.h"
#include "model/Value.h"

#include <QString>
#include <array>
#include <cstdint>

struct TWideCharSet;

// The four variables of one run of one script.
struct TScriptVariables {
    TValue X = ValueUndefined(KindReal);
    TValue Y = ValueUndefined(KindReal);
    TValue Z = ValueUndefined(KindReal);
    TValue W = ValueUndefined(KindReal);
};

// What all runs share. (The nesting depth is ProgramState.ScriptDrawState,
// which the redraw reads.)
struct TScriptRunState {
    bool ScriptRunning = false;       // a run started by RunScript is under way
    bool ScriptStopRequested = false; // every open run ends after its current command
    QString ScriptErrorText;          // shown with the command's line when the run stops
    std::int64_t ScriptDeadline = 0;  // the tick that Wait without argument waits for
    bool PlayAppend = false;          // the next tone adds to the sound (after PlayAfter)
    // Objects whose coordinates a script wrote: their rows are shown again
    // at the next refresh.
    std::array<bool, PointCount + 1> ScriptMovedObjects{};
    QString SavedCaption;             // the graph window's caption before the run
    std::int64_t NextEventRound = 0;  // the tick at which pending events are handled again
    void Reset() { *this = TScriptRunState{}; }
};
extern TScriptRunState ScriptRunState;

// Messages of the interpreter.
inline const QString InvalidScriptText = QStringLiteral("Script Inválido");
inline const QString NestingTooDeepText = QStringLiteral("Englobamento de scripts é demais.");
inline const QString RunningCaptionSuffix = QStringLiteral(" : Parar com tecla F1");
inline const QString StopQuestion = QStringLiteral("Parar com [OK]");
inline const QString InvalidAreaText = QStringLiteral("Intervalo inválido");

// Calls nest at most this deep below the run that RunScript started.
inline constexpr int MaxScriptDepth = 20;
// Pending events are handled this often while commands run without waiting.
inline constexpr int ScriptEventRoundMs = 20;

// Runs script i (0..Last) with four undefined variables; nothing while a
// run is under way. A run from a button draws what is still marked when it
// ends, once; one started inside a redraw leaves that to the redraw.
void RunScript(int i);
// The command loop of one script; Call and Sub nest it.
void ExecuteScript(const TMacroCommandsub& script, TScriptVariables variables);
// The view brought up to date in the middle of a run: the graph is drawn
// again (what is marked with it, the trace layer under it), the parameter rows and the moved objects' rows are shown, the
// marked stickers rendered, and both windows painted.
void RefreshScriptView(bool withPicture);
// Runs each script, in order, whose trigger holds a name of the change set.
void RunTriggeredScripts(const TWideCharSet& changedNames);

// A script is running.
bool IsScriptRunning();
// The run ends after its current command, with nothing to show (a main
// window was asked to close).
void StopRunningScript();

// Waits until the tick, handling events with user input dropped; ends
// early, false, when Esc or F1 is down or the run is to stop.
bool WaitForScript(std::int64_t deadline);
// Handles the pending events (user input dropped) when the last round is
// ScriptEventRoundMs ago, so that the windows repaint.
void HandleEventsWhenDue();
