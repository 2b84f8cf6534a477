#pragma once

// What the calculator's send does to each kind of target, without widgets.
#include "engine/Compiler.h"
#include "model/Formula.h"
#include "model/Value.h"

#include <QString>
#include <optional>

// The text into the record, normalised (NormText) and compiled with the
// mode; compile errors are shown, and come back in the outcome.
TCompileOutcome CompileCalculatorText(TKavirofunction& record, const QString& text, int mode);

// The result text read as a plain number in the user's decimal character.
std::optional<long double> PlainNumber(const QString& resultText);

// User function n (1..8) becomes the record unless that makes references
// run in a circle: then "Refere à circulação da função" is shown, the old
// definition stays and the result is false.
bool StoreUserFunction(int n, const TKavirofunction& record);

// A number field's value: the compiled record evaluated; nothing when undefined.
std::optional<long double> FieldValue(const TKavirofunction& record);

// Parameter n (1..14) takes the value; the graph is redrawn when it moved.
void ApplyParameterValue(int n, long double value);
// Parameter n's step; false, and nothing changed, for a step of 0.
bool ApplyParameterStep(int n, long double step);
