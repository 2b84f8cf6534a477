#include "engine/Calculus.h"

#include "engine/TokenTable.h"
#include "model/BuiltinsGeometry.h"
#include "model/BuiltinsOperators.h"
#include "model/DocumentState.h"
#include "model/ViewRange.h"

#include <QString>

#include <algorithm>
#include <cmath>

TCalculusTables CalculusTables;

namespace {

long double DerivWeight1(long double p, long double q, long double c)
{
    return p * p * q * q / (2.0L * c * (c * c - q * q) * (c * c - p * p));
}

long double DerivWeight2(long double p, long double q, long double c)
{
    return p * p * q * q / (c * c * (c * c - q * q) * (c * c - p * p));
}

// Samples x + c h with c from -1 to 1; the fractions of h.
constexpr long double C1 = 1.0L / 64.0L;
constexpr long double C2 = 1.0L / 32.0L;
constexpr long double C3 = 1.0L;

void InitDerivativeWeights(TCalculusTables& t)
{
    t.DerivStepOffsets = {-C3, -C2, -C1, 0.0L, C1, C2, C3};
    const long double w1[3] = {DerivWeight1(C2, C3, C1), DerivWeight1(C1, C3, C2), DerivWeight1(C1, C2, C3)};
    const long double w2[3] = {DerivWeight2(C2, C3, C1), DerivWeight2(C1, C3, C2), DerivWeight2(C1, C2, C3)};
    // Index k of the offsets: 0..2 are -C3, -C2, -C1; 4..6 are C1, C2, C3.
    const int fraction[7] = {2, 1, 0, -1, 0, 1, 2};
    for (int k = 0; k < 7; ++k) {
        if (k == 3) {
            t.DerivWeights[1][k] = 0.0L;
            t.DerivWeights[2][k] = -2.0L * (1.0L / (C1 * C1) + 1.0L / (C2 * C2) + 1.0L / (C3 * C3));
            continue;
        }
        const long double sign = k < 3 ? -1.0L : 1.0L;
        t.DerivWeights[1][k] = sign * w1[fraction[k]];
        t.DerivWeights[2][k] = w2[fraction[k]];
    }
}

// Polynomial fits from the samples f(-3) .. f(3).
constexpr int PolyFitMatrix6[7][7] = {
    {0, 0, 0, 720, 0, 0, 0},          {-12, 108, -540, 0, 540, -108, 12}, {4, -54, 540, -980, 540, -54, 4},
    {15, -120, 195, 0, -195, 120, -15}, {-5, 60, -195, 280, -195, 60, -5}, {-3, 12, -15, 0, 15, -12, 3},
    {1, -6, 15, -20, 15, -6, 1},
};
constexpr int PolyFitMatrix4[7][7] = {
    {0, 0, 0, 24, 0, 0, 0}, {0, 2, -16, 0, 16, -2, 0}, {0, -1, 16, -30, 16, -1, 0}, {0, -2, 4, 0, -4, 2, 0},
    {0, 1, -4, 6, -4, 1, 0}, {0, 0, 0, 0, 0, 0, 0},    {0, 0, 0, 0, 0, 0, 0},
};

constexpr long double FitCheckFractions[9] = {0.42L, 0.69L, 0.09L, 0.57L, 0.79L, 0.92L, 0.31L, 0.68L, 0.48L};
constexpr long double FitTolerance = 1E-8L;

TValue RealZero()
{
    return ValueReal(0.0L);
}

long double SnapSmall(long double v)
{
    return std::fabs(v) < 1E-9L ? 0.0L : v;
}

} // namespace

