#pragma once

// The elementary built-ins of the formula language: trigonometric functions
// in the angle unit (Options.AngleMode), hyperbolic functions, exponential and
// logarithms (Options.LogMode), roots, sign and the constants. The functions
// that accept complex numbers do so in complex mode (Options.ComplexMode).
// Every routine returns an undefined value for an argument outside its
// domain or of the wrong kind, and for a result outside the usable range.
// That value is a real, except that a result outside the range keeps its own
// kind, "sin", "cos", "sinh", "cosh", "exp", "ln", "log" and the reciprocal
// keep their argument's kind in complex mode, and "sign", "unit" and "conj"
// always do.

#include "model/ElementaryKernels.h"
#include "model/Value.h"

// The constants "Pi", "e" and "i".
TValue ValuePi();
TValue ValueE();
TValue ValueI();

// sin and cos of t in the angle unit, for every built-in that turns by an
// angle; whole quarter turns in degrees are exact.
long double SinOfAngle(long double t);
long double CosOfAngle(long double t);
TSinCos SinCosOfAngle(long double t);

// "sin", "cos", "tan": reals in the angle unit; pairs as complex numbers.
TValue ValueSin(const TValue& a);
TValue ValueCos(const TValue& a);
TValue ValueTan(const TValue& a);
// "Asin", "Acos", "Atan": reals only; the result in the angle unit.
TValue ValueArcSin(const TValue& a);
TValue ValueArcCos(const TValue& a);
TValue ValueArcTan(const TValue& a);
// "sinh", "cosh", "tanh": reals, and pairs in complex mode.
TValue ValueSinh(const TValue& a);
TValue ValueCosh(const TValue& a);
TValue ValueTanh(const TValue& a);

// "exp": e^x; a complex z gives e^x (cos y, sin y), y always in radians.
TValue ValueExp(const TValue& a);
// "ln": x > 0 in real mode; in complex mode any non-zero number, giving a
// real when the angle is (nearly) 0.
TValue ValueLn(const TValue& a);
// "log" with one argument: ln when LogMode is 2, else the base-10 logarithm.
TValue ValueLog10(const TValue& a);
// "log" with two arguments: the logarithm of value to the base base.
TValue ValueLogBase(const TValue& base, const TValue& value);

// "Sqrt": √x for x ≥ 0; the pair (0, √−x) for x < 0 only in complex mode
// with AllowSqrtN.
TValue ValueSqrt(const TValue& a);
// "Cbrt": the real cube root, with the sign of x.
TValue ValueCbrt(const TValue& a);
// 1/a for a real; the complex reciprocal of a pair in complex mode; 0 gives
// undefined. Division and the complex formulas go through it.
TValue ValueReciprocal(const TValue& a);

// "abs": |x| of a real, the length of a pair (a real).
TValue ValueAbs(const TValue& a);
// "_", the unary minus: negates both parts of a defined value of any kind.
TValue ValueNegate(const TValue& a);
// "conj": a defined pair with y negated; anything else unchanged.
TValue ValueConj(const TValue& a);
// "sign" and "unit": −1, 0 or 1 for a real; v/|v| for a pair, (0, 0) when
// |v| < 1E-17.
TValue ValueSign(const TValue& a);
// "roll": the pair (cos t, sin t), t in the angle unit.
TValue ValueRoll(const TValue& a);
// "°": degrees to radians in radian mode; unchanged in degree mode.
TValue ValueDegToRad(const TValue& a);
