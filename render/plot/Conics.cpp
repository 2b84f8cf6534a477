// A relation piece of degree two at most in y with a constant y^2
// coefficient, solved column by column: f(x, y) = A y^2 + B y + C from its
// values at y = 0, 1 and -1.
#include "model/Numeric.h"
#include "render/plot/PolyLineBuffer.h"
#include "render/plot/RelationPlot.h"

#include <cmath>

namespace {

constexpr long double Tolerance = 1E-11L;

bool NearZero(long double v)
{
    return std::fabs(v) <= Tolerance;
}

// A column's value as the conic method reads it: a defined, finite real.
struct Sample {
    long double X = 0.0L;
    bool Ok = false;
};

Sample SampleAt(const TColumnArray& a, int c)
{
    const bool ok = a.Defined(c) && a.Kind(c) == KindReal && std::isfinite(a.X(c));
    return {a.X(c), ok};
}

void Store(TColumnArray& a, int c, long double v, bool ok)
{
    ok = ok && std::isfinite(v);
    a.XLane()[c] = ok ? v : 0.0L;
    a.DefinedLane()[c] = ok;
    a.KindLane()[c] = KindReal;
}

// The coefficients of every column -1 .. W + 1.
struct Coefficients {
    TColumnArray A;    // of y^2
    TColumnArray Beta; // minus half the coefficient of y
    TColumnArray C;    // the value at y = 0
};

void Solve(const TRelationGrid& grid, TRelationRows& rows, Coefficients& k)
{
    TColumnArray f0, f1, fm1;
    rows.EvaluateRelationColumns(0.0L, f0);
    rows.EvaluateRelationColumns(1.0L, f1);
    rows.EvaluateRelationColumns(-1.0L, fm1);
    for (int c = -1; c <= grid.W + 1; ++c) {
        const Sample s0 = SampleAt(f0, c);
        const Sample s1 = SampleAt(f1, c);
        const Sample sm = SampleAt(fm1, c);
        const bool ok = s0.Ok && s1.Ok && sm.Ok;
        Store(k.A, c, (s1.X + sm.X) / 2.0L - s0.X, ok);
        Store(k.Beta, c, (s1.X - sm.X) / -4.0L, ok);
        Store(k.C, c, s0.X, s0.Ok);
    }
}

// One point of a branch: a fractional column and a world y.
struct BranchPoint {
    long double Column = 0.0L;
    long double Y = 0.0L;
    bool Ok = false;
};

void StartPieces(const TPiecePens& pens)
{
    PolyLineBuffer.Init(pens.Main, pens.Trace, pens.Trace != nullptr, pens.OnlyTrace, TVPolyLine::DrawOutline,
                        TPolyFill::None, 0, 0, pens.Settings);
}

// The points in order, broken where a point is missing.
void DrawBranch(const TRelationGrid& grid, const std::vector<BranchPoint>& branch)
{
    bool broken = true;
    for (const BranchPoint& p : branch) {
        if (!p.Ok) {
            broken = true;
            continue;
        }
        const int x = NearestInt(grid.Magnification() * p.Column);
        const int y = grid.Mapping.Y.ValueToPixel(p.Y).Pixel;
        if (broken)
            PolyLineBuffer.Add(x, y);
        else
            PolyLineBuffer.AddPoint(x, y);
        broken = false;
    }
    PolyLineBuffer.Flush();
}

// The vertical line through a fractional column that lies in the view.
void DrawVerticalLine(const TRelationGrid& grid, long double column)
{
    const int rounded = NearestInt(column);
    if (rounded < 0 || rounded > grid.W)
        return;
    const int x = NearestInt(grid.Magnification() * column);
    PolyLineBuffer.Add(x, 0);
    PolyLineBuffer.AddPoint(x, grid.Magnify(grid.H));
    PolyLineBuffer.Flush();
}

// Two roots per column, meeting where the roots begin or end.
void DrawQuadratic(const TRelationGrid& grid, const Coefficients& k)
{
    const int first = -1;
    const int last = grid.W + 1;
    const size_t n = static_cast<size_t>(last - first + 1);
    std::vector<BranchPoint> upper(n), lower(n);
    std::vector<Sample> d(n), vertex(n);
    const auto slot = [first](int c) { return static_cast<size_t>(c - first); };
    for (int c = first; c <= last; ++c) {
        const Sample a = SampleAt(k.A, c);
        const Sample beta = SampleAt(k.Beta, c);
        const Sample cc = SampleAt(k.C, c);
        const bool ok = a.Ok && beta.Ok && cc.Ok && a.X != 0.0L;
        // The discriminant in real arithmetic; only a real root gives a point.
        const long double disc = beta.X * beta.X - a.X * cc.X;
        d[slot(c)] = {disc, ok && std::isfinite(disc)};
        vertex[slot(c)] = {beta.X / a.X, ok};
        if (d[slot(c)].Ok && disc >= 0.0L) {
            const long double root = std::sqrt(disc);
            upper[slot(c)] = {static_cast<long double>(c), (beta.X + root) / a.X, true};
            lower[slot(c)] = {static_cast<long double>(c), (beta.X - root) / a.X, true};
        }
    }
    for (int c = std::max(first + 1, 0); c <= last; ++c) {
        const Sample& d0 = d[slot(c - 1)];
        const Sample& d1 = d[slot(c)];
        const bool before = d0.Ok && d0.X >= 0.0L;
        const bool here = d1.Ok && d1.X >= 0.0L;
        if (before == here || !d0.Ok || !d1.Ok || !vertex[slot(c - 1)].Ok || !vertex[slot(c)].Ok)
            continue;
        const long double sum = std::fabs(d1.X) + std::fabs(d0.X);
        if (sum == 0.0L)
            continue;
        const long double t = std::fabs(d0.X) / sum;
        const BranchPoint turn{c - 1 + t, (1.0L - t) * vertex[slot(c - 1)].X + t * vertex[slot(c)].X, true};
        const size_t without = here ? slot(c - 1) : slot(c);
        upper[without] = turn;
        lower[without] = turn;
    }
    DrawBranch(grid, upper);
    DrawBranch(grid, lower);
}

// The sign of the second difference of the column solutions about k.
int BendAt(const TColumnArray& y, int k, int last)
{
    if (k - 1 < -1 || k + 1 > last)
        return 0;
    const Sample a = SampleAt(y, k - 1);
    const Sample b = SampleAt(y, k);
    const Sample c = SampleAt(y, k + 1);
    if (!a.Ok || !b.Ok || !c.Ok)
        return 0;
    const long double d = a.X - 2.0L * b.X + c.X;
    return d > 0.0L ? 1 : (d < 0.0L ? -1 : 0);
}

// y = -C / B per column, with the jumps to infinity at the column where B
// vanishes, and the vertical line there when the relation holds on it.
void DrawLinear(const TRelationGrid& grid, const Coefficients& k)
{
    TColumnArray y;
    for (int c = -1; c <= grid.W + 1; ++c) {
        const Sample beta = SampleAt(k.Beta, c);
        const Sample cc = SampleAt(k.C, c);
        Store(y, c, cc.X / (2.0L * beta.X), beta.Ok && cc.Ok && beta.X != 0.0L);
    }
    long double r1 = -1.0L;
    long double r2 = -1.0L;
    ColumnParabolaRoots(k.Beta, r1, r2);
    const int limit = grid.Mapping.Y.PixelLimit();
    const int step = grid.Magnify(1);
    const auto edge = [&](int c) {
        const int bend = c > 10 ? -BendAt(y, c - 2, grid.W + 1) : BendAt(y, c + 3, grid.W + 1);
        return bend * limit;
    };
    bool broken = true;
    const auto extend = [&](int x, int py) {
        if (broken)
            PolyLineBuffer.Add(x, py);
        else
            PolyLineBuffer.AddPoint(x, py);
        broken = false;
    };
    for (int c = 0; c <= grid.W; ++c) {
        const int x = grid.Magnify(c);
        if (std::fabs(c - r1) <= Tolerance) {
            if (const int e = edge(c); e != 0) {
                extend(x - step, e);
                PolyLineBuffer.Add(x + step, -e);
                continue;
            }
        }
        const Sample v = SampleAt(y, c);
        if (v.Ok)
            extend(x, grid.Mapping.Y.ValueToPixel(v.X).Pixel);
        else
            broken = true;
        if (c < r1 && r1 < c + 1 - Tolerance) {
            if (const int e = edge(c); e != 0) {
                extend(x, e);
                PolyLineBuffer.Add(x + step, -e);
            }
        }
    }
    PolyLineBuffer.Flush();

    long double q1 = -1.0L;
    long double q2 = -1.0L;
    const int count = ColumnParabolaRoots(k.C, q1, q2);
    const auto near = [r1](long double q) { return NearZero((r1 - q) / 100000.0L); };
    if (count == -1 || (count >= 1 && near(q1)) || (count == 2 && near(q2)))
        DrawVerticalLine(grid, r1);
}

// C(x) = 0: vertical lines at its roots.
void DrawDegenerate(const TRelationGrid& grid, const Coefficients& k)
{
    long double q1 = -1.0L;
    long double q2 = -1.0L;
    const int count = ColumnParabolaRoots(k.C, q1, q2);
    if (count >= 1)
        DrawVerticalLine(grid, q1);
    if (count == 2)
        DrawVerticalLine(grid, q2);
}

} // namespace

