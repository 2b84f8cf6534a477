#pragma once

// Stepping the parameters with the step buttons, keys and animation, and
// setting their steps. A step is never 0: a step of 0 is refused, and one
// read from a file steps nothing.
#include "model/DocumentState.h"

#include <QString>

enum TStepDirection : int { StepDown = -1, StepUp = 1 };

// The value one step of the parameter gives: Shift takes a tenth of the
// step (a multiplicative step its tenth root), Ctrl twice the step (its
// square). An added step that lands within a billionth of the step of a
// whole number gives that whole number.
long double SteppedValue(const TParameter& p, int direction, bool shift, bool ctrl);
// One step of parameter j, and of every other fixed parameter with it when
// it is fixed; typed values are applied first. The graph is redrawn.
void StepParameter(int j, int direction, bool shift = false, bool ctrl = false);

// Parameter j's step; a multiplicative step is taken positive. The
// synchronised curves that run on j take it as their step. False, and
// nothing changed, for 0.
bool SetParameterStep(int j, long double step);
// The step edit applied; on a refused or unreadable text, false and the
// text shows the current step again.
bool ApplyStepEdit(int j, QString& text);
// Switches between an added and a multiplied step: a factor 1.1 becomes an
// increment 0.1 and back. False, and nothing changed, when the switched
// step would be 0.
bool ToggleStepMode(int j);
