#pragma once

// What a script's assignments, Inc and Dec read and write: its variables,
// the parameters, the objects' coordinates and the table's cells. A write
// only marks what it changed; the drawing commands and the end of a run
// draw it.
#include "model/ScriptStore.h"
#include "model/Value.h"
#include "script/ScriptRun.h"

// An argument of a command, with the script's variables as x, y, z and w.
TValue EvaluateScriptArg(const TKavirofunction& arg, const TScriptVariables& variables);
// The argument at index, or an undefined real when the command has none.
TValue EvaluateScriptArg(const Tlineset& command, std::size_t index, const TScriptVariables& variables);

// The value the command's target holds now: a variable, a parameter's
// value, the pairs X and Y, an object's coordinate or position as its
// formulas give it, a cell, or a pair of cells. Undefined for an index out
// of range.
TValue ReadScriptTarget(const Tlineset& command, const TScriptVariables& variables);
// Writes the value into the command's target. A parameter takes the value's
// x part (no bounds of synchronised curves: a loop over it ends where it
// says); an object's formula texts become the numbers; a cell stores the
// value (a pair its y in the next column too). An undefined value writes
// nothing but a variable or a cell.
void AssignScriptTarget(const Tlineset& command, TScriptVariables& variables, const TValue& value);
// Inc and Dec: the target plus or minus the step, snapped to a whole
// number within 1e-17, assigned; nothing when either is undefined.
void StepScriptTarget(const Tlineset& command, TScriptVariables& variables, bool increment);

// An object's coordinate as a formula text: the general format with 15
// digits, a tiny number in exponent form written as "0".
QString ScriptCoordinateText(long double value);