void InitGaussLegendre()
{
    TCalculusTables& t = CalculusTables;
    const long double s70 = std::sqrt(70.0L);
    const long double a = std::sqrt((35.0L - 2.0L * s70) / 63.0L);
    const long double b = std::sqrt((35.0L + 2.0L * s70) / 63.0L);
    const long double nodes[5] = {-b, -a, 0.0L, a, b};
    const long double outer = (322.0L - 13.0L * s70) / 900.0L;
    const long double inner = (322.0L + 13.0L * s70) / 900.0L;
    const long double weights[5] = {outer, inner, 128.0L / 225.0L, inner, outer};
    for (int k = 1; k <= 5; ++k) {
        t.GaussNodes[k] = nodes[k - 1];
        t.GaussWeights[k] = weights[k - 1];
    }
    InitDerivativeWeights(t);
}

TIntegralStart IntegralStart(const TValue& a, const TValue& b)
{
    TIntegralStart s;
    s.Slices = std::clamp(DocumentTables.IntegralInterval.sliceNo, 1, 200);
    s.BoundsOk = a.Defined && b.Defined;
    if (s.BoundsOk) {
        s.Half = (b.X - a.X) / s.Slices / 2.0L;
        s.Mid = a.X + s.Half;
        s.Current = s.Half * CalculusTables.GaussNodes[1] + s.Mid;
    }
    return s;
}

// ----- TLgrComp ---------------------------------------------------------------

void TLgrComp::DivideByNodeProducts()
{
    for (int i = 0; i <= Degree; ++i) {
        for (int j = 0; j <= Degree; ++j) {
            if (j != i)
                Weights[i] /= Nodes[i] - Nodes[j];
        }
    }
}

void TLgrComp::Build(const TFormulaView& expression, const TValue& y, long double first, long double last,
                     const TValue& z, const TValue& w, const TEvalEnv& env)
{
    Expr = expression;
    Env = &env;
    NodeFirst = first;
    NodeLast = last;
    Valid = Degree >= 1 && Degree <= MaxDegree;
    if (!Valid)
        return;
    if (first == last) {
        for (int k = 0; k <= Degree; ++k) {
            Nodes[k] = k;
            Weights[k] = 0.0L;
        }
        return;
    }
    for (int k = 0; k <= Degree; ++k) {
        Nodes[k] = (k * last + (Degree - k) * first) / Degree;
        const TValue v = EvaluatePostfix(expression, ValueReal(Nodes[k]), y, z, w, env);
        if (v.Defined)
            Weights[k] = v.X;
        else
            Valid = false;
    }
    if (!Valid)
        return;
    DivideByNodeProducts();
    InY = y;
    InZ = z;
    InW = w;
    Valid = CheckFit();
}

void TLgrComp::BuildFromPoints(std::span<const TValue> xs, std::span<const TValue> ys)
{
    Valid = !xs.empty() && xs.size() == ys.size() && static_cast<int>(xs.size()) - 1 <= MaxDegree;
    if (!Valid)
        return;
    Degree = static_cast<int>(xs.size()) - 1;
    for (std::size_t i = 0; i < xs.size() && Valid; ++i) {
        Valid = xs[i].Defined && ys[i].Defined;
        for (std::size_t j = 0; j < i && Valid; ++j)
            Valid = xs[j].X != xs[i].X;
    }
    if (!Valid)
        return;
    for (int i = 0; i <= Degree; ++i) {
        Nodes[i] = xs[i].X;
        Weights[i] = ys[i].X;
    }
    DivideByNodeProducts();
}

TValue TLgrComp::Evaluate(long double t) const
{
    if (!Valid)
        return ValueUndefined(KindReal);
    long double sum = 0.0L;
    for (int i = 0; i <= Degree; ++i) {
        long double term = Weights[i];
        for (int j = 0; j <= Degree; ++j) {
            if (j != i)
                term *= t - Nodes[j];
        }
        sum += term;
    }
    return ValueReal(sum);
}

bool TLgrComp::CheckFit() const
{
    for (const long double fraction : FitCheckFractions) {
        const long double t = NodeLast + (NodeFirst - NodeLast) * fraction;
        const TValue v = EvaluatePostfix(Expr, ValueReal(t), InY, InZ, InW, *Env);
        if (!v.Defined || !(std::fabs(v.X - Evaluate(t).X) < FitTolerance))
            return false;
    }
    return true;
}

