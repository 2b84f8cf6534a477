#pragma once

// Sine, cosine, e^x, ln, powers and arc tangents in 80-bit extended
// precision, several times faster than the C library's long double routines
// and more accurate (within 1 ulp, nearly all results correctly rounded).
// Every evaluator computes through these, so that the scalar, array and
// block machines agree to the bit.
//
// The argument is reduced by a constant carried in several parts, or by
// points of a table, and the reduced argument kept in two parts; short
// series do the rest. Each kernel is written for the x87's eight registers:
// a value spilled to memory costs more than the arithmetic on it. Arguments
// beyond the reach of the reductions (|x| >= 2^24 for sine and cosine,
// results near the ends of the exponent range), NaN and infinities go to the
// C library. Only x87 arithmetic is used (any x86-64 processor), with no
// change of the rounding mode: the default round-to-nearest is assumed.

struct TSinCos {
    long double Sin = 0.0L;
    long double Cos = 1.0L;
};

long double SinL(long double x);
long double CosL(long double x);
TSinCos SinCosL(long double x);
// The same with the argument in degrees: whole multiples of 90° are reduced
// exactly, so that sin 30° = 0.5 and cos 90° = 0.
long double SinDegreesL(long double degrees);
long double CosDegreesL(long double degrees);
TSinCos SinCosDegreesL(long double degrees);

// e^x.
long double ExpL(long double x);
// ln x; x <= 0 gives −inf or NaN as the C library does.
long double LnL(long double x);
// a^b for a > 0 (other bases go to the C library).
long double PowL(long double a, long double b);

// atan x.
long double AtanL(long double x);
// The angle of the vector (x, y) from the positive x axis, in [−π, π]: the
// C library's atan2 (the same for zeros, infinities and NaN).
long double Atan2L(long double y, long double x);
// The same in [0, 2π): a whole turn on below the x axis.
long double FullTurnAngleL(long double y, long double x);
