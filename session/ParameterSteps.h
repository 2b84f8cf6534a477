#pragma once

// Stepping the parameters with the step buttons, keys and animation, and
// setting their steps. A step is never 0: a step of 0 is refused, and one
// read from a file steps nothing.
#include "model/DocumentState.h"

#include <QString>

#include <array>

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

// Parameter j steps with the other fixed parameters (the row's F button).
void SetParamFixed(int j, bool fixed);
// Parameter j's row shows its step controls, or no longer shows them.
void ToggleStepControls(int j);

// The steps the doubling and halving buttons go through, largest first.
inline constexpr std::array<long double, 19> StepFactors{
    1000.0L, 500.0L, 200.0L, 100.0L, 50.0L,  20.0L,  10.0L,   5.0L,   2.0L,   1.0L,
    0.5L,    0.2L,   0.1L,   0.05L,  0.02L,  0.01L,  0.005L,  0.002L, 0.001L};
// The next larger (direction up) or smaller (down) value of StepFactors
// than the step; the step itself beyond the table's ends.
long double NextStepFactor(long double step, int direction);
// Parameter j's step moved one place along StepFactors; false when it
// stays.
bool StepFactorStep(int j, int direction);

// The speed bar (0 slow .. 20 fast) and the delay between steps: 0 steps
// once per press, 20 as fast as it goes (1 ms), else (20 - p) tenths of the
// unit.
inline constexpr int SpeedBarMax = 20;
int ParamDelayForSpeed(int position, int delayUnit);
int SpeedForParamDelay(int delay, int delayUnit);
// The speed bar moved: the animation takes its delay.
void SetParamSpeed(int position);