TValue TLgrComp::IntegrateFromZero(const TValue& x) const
{
    if (!Valid || !x.Defined || Degree != 8)
        return ValueUndefined(KindReal);
    long double f[9];
    for (int k = 0; k <= 8; ++k)
        f[k] = Evaluate((8 - k) * x.X / 8.0L).X;
    const long double sum = (f[0] + f[8]) * 989.0L + (f[1] + f[7]) * 5888.0L - (f[2] + f[6]) * 928.0L
                            + (f[3] + f[5]) * 10496.0L - f[4] * 4540.0L;
    return ValueReal(sum * x.X / 28350.0L);
}

// ----- derivatives and antiderivatives -------------------------------------

namespace {

// The seven samples around x with step h; false at the first undefined one.
bool SampleAround(const TFormulaView& expression, long double x, long double h, const TValue& y, const TValue& z,
                  const TValue& w, const TEvalEnv& env, TValue (&samples)[7])
{
    for (int k = 0; k < 7; ++k) {
        samples[k] = EvaluatePostfix(expression, ValueReal(x + CalculusTables.DerivStepOffsets[k] * h), y, z, w, env);
        if (!samples[k].Defined)
            return false;
    }
    return true;
}

} // namespace

TValue DerivativeValue(int order, const TFormulaView& expression, const TValue& x, const TValue& y, const TValue& z,
                       const TValue& w, const TEvalEnv& env)
{
    if (!x.Defined || (order != 1 && order != 2))
        return ValueUndefined(KindReal);
    TValue samples[7];
    long double h = 1.0L / 64.0L;
    if (!SampleAround(expression, x.X, h, y, z, w, env, samples)) {
        // Next to a pole: retry with a step of a tenth of a pixel.
        if (ViewRange.XPixels <= 0)
            return ValueUndefined(KindReal);
        h = (ViewRange.XHigh - ViewRange.XLow) / ViewRange.XPixels / 10.0L;
        if (!(h > 0.0L) || !SampleAround(expression, x.X, h, y, z, w, env, samples))
            return ValueUndefined(KindReal);
    }
    TValue result = samples[3].Kind == KindPair ? ValuePoint(0.0L, 0.0L) : ValueReal(0.0L);
    const std::array<long double, 7>& weights = CalculusTables.DerivWeights[order];
    long double sx = 0.0L, sy = 0.0L;
    for (int k = 0; k < 7; ++k) {
        sx += weights[k] * samples[k].X;
        sy += weights[k] * samples[k].Y;
    }
    result.X = sx / h;
    if (result.Kind == KindPair)
        result.Y = sy / h;
    if (order == 2)
        result = ValueMultiply(ValueReal(1.0L / h), result);
    return ValueCheckRange(result) ? result : ValueUndefined(result.Kind);
}

TValue AntiderivativeValue(const TFormulaView& expression, const TValue& x, const TValue& y, const TValue& z,
                           const TValue& w, const TEvalEnv& env)
{
    if (!x.Defined || !y.Defined || !z.Defined || !w.Defined)
        return ValueUndefined(KindReal);
    TLgrComp fit;
    fit.Degree = 8;
    // For small x the nodes reach out to 5 so that they never collapse.
    fit.Build(expression, y, std::fabs(x.X) > 1.0L ? x.X : 5.0L, 0.0L, z, w, env);
    return fit.Valid ? fit.IntegrateFromZero(x) : ValueUndefined(KindReal);
}

// ----- cof, sol, path ---------------------------------------------------------

