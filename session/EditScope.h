#pragma once

// One user action, one redraw. Every store operation and command opens an
// edit scope and marks what it changed (the redraw flags and names, and
// whether the document changed); scopes nest. When the outermost scope
// closes it redraws once, when anything is to be drawn, and marks the
// document modified when it changed. A redraw asked for while a scope is
// open waits for that close. A running redraw counts as an open scope whose
// marks it takes itself: what changes from inside it (parameter values typed
// and taken over, scripts that store) starts no redraw of its own.
class TEditScope {
public:
    TEditScope();
    ~TEditScope();
    TEditScope(const TEditScope&) = delete;
    TEditScope& operator=(const TEditScope&) = delete;

    // The document changed: it is modified once the action ends.
    static void DocumentChanged();
    // The document was just read, created or saved: what this action
    // changed before no longer makes it modified.
    static void ChangesSaved();
    // Redraws now what is to be drawn, inside an open scope, for a step
    // that must show a frame in the middle of an action.
    static void Flush();
    // Whether a scope is open (a running redraw among them).
    static bool IsOpen();
};

// The redrawer of the program: a redraw asked for while a scope is open
// waits for the outermost scope to close; otherwise it runs at once, as an
// open scope of its own. Installed by InstallSessionServices.
void InstallScopedRedrawer();
// Takes it out again when it is the one installed (between tests).
void UninstallScopedRedrawer();
// No scope open and nothing marked (between tests).
void ResetEditScopes();
