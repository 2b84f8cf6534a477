#pragma once

// The program keeps its state in global tables (the document, options,
// program state, settings, the view, the engine's vocabulary, ...). Each
// library registers how to put its tables back to their start-up values, so
// that every test starts from the same state and nothing leaks between tests.
//
// Registration is explicit: each library has one function that registers its
// tables (RegisterModelResets here, RegisterEngineResets, RegisterViewResets),
// called by the program's start-up and by the test main. A static
// initialiser would be dropped by the linker from a static library whose
// object file nothing else references.

#include <QString>
#include <QStringList>

using TResetRoutine = void (*)();

// Adds a reset under a name; registering a name again replaces its routine
// and keeps its place. Resets run in the order they were first registered,
// so a library registers after the libraries below it.
void RegisterReset(const QString& name, TResetRoutine reset);

// Runs every registered reset, in order.
void ResetAllGlobals();

// The names registered so far, in order.
QStringList RegisteredResetNames();

// The model's tables: separators, options, colour scheme, program state,
// stored settings, the view range, the scripts, the document, the project
// text and both histories.
void RegisterModelResets();
