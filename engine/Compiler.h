#pragma once

#include "model/CharSet.h"
#include "model/Formula.h"

#include <QString>
#include <cstdint>

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

// What stopped a compilation.
enum class TCompileErrorKind : std::uint8_t {
    None,             // the formula compiled
    NotTerminated,    // the text holds something that is no token
    BadBegin,
    BadEnd,
    Brackets,         // too few, too many or mismatched ")"
    OperatorPosition, // a binary operator where no operand ends
    PostfixPosition,  // !, °, .x, .y, .r where no operand ends
    NumeralPosition,  // a number right after an operand
    Literal,          // a number too long or with two decimal points
    BinderVariable,   // Stepsize, Sum, Product or Intgr without its variable
    TooManyConstants,
    BinderArguments,  // Sum, Product, Intgr, cof or sol with the wrong argument count
    ArgumentCount,    // the compiled code does not leave exactly one value
};

// The outcome of a compilation, for the caller to show or to word its own way.
struct TCompileOutcome {
    TCompileErrorKind Kind = TCompileErrorKind::None;
    QString Message;          // the user's message; empty when valid
    int Position = 0;         // character of Text (from 1) where the fault lies; 0 when it cannot be told
    bool ShownAlways = false; // a message that even quiet compilations show
    bool Valid() const { return Kind == TCompileErrorKind::None; }
};

// Compiles NormText into Code with its constant table and returns what it
// found; shows nothing. The compiled code must also leave exactly one value
// (CheckArgumentCounts); when it does not, the outcome says so and Code is
// cleared, unless keepUnbalancedCode (the calculator keeps it).
TCompileOutcome CompileFormula(TKavirofunction& record, int mode, bool keepUnbalancedCode = false);

// Shows the outcome's message in the program's message box (an error, OK).
void ShowCompileOutcome(const TCompileOutcome& outcome);

// Trims and normalises the text, stores the scanned tokens in NormText and,
// for modes >= -3, compiles without messages.
bool PrepareExpression(TKavirofunction& record, int mode);

// CompileFormula that shows its own messages: every message when
// showErrors, otherwise only the ones shown always; the outcome is what it
// found. CompileExpression: true when valid.
TCompileOutcome CompileShowingMessages(TKavirofunction& record, int mode, bool showErrors);
bool CompileExpression(TKavirofunction& record, int mode, bool showErrors);

// Replaces every literal number of tokens by its constant code. True on
// failure, with the message in `message`.
bool ExtractConstants(TTokenString& tokens, TConstList& consts, TConstValues& values, QString& message,
                      std::uint8_t& lastConst);

// One precedence pass: moves every operator of the class behind its operands.
void ToPostfix(TTokenString& tokens, const TWideCharSet& operators);

// True when the compiled Code does not leave exactly one value. With
// showErrors, too few and too many values each show their message.
bool CheckArgumentCounts(const TKavirofunction& record, bool showErrors);

// The comparison of a compiled relation, 0 when there is none.
TTokenCode FindRelationOperator(QStringView code);

// The compiled code as text, tokens separated by blanks and constants shown
// as their literal texts: "14 1 10 Sum k 2 ^ Send".
QString CodeToText(const TKavirofunction& record);
