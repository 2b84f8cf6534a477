#pragma once

#include "model/Formula.h"

#include <QString>

struct TPointFunction;

// A number field accepts a plain number or any formula that gives one value.
// On success x takes the value; a formula's text is replaced by its value
// (12 digits), and a failure puts the previous value back into the text, with
// the message "Tipo numérico inválido" when showMessage.
bool ParseNumberText(QString& text, long double& x, bool showMessage);

// Position (from 1) of the last list separator at depth 1 of a text that is
// one parenthesised pair «(a, b)»; 0 otherwise.
int FindPairComma(const QString& text);
// Trims text; for «(base).x» or «(base).y» the length of «(base)», else 0.
int SelectorBase(QString& text);

enum class PointTextDirection { Join, Split };
// Converts between an object's position formula and its two coordinate
// formulas; only the texts change, the caller compiles afterwards.
void JoinPointTexts(TPointFunction& object, PointTextDirection direction);

// Rewrites names that older project versions spelled differently (by the
// file's first line, compared as a string), then prepares the formula.
bool ConvertLegacyExpression(TKavirofunction& record, int mode, const QString& header);
