#pragma once

// The operators of the formula language on values: arithmetic on reals,
// points (real mode) and complex numbers (complex mode), power, comparisons
// and logic. Operands come as written: left, then right. Truth is the defined
// real 1; false is an undefined value. A failed operation gives an undefined
// real, save a result outside the usable range (which keeps its kind), "or"
// (its left operand) and "^" (an undefined pair in complex mode unless both
// operands are reals).

#include "model/Value.h"

// "+": equal kinds, or a real and a pair in complex mode. A left operand of
// kind SZERO takes the right operand's kind.
TValue ValueAddCore(const TValue& left, const TValue& right);
// "-": left + (−right).
TValue ValueSubtract(const TValue& left, const TValue& right);
// "×": a real times a real or pair; a complex product in complex mode.
TValue ValueScalarProduct(const TValue& left, const TValue& right);
// "·": as "×", and two points give their dot product in real mode; in
// complex mode a pair times a real works too.
TValue ValueMultiply(const TValue& left, const TValue& right);
// "/": left times the reciprocal of right; right a real, or a pair in
// complex mode.
TValue ValueDivide(const TValue& left, const TValue& right);
// "^" ("%" is the same with the operands exchanged). Real mode: a real base
// (a negative one only with a whole exponent), or a point squared (its
// length squared). Complex mode: complex powers; real operands with a real
// result give that real.
TValue ValuePower(const TValue& base, const TValue& exponent);

// "<", "<=", ">", ">=" on reals.
TValue ValueLess(const TValue& left, const TValue& right);
TValue ValueLessEq(const TValue& left, const TValue& right);
TValue ValueGreater(const TValue& left, const TValue& right);
TValue ValueGreaterEq(const TValue& left, const TValue& right);
// "=" and "<>": equal kinds, compared within 1E-9 per part.
TValue ValueEqual(const TValue& left, const TValue& right);
TValue ValueNotEqual(const TValue& left, const TValue& right);

// "and": the operand with the larger x when both are defined.
TValue ValueAnd(const TValue& left, const TValue& right);
// "or": the defined operand with the larger x; the left one on a tie.
TValue ValueOr(const TValue& left, const TValue& right);
// "not": 1 for an undefined argument, undefined for a defined one.
TValue ValueNot(const TValue& a);
