#pragma once

#include "engine/Evaluator.h"
#include "model/OffsetArray.h"
#include "model/Value.h"

#include <array>
#include <span>

// Constants of the definite integral (5-point Gauss-Legendre) and of the
// derivatives (Richardson extrapolation of three central differences).
struct TCalculusTables {
    TOffsetArray<long double, 1, 5> GaussNodes;
    TOffsetArray<long double, 1, 5> GaussWeights;
    std::array<long double, 7> DerivStepOffsets{};
    // Rows 1 and 2: weights of the seven samples for f' and f''.
    TOffsetArray<std::array<long double, 7>, 1, 2> DerivWeights;
};
extern TCalculusTables CalculusTables;

void InitGaussLegendre();

// The interpolating polynomial of a formula over equally spaced nodes, or
// of given points, in Lagrange form, with a check that the formula really
// is that polynomial.
class TLgrComp {
public:
    static constexpr int MaxDegree = 14;

    int Degree = 0;
    std::array<long double, MaxDegree + 1> Nodes{};
    std::array<long double, MaxDegree + 1> Weights{};
    bool Valid = false;
    long double NodeFirst = 0.0L;
    long double NodeLast = 0.0L;
    TFormulaView Expr;
    TValue InY, InZ, InW;
    const TEvalEnv* Env = &DocumentEvalEnv; // the parameters Expr is evaluated with

    // Samples the formula at Degree + 1 nodes from first to last, with the
    // parameters of env, which must outlive the object.
    void Build(const TFormulaView& expression, const TValue& y, long double first, long double last,
               const TValue& z, const TValue& w, const TEvalEnv& env);
    // The polynomial through the points (xs[i], ys[i]).
    void BuildFromPoints(std::span<const TValue> xs, std::span<const TValue> ys);
    TValue Evaluate(long double t) const;
    bool CheckFit() const;
    // The integral from 0 to x (closed 9-point Newton-Cotes; Degree 8 only).
    TValue IntegrateFromZero(const TValue& x) const;

private:
    void DivideByNodeProducts();
};

// Where the composite Gauss rule of an Intgr binder starts: N partitions of
// [a, b] (the document's partition count, clamped to 1..200), the half
// width h, the first midpoint and the first node.
struct TIntegralStart {
    int Slices = 1;
    bool BoundsOk = false;
    long double Half = 0.0L;
    long double Mid = 0.0L;
    long double Current = 0.0L;
};
TIntegralStart IntegralStart(const TValue& a, const TValue& b);

// The routines below evaluate the formula with the parameters of env.

// f' (order 1) and f'' (order 2) of a formula at x.
TValue DerivativeValue(int order, const TFormulaView& expression, const TValue& x, const TValue& y,
                       const TValue& z, const TValue& w, const TEvalEnv& env);
// The integral of a formula from 0 to x.
TValue AntiderivativeValue(const TFormulaView& expression, const TValue& x, const TValue& y, const TValue& z,
                           const TValue& w, const TEvalEnv& env);
// Coefficients c[0..6] of a formula that is a polynomial of degree at most 6
// (y the environment's y).
bool FitCoefficients(const TFormulaView& expression, std::array<long double, 7>& c, const TEvalEnv& env);
// Coefficient of x^k, k = 0..6.
TValue CofValue(int k, const TFormulaView& expression, const TEvalEnv& env);
// Root number k of an equation "left = right" that is a polynomial of degree at most 4.
TValue SolValue(const TFormulaView& expression, int k, const TValue& y, const TValue& z, const TValue& w,
                const TEvalEnv& env);
// The polynomial through the points, read as y over x, at t.
TValue PathValue(const TValue& t, std::span<const TValue> points);
