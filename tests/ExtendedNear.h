#pragma once

// EXPECT_NEAR for extended precision: the values and the tolerance stay
// long double, so a test can tell 80-bit accuracy from 64-bit accuracy.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

inline ::testing::AssertionResult ExtendedNear(const char* actualText, const char* expectedText, const char*,
                                               long double actual, long double expected, long double tolerance)
{
    const long double difference = std::fabs(actual - expected);
    if (difference <= tolerance)
        return ::testing::AssertionSuccess();
    std::ostringstream out;
    out.precision(21);
    out << actualText << " = " << actual << " differs from " << expectedText << " = " << expected << " by "
        << difference << ", more than " << tolerance;
    return ::testing::AssertionFailure() << out.str();
}

#define EXPECT_EXTENDED_NEAR(actual, expected, tolerance) \
    EXPECT_PRED_FORMAT3(ExtendedNear, actual, expected, tolerance)
