#pragma once

#include <cstdint>

// The nearest integer, halves to even. Saturates at the int range; NaN gives
// INT_MIN, which every caller's bounds check rejects.
int NearestInt(long double x);
std::int64_t NearestInt64(long double x);
// True when x is a whole number that fits an int (used to refuse "1e30" as a count).
bool FitsInt(long double x);

int SignOf(long double x);
bool SameDouble(long double a, long double b);

// Puts the smaller value first.
void SortExtendedPair(long double& a, long double& b);
// Puts the larger value first.
void SortIntPairDesc(int& a, int& b);

// 2^n rounded to the nearest integer (0 for n < 0), saturating at the int range.
int PowerOfTwo(int n);
// log2 of n rounded to the nearest integer; 0 for n < 1.
int RoundLog2(int n);
// |x| <= 1E-11.
bool IsNearZero(long double x);

// x as a fraction num/den (den > 0) by continued fractions. False, with
// num = 0 and den = 1, when the expansion does not end within 35 terms or
// when the integer part or a numerator does not fit 64 bits.
bool FloatToFraction(long double x, std::int64_t& num, std::int64_t& den);
