#pragma once

#include "model/TokenString.h"

#include <QStringView>

// Bracket utilities over token strings. Positions are 1-based, as the
// tokenizer and compiler count them; reading outside the string is safe.

// "None" answers of the searches.
constexpr int NoCloseParen = 10000;
constexpr int NoOpenParen = 0;

// Token at 1-based position i, or 0 outside the string.
inline TTokenCode TokenAt(QStringView tokens, int i)
{
    return (i >= 1 && i <= tokens.size()) ? tokens[i - 1].unicode() : TTokenCode(0);
}

// Position of the ")" that closes the "(" at i; NoCloseParen when there is
// none or when i > length - 2.
int FindCloseParen(QStringView tokens, int i);
// Position of the "(" that opens the group ending at, or enclosing, i;
// NoOpenParen when there is none or when i < 2.
int FindOpenParen(QStringView tokens, int i);
// +1 for "(", -1 for ")", 0 for any other token.
int BracketDelta(TTokenCode token);
// Top-level arguments of the group whose bracket is at i, walking forwards
// from its "(" or backwards from its ")".
int CountArgs(QStringView tokens, int i, bool backwards);
// Removes redundant outer brackets, only while the first "(" matches the
// last ")". True when the string changed.
bool StripOuterParens(TTokenString& tokens);
// True when the last occurrence of token is followed by a group that is not
// closed within tokens (a bound variable inside an unfinished binder).
bool InsideOpenBinder(TTokenCode token, QStringView tokens);
