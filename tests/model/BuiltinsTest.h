#pragma once

// Shared pieces of the built-in tests: a fixture that starts every test from
// the default options, short value constructors, argument lists in the
// evaluator's reversed order, and checks that print the whole value.

#include "model/Options.h"
#include "model/Value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <sstream>
#include <vector>

class BuiltinsTest : public ::testing::Test {
protected:
    void SetUp() override { Options.Reset(); }
    void TearDown() override { Options.Reset(); }

    static void UseDegrees() { Options.AngleMode = 2; }
    static void UseComplex() { Options.ComplexMode = 1; }
};

namespace testvalues {

inline TValue Real(long double x)
{
    return ValueReal(x);
}
inline TValue Pair(long double x, long double y)
{
    return ValuePoint(x, y);
}
inline TValue Undefined(std::uint8_t kind = KindReal)
{
    return ValueUndefined(kind);
}

// The arguments as written, handed over as the evaluator pops them: last first.
inline std::vector<TValue> Args(std::initializer_list<TValue> written)
{
    return std::vector<TValue>(std::rbegin(written), std::rend(written));
}

inline std::string Describe(const TValue& v)
{
    std::ostringstream out;
    out.precision(21);
    out << "{kind " << int(v.Kind) << ", " << v.X << ", " << v.Y << (v.Defined ? ", defined}" : ", undefined}");
    return out.str();
}

inline bool Near(long double actual, long double expected, long double tolerance)
{
    return tolerance == 0.0L ? actual == expected : std::fabs(actual - expected) <= tolerance;
}

// A defined real x (within tolerance; exactly when it is 0).
inline ::testing::AssertionResult IsReal(const TValue& v, long double x, long double tolerance = 0.0L)
{
    if (v.Defined && v.Kind == KindReal && Near(v.X, x, tolerance))
        return ::testing::AssertionSuccess();
    std::ostringstream want;
    want.precision(21);
    want << x;
    return ::testing::AssertionFailure() << Describe(v) << " is not the real " << want.str();
}

// A defined pair (x, y) (within tolerance; exactly when it is 0).
inline ::testing::AssertionResult IsPair(const TValue& v, long double x, long double y,
                                         long double tolerance = 0.0L)
{
    if (v.Defined && v.Kind == KindPair && Near(v.X, x, tolerance) && Near(v.Y, y, tolerance))
        return ::testing::AssertionSuccess();
    std::ostringstream want;
    want.precision(21);
    want << "(" << x << ", " << y << ")";
    return ::testing::AssertionFailure() << Describe(v) << " is not the pair " << want.str();
}

inline ::testing::AssertionResult IsUndefined(const TValue& v)
{
    if (!v.Defined && v.X == 0.0L && v.Y == 0.0L)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Describe(v) << " is not undefined";
}

// A failed call and the kind its undefined result must have.
struct FailureKindCase {
    const char* call;
    TValue result;
    std::uint8_t kind;
};

inline void ExpectFailureKinds(std::initializer_list<FailureKindCase> cases)
{
    for (const FailureKindCase& c : cases) {
        EXPECT_TRUE(IsUndefined(c.result)) << c.call;
        EXPECT_EQ(int(c.result.Kind), int(c.kind)) << c.call;
    }
}

} // namespace testvalues
