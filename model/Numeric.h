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