bool FitCoefficients(const TFormulaView& expression, std::array<long double, 7>& c, const TEvalEnv& env)
{
    c.fill(0.0L);
    TLgrComp sixth;
    sixth.Degree = 6;
    sixth.Build(expression, RealZero(), 3.0L, -3.0L, RealZero(), RealZero(), env);
    bool ok = sixth.Valid;
    long double f[7];
    const TValue y = ValueReal(env.Value(0));
    for (int j = 0; j < 7 && ok; ++j) {
        const TValue v = EvaluatePostfix(expression, ValueReal(j - 3.0L), y, RealZero(), RealZero(), env);
        ok = v.Defined;
        f[j] = v.X;
    }
    if (!ok)
        return false;
    TLgrComp fourth;
    fourth.Degree = 4;
    fourth.Build(expression, RealZero(), 3.0L, -3.0L, RealZero(), RealZero(), env);
    const auto& matrix = fourth.Valid ? PolyFitMatrix4 : PolyFitMatrix6;
    const long double divisor = fourth.Valid ? 24.0L : 720.0L;
    for (int i = 0; i < 7; ++i) {
        long double sum = 0.0L;
        for (int j = 0; j < 7; ++j)
            sum += matrix[i][j] * f[j];
        c[i] = sum / divisor;
        if (std::fabs(c[i]) < 1E-10L)
            c[i] = 0.0L;
    }
    return true;
}

TValue CofValue(int k, const TFormulaView& expression, const TEvalEnv& env)
{
    std::array<long double, 7> c;
    if (k < 0 || k >= 7 || !FitCoefficients(expression, c, env))
        return ValueUndefined(KindReal);
    return ValueReal(c[k]);
}

TValue SolValue(const TFormulaView& expression, int k, const TValue& y, const TValue& z, const TValue& w,
                const TEvalEnv& env)
{
    // left = right is solved as left - right = 0.
    QString code = expression.Code.toString();
    const qsizetype eq = code.lastIndexOf(QChar(TokenCodes.Equal));
    if (eq >= 0)
        code[eq] = QChar(TokenCodes.Minus);
    const TFormulaView difference{code, expression.ConstValues};

    TLgrComp fit;
    fit.Degree = 4;
    fit.Build(difference, y, 2.0L, -1.0L, z, w, env);
    if (!fit.Valid)
        return ValueUndefined(KindReal);
    long double f[5];
    for (int t = -2; t <= 2; ++t) {
        const TValue v = EvaluatePostfix(difference, ValueReal(t), y, z, w, env);
        if (!v.Defined)
            return ValueUndefined(KindReal);
        f[t + 2] = v.X;
    }
    const long double c0 = f[2];
    auto d = [&](int t) { return f[t + 2] - c0; };
    long double a = (d(1) + d(-1)) / 2.0L;
    long double b = (d(2) + d(-2)) / 8.0L;
    const long double c4 = SnapSmall((b - a) / 3.0L);
    long double c2 = a - c4;
    a = (d(1) - d(-1)) / 2.0L;
    b = (d(2) - d(-2)) / 4.0L;
    long double c3 = (b - a) / 3.0L;
    if (c4 == 0.0L)
        c3 = SnapSmall(c3);
    const long double c1 = a - c3;
    if (c4 == 0.0L && c3 == 0.0L)
        c2 = SnapSmall(c2);
    return SolveQuartic(k, c4, c3, c2, c1, c0);
}

TValue PathValue(const TValue& t, std::span<const TValue> points)
{
    if (NotRealValue(t) || points.size() < 2 || points.size() > TLgrComp::MaxDegree + 1)
        return ValueUndefined(KindReal);
    TValue xs[TLgrComp::MaxDegree + 1];
    TValue ys[TLgrComp::MaxDegree + 1];
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TValue& p = points[i];
        if (p.Kind != KindPair || !p.Defined)
            return ValueUndefined(KindReal);
        xs[i] = ValueReal(p.X);
        ys[i] = ValueReal(p.Y);
    }
    TLgrComp fit;
    fit.BuildFromPoints(std::span<const TValue>(xs, points.size()), std::span<const TValue>(ys, points.size()));
    return fit.Evaluate(t.X);
}