int ColumnParabolaRoots(const TColumnArray& g, long double& r1, long double& r2)
{
    r1 = -1.0L;
    r2 = -1.0L;
    const Sample s0 = SampleAt(g, 0);
    const Sample s50 = SampleAt(g, 50);
    const Sample s100 = SampleAt(g, 100);
    if (!s0.Ok || !s50.Ok || !s100.Ok)
        return 0;
    const long double g0 = s0.X;
    // g(x) = a x^2 - 2 b x + g0 through the three samples.
    const long double a = (g0 - 2.0L * s50.X + s100.X) / 5000.0L;
    const long double b = (10000.0L * a - s100.X + g0) / 200.0L;
    if (NearZero(a)) {
        if (!NearZero(b)) {
            r1 = g0 / (2.0L * b);
            return 1;
        }
        return NearZero(g0) ? -1 : 0;
    }
    const long double d = b * b - a * g0;
    if (d > Tolerance) {
        const long double root = std::sqrt(d);
        r1 = b / a + root / a;
        r2 = b / a - root / a;
        return 2;
    }
    if (d > -Tolerance) {
        r1 = b / a;
        return 1;
    }
    return 0;
}

void PlotConic(const TRelationGrid& grid, TRelationRows& rows, const TPiecePens& pens)
{
    Coefficients k;
    Solve(grid, rows, k);
    const Sample a = SampleAt(k.A, 1);
    if (!a.Ok)
        return;
    StartPieces(pens);
    if (!NearZero(a.X))
        DrawQuadratic(grid, k);
    else if (!NearZero(SampleAt(k.Beta, 1).X) || !NearZero(SampleAt(k.Beta, 10).X))
        DrawLinear(grid, k);
    else
        DrawDegenerate(grid, k);
}
