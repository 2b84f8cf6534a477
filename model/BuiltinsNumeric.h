#pragma once

// The numeric built-ins of the formula language: rounding, integer
// arithmetic, factorial, Gamma and Beta, maximum and minimum, random numbers,
// and the functions that read program state (a held key, the table sheet,
// the view's ranges). Undefined values stand for every failure.

#include "model/Value.h"

#include <cstdint>
#include <span>

// The floor of x + 1E-9: a value just below a whole number counts as it.
long double FloorWithTolerance(long double x);

// "int": floor with tolerance. "round": halves away from zero. "frc": x minus
// its floor with tolerance, never negative.
TValue ValueInt(const TValue& a);
TValue ValueRound(const TValue& a);
TValue ValueFrc(const TValue& a);
// "rnd": for n = nearest(x) ≥ 1, a uniform real in [0, 1) when n is 1, else
// a uniform whole number 0 .. n − 1.
TValue ValueRnd(const TValue& a);
// Restarts the generator behind "rnd" from a fixed seed (tests, scripts that
// want repeatable runs). Without it the generator is seeded once at random.
void SeedRandom(std::uint64_t seed);

// "mod": floored remainder, with the sign of the divisor.
TValue ValueMod(const TValue& a, const TValue& b);
// "gcd", "lcm" of the nearest whole numbers; a zero operand gives undefined.
TValue ValueGcd(const TValue& a, const TValue& b);
TValue ValueLcm(const TValue& a, const TValue& b);
// "nCr": the binomial coefficient.
TValue ValueNCr(const TValue& n, const TValue& r);
// "!": n! for 0 ≤ x ≤ 1750.
TValue ValueFactorial(const TValue& a);
// "Gamma" and "Beta"; both return within microseconds for any argument.
TValue ValueGamma(const TValue& a);
TValue ValueBeta(const TValue& a, const TValue& b);

// "max", "min" over the defined reals of the list (reversed, as the
// evaluator hands it over); any argument that is not a real gives undefined.
TValue FuncMax(std::span<const TValue> args);
TValue FuncMin(std::span<const TValue> args);

// "Pressed": 1 while the key with that Windows virtual-key number is down.
TValue ValuePressed(const TValue& a);
// "Cells": the table cell [row, column]; "CellsP": the pair of the cells
// [row, column] and [row, column + 1].
TValue FuncCells(const TValue& row, const TValue& column);
TValue FuncCellsP(const TValue& row, const TValue& column);
// "area": 0, 1, 2, 3 give the view's x low, y low, x high and y high.
TValue ValueArea(const TValue& k);
