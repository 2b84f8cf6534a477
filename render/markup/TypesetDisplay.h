#pragma once

#include "model/CharSet.h"
#include "model/TokenString.h"

#include <QStringView>

// Structure codes of a display token string: they mark the two-dimensional
// parts of a typeset formula among the vocabulary codes.
namespace DisplayCode {
constexpr TTokenCode VectorEnd = 946;         // β: end of a vector begun by γ
constexpr TTokenCode VectorStart = 947;       // γ: start of a vector between two objects
constexpr TTokenCode GroupStart = 948;        // δ: a function application, a power's base, ...
constexpr TTokenCode GroupEnd = 949;          // ε: end of a group opened by δ
constexpr TTokenCode DenominatorEnd = 950;    // ζ
constexpr TTokenCode DenominatorStart = 951;  // η
constexpr TTokenCode NumeratorEnd = 952;      // θ
constexpr TTokenCode NumeratorStart = 953;    // ι
constexpr TTokenCode RadicandEnd = 954;       // κ: end of a Sqrt, Cbrt or conj argument
constexpr TTokenCode ExponentEnd = 955;       // λ
constexpr TTokenCode First = VectorEnd;
constexpr TTokenCode Last = ExponentEnd;
} // namespace DisplayCode

inline bool IsDisplayCode(TTokenCode code)
{
    return code >= DisplayCode::First && code <= DisplayCode::Last;
}

// The scanned token string of a formula (its NormText) as a display token
// string: parenthesised as the compiler sees it, then with fractions,
// radicals, exponents, vectors and groups marked by the structure codes,
// numbers spelt with digit tokens, and an unscanned rest (the error token and
// the raw text after it) kept at the end.
TTokenString ExpressionToMarkup(const TTokenString& scanned);

// The group that the first token of tokens opens. The opener is removed,
// then the tokens are scanned with a depth starting at 1: an opener adds 1,
// else a closer takes 1 away; the group is what precedes the closer that
// brings the depth to 0, and the group and that closer leave tokens. Without
// such a closer the group is the whole rest, tokens end empty and unclosed
// is set.
struct TExtractedGroup {
    TTokenString Group;
    bool Unclosed = false;
};
TExtractedGroup ExtractGroup(const TWideCharSet& openers, const TWideCharSet& closers, TTokenString& tokens);
// The same on a view, which moves past the group; no copy is made.
QStringView ExtractGroupView(const TWideCharSet& openers, const TWideCharSet& closers, QStringView& tokens,
                             bool& unclosed);

// Takes the fraction at the start of tokens (they begin with ι) apart into
// its numerator and denominator, each flattened (unless nestedFractions) and
// stripped of redundant outer brackets. A fraction without a denominator
// group (a "/" at the very end) has an empty denominator.
void SplitFraction(TTokenString& tokens, TTokenString& numerator, TTokenString& denominator, bool nestedFractions);
void SplitFractionView(QStringView& tokens, TTokenString& numerator, TTokenString& denominator,
                       bool nestedFractions);

// Turns the fractions inside a part into one-line groups: ι becomes δ δ,
// θ ε, η δ and ζ ε ε, so an inner fraction shows as group "/" group.
void FlattenFractions(TTokenString& part);
