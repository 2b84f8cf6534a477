#pragma once

#include "model/CharSet.h"
#include "model/Formula.h"

#include <QString>

// Compile modes: each owner of a formula always uses the same one.
enum : int {
    ModeFunction = -1,     // y = f(x): a leading "y=" is stripped
    ModeRelation = 0,      // relations and inequalities; r and θ are polar
    ModePlain = -2,        // calculator, value fields, notes, scripts, limits
    ModeUserFunction = -3, // user functions and the table formula; r and θ are polar
    // 1..22: the formulas of that object (x, y, r and X mean the object itself)
};

// Settings of the view that compilation reads; the view keeps them current
// and owners recompile when they change.
struct TCompileSettings {
    QChar HorizontalAxisLetter = u'x'; // 'x', or '@' when the x axis shows θ
    void Reset() { *this = TCompileSettings{}; }
};
extern TCompileSettings CompileSettings;

// Trims and normalises the text, stores the scanned tokens in NormText and,
// for modes >= -3, compiles without messages.
bool PrepareExpression(TKavirofunction& record, int mode);

// Compiles NormText into Code with its constant table. True when valid.
// Messages appear only when showErrors, except those that always do.
bool CompileExpression(TKavirofunction& record, int mode, bool showErrors);

// Replaces every literal number of tokens by its constant code. True on
// failure, with the message in `message`.
bool ExtractConstants(TTokenString& tokens, TConstList& consts, TConstValues& values, QString& message,
                      std::uint8_t& lastConst);

// One precedence pass: moves every operator of the class behind its operands.
void ToPostfix(TTokenString& tokens, const TWideCharSet& operators);

// True when the compiled Code does not leave exactly one value.
bool CheckArgumentCounts(const TKavirofunction& record, bool showErrors);

// The comparison of a compiled relation, 0 when there is none.
TTokenCode FindRelationOperator(QStringView code);

// The compiled code as text, tokens separated by blanks and constants shown
// as their literal texts: "14 1 10 Sum k 2 ^ Send".
QString CodeToText(const TKavirofunction& record);
