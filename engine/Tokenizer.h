#pragma once

#include "model/CharSet.h"
#include "model/Formula.h"
#include "model/TokenString.h"

#include <QString>

// Puts typed formula text into canonical spelling and scans it into tokens.
// text becomes the canonical text of the part that could be scanned;
// normalised receives the whole rewritten text (including an unscanned
// rest); caret, a cursor position (characters before it), follows every
// insertion and deletion; tokens receives the scanned token string, which
// ends with the error token and the raw rest when scanning failed.
void NormalizeExpressionText(QString& text, QString& normalised, int& caret, TTokenString& tokens);

// The same on a formula record's text; the caller stores tokens in NormText.
void NormalizeExpression(TKavirofunction& record, TTokenString& tokens);

// Makes the implicit structure of a scanned token string (numbers already
// replaced by constants) explicit: point constructors, vectors, absolute
// values, log bases, the reach of arguments, exponents and divisors, and
// postfix operators, all delimited by parentheses. Never fails: an odd
// formula leaves odd brackets for the compiler's checks to reject.
void TokenizeExpression(TTokenString& tokens);

// «[x - 1]» is |x - 1|: brackets become abs( ).
void BracketsToAbs(TTokenString& tokens);

// Wraps the operand that follows each trigger token in parentheses.
void GroupOperands(TTokenString& tokens, const TWideCharSet& triggers);
