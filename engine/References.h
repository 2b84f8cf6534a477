#pragma once

#include "model/CharSet.h"
#include "model/Formula.h"

#include <QString>

// Walks over the references between the document's formulas: graph names,
// relation names, object letters, object components P(n, c) and user
// functions, following each referenced record's compiled Code.

// True when the formula refers to token, directly or through what it references.
bool RefersToToken(TTokenCode token, const TKavirofunction& record);

// True when the code or what it references holds any of tokens (no variables).
bool CodeRefersToAnyOf(const TWideCharSet& tokens, QStringView code);
// True when evaluating the code draws chance or reads the keys (rnd,
// Pressed), directly or through what it references: such formulas are
// evaluated on one thread, in order, so that they draw what they always did.
bool ReadsChanceOrKeys(QStringView code);
// True when the code reaches a graph name y1 .. y20: evaluated over columns,
// it may fill their column caches.
bool ReadsGraphColumns(QStringView code);

// RefersToToken over the object's X, Y, R, Low and High formulas.
struct TPointFunction;
bool PointRefersToToken(TTokenCode token, const TPointFunction& object);

// True, with the message "Refere à circulação da função", when following the
// references from record nests deeper than 100 levels (every cycle does).
bool CheckCircularity(const TKavirofunction& record);
// The same for a record about to be stored in slot n of its table: the
// references that reach the slot reach the candidate, and the document
// stays as it is.
enum class TFormulaTable { Functions, Relations, UserFunctions };
bool CheckCircularityAs(TFormulaTable table, int n, const TKavirofunction& candidate);
// For object n about to be stored: its X, Y and R formulas, where every
// reference to object n reaches the candidate's formulas; the message once.
bool CheckCircularityAs(int n, const TPointFunction& candidate);

// For a document just read, whose formulas no dialog checked: every record
// (user functions, functions, relations, then each object's formulas) from
// which references still run in a circle loses its code, so that it
// evaluates as undefined; the first record met on each circle breaks it.
// Shows nothing; returns how many records lost their code, for the caller
// to show "Refere à circulação da função" once.
int GiveCircularRecordsNoCode();
// Shows "Refere à circulação da função" as an error.
void ShowCircularReferenceMessage();

// True when Code is non-empty and holds only constants, blanks, negations,
// commas and brackets, or is a number in the form m*10^(e) with constant m
// and e, each maybe negated.
bool IsConstantExpression(const TKavirofunction& record);

// Replaces relation names by their relations' scanned tokens and graph names by
// their functions', for the relation plotter. False with a message when a
// referenced slot is empty or the expansion does not end.
bool CheckObjectRefs(TTokenString& tokens, QString& message);
