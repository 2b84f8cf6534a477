#include "render/plot/Loci.h"

#include "engine/ArrayEvaluator.h"
#include "engine/Evaluator.h"
#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/BuiltinsElementary.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <QStringView>
#include <algorithm>
#include <cmath>
#include <span>

TLocuses Locuses;

void ResetLocuses()
{
    Locuses.Reset();
}

void AddLocusPoint(Tlocus& locus, const TValue& x, const TValue& y, long double t)
{
    if (locus.Count >= MaxLocusPoints)
        return;
    if (locus.Count >= static_cast<int>(locus.Items.size()))
        locus.Items.resize(locus.Items.size() + LocusGrowth);
    const bool defined = x.Defined && y.Defined;
    locus.Items[static_cast<size_t>(locus.Count++)] =
        TLocusPoint{defined ? x.X : 0.0L, defined ? y.X : 0.0L, t, static_cast<std::uint8_t>(defined ? 1 : 0)};
}

std::vector<long double> LocusParameterValues(long double low, long double high, long double step)
{
    std::vector<long double> values;
    if (!(std::isfinite(low) && std::isfinite(high) && std::isfinite(step)) || !(low < high) || !(step > 0.0L))
        return values;
    long double previous = low;
    values.push_back(low);
    for (long long k = 1; values.size() < MaxLocusPoints; ++k) {
        // From Low each time: adding the step again and again would drift.
        const long double t = low + static_cast<long double>(k) * step;
        if (!(t < high) || !(t > previous))
            break;
        values.push_back(t);
        previous = t;
    }
    if (values.size() < MaxLocusPoints)
        values.push_back(high);
    return values;
}

TLocusSources LocusSourcesOf(const ScaleT& view)
{
    return {&view.PointStates, view.XAxis.Low, view.XAxis.High, view.YAxis.UnitsPerPixel};
}

namespace {

// The formulas a curve's points come from.
struct CurveFormulas {
    bool Polar = false;
    bool CircleMode2 = false; // polar points of negative radius are left out
    const TKavirofunction* First = nullptr;  // polar: r; vector form: the point; else x
    const TKavirofunction* Second = nullptr; // the y formula of the two-formula form

    explicit CurveFormulas(const TPointFunction& object)
    {
        if (object.Kind == ObjectPolar) {
            Polar = true;
            CircleMode2 = Options.CircleMode == 2;
            First = &object.R;
        } else if (object.Dimension == 2) {
            First = &object.Pos;
        } else {
            First = &object.X;
            Second = &object.Y;
        }
    }
};

// The point of a polar curve at angle t in the angle unit; a negative radius
// goes through the pole to the opposite side unless circle mode 2 leaves it out.
void PolarPoint(const TValue& r, long double t, bool circleMode2, TValue& x, TValue& y)
{
    const bool usable = r.Defined && r.Kind == KindReal && !(circleMode2 && r.X < 0.0L);
    if (!usable) {
        x = y = ValueUndefined(KindReal);
        return;
    }
    const TSinCos sc = SinCosOfAngle(t);
    x = ValueReal(SnapToInteger(r.X * sc.Cos));
    y = ValueReal(SnapToInteger(r.X * sc.Sin));
}

// A vector-form result as a point: complex numbers count as points in
// complex mode.
void SplitPoint(TValue v, TValue& x, TValue& y)
{
    if (Options.ComplexMode)
        v = ValueToPoint(v);
    if (!v.Defined || v.Kind != KindPair) {
        x = y = ValueUndefined(KindReal);
        return;
    }
    x = ValueReal(v.X);
    y = ValueReal(v.Y);
}

TValue Coordinate(const TValue& v)
{
    return v.Defined ? ValueReal(v.X) : ValueUndefined(KindReal);
}

// The parameter slot 1..14 of a curve's parameter letter; 0 when it names none.
int ParamSlotOf(char16_t letter)
{
    const int slot = PrmIndex(QStringView(&letter, 1));
    return slot >= 1 ? slot : 0;
}

// A real bound of the interval, or nothing.
bool EvaluateBound(const TKavirofunction& f, const TEvalEnv& env, long double& value)
{
    const TValue v = EvaluateExpression(f, ValueUndefined(KindReal), env);
    value = v.X;
    return v.Defined && v.Kind == KindReal;
}

// One formula at every parameter value of a batch, then the batch's points.
class ArrayLocus {
public:
    ArrayLocus(const CurveFormulas& formulas, const TLocusSources& sources, int slot)
        : formulas_(formulas)
        , slot_(slot)
        , env_(*sources.Env)
    {
        view_.YUnitsPerPixel = sources.YUnitsPerPixel;
        view_.PointStates = sources.PointStates;
        view_.XAxis.Low = sources.XLow;
        view_.XAxis.High = sources.XHigh;
    }

    void Add(std::span<const long double> ts, Tlocus& locus)
    {
        const int n = static_cast<int>(ts.size());
        // The columns 0 .. n - 1 of an axis of our own stand for the values.
        view_.XAxis.Vlow = 0;
        view_.XAxis.VHigh = n - 1;
        long double* t = params_.XLane();
        for (int c = 0; c < n; ++c)
            t[c] = ts[static_cast<size_t>(c)];
        std::fill_n(params_.KindLane(), n, KindReal);
        std::fill_n(params_.DefinedLane(), n, std::uint8_t{1});
        // The curve's own x is its x formula; a free x has no value here.
        x_.Fill(0, n - 1, ValueUndefined(KindReal));

        EvaluateArrays(*formulas_.First, x_, view_, slot_, &params_, false, first_, env_);
        if (formulas_.Second)
            EvaluateArrays(*formulas_.Second, x_, view_, slot_, &params_, false, second_, env_);
        TValue px, py;
        for (int c = 0; c < n; ++c) {
            const long double tc = ts[static_cast<size_t>(c)];
            if (formulas_.Polar) {
                PolarPoint(first_.At(c), tc, formulas_.CircleMode2, px, py);
            } else if (formulas_.Second) {
                px = Coordinate(first_.At(c));
                py = Coordinate(second_.At(c));
            } else {
                SplitPoint(first_.At(c), px, py);
            }
            AddLocusPoint(locus, px, py, tc);
        }
    }

private:
    const CurveFormulas& formulas_;
    int slot_;
    const TEvalEnv& env_;
    TArrayView view_;
    // Kept between calls: the column arrays are large.
    static inline thread_local TColumnArray x_, params_, first_, second_;
};

// At most this many values go through the array evaluator at once: the
// columns of the widest view.
constexpr int LocusBatch = 1601;

void ComputeArrayLocus(const CurveFormulas& formulas, std::span<const long double> ts, int slot,
                       const TLocusSources& sources, Tlocus& locus)
{
    ArrayLocus batch(formulas, sources, slot);
    for (size_t from = 0; from < ts.size(); from += LocusBatch)
        batch.Add(ts.subspan(from, std::min<size_t>(LocusBatch, ts.size() - from)), locus);
}

void ComputeScalarLocus(const CurveFormulas& formulas, std::span<const long double> ts, int slot,
                        const TLocusSources& sources, Tlocus& locus)
{
    // The curve's parameter is bound to each value in turn.
    TEvalEnv atT = *sources.Env;
    const TValue none = ValueUndefined(KindReal);
    TValue px, py;
    for (const long double t : ts) {
        if (slot)
            atT.Bind(slot, t);
        const TValue first = EvaluateExpression(*formulas.First, none, atT);
        if (formulas.Polar) {
            PolarPoint(first, t, formulas.CircleMode2, px, py);
        } else if (formulas.Second) {
            px = Coordinate(first);
            py = Coordinate(EvaluateExpression(*formulas.Second, none, atT));
        } else {
            SplitPoint(first, px, py);
        }
        AddLocusPoint(locus, px, py, t);
    }
}

} // namespace

bool NeedsScalarLocus(const TPointFunction& object)
{
    const TNamedTokens& t = TokenCodes;
    const CurveFormulas formulas(object);
    for (const TKavirofunction* f : {formulas.First, formulas.Second}) {
        if (!f)
            continue;
        for (const TTokenCode binder : {t.Sum, t.Product, t.Intgr, t.Sol, t.Path})
            if (RefersToToken(binder, *f))
                return true;
    }
    return false;
}

void ComputeLocus(const TPointFunction& object, Tlocus& locus, const TLocusSources& sources, TLocusPath path)
{
    locus.Clear();
    const int slot = ParamSlotOf(object.ParamChar);
    locus.ParamSlot = slot;
    if (!IsCurveKind(object.Kind))
        return;
    long double low = 0.0L;
    long double high = 0.0L;
    if (!EvaluateBound(object.Low, *sources.Env, low) || !EvaluateBound(object.High, *sources.Env, high))
        return;
    const std::vector<long double> ts = LocusParameterValues(low, high, object.ParamStep);
    if (ts.empty())
        return;
    const CurveFormulas formulas(object);
    if (path == TLocusPath::Auto)
        path = NeedsScalarLocus(object) ? TLocusPath::Scalar : TLocusPath::Array;
    if (path == TLocusPath::Scalar)
        ComputeScalarLocus(formulas, ts, slot, sources, locus);
    else
        ComputeArrayLocus(formulas, ts, slot, sources, locus);
}

void ComputeLoci(TLocuses& loci, const TWideCharSet& changedNames, bool force, const TLocusSources& sources,
                 const TPointRecords& objects)
{
    for (int k = 1; k <= PointCount; ++k) {
        const TPointFunction& object = objects[k];
        const bool changed = force || CharSetHas(changedNames, Vocabulary.PointTokens[k]);
        if (!changed)
            continue;
        if (!IsCurveKind(object.Kind))
            loci.Items[k].Clear();
        else if (object.Shown || object.RAImg)
            ComputeLocus(object, loci.Items[k], sources);
    }
}

void ComputeLoci(const ScaleT& view, bool force)
{
    ComputeLoci(Locuses, RedrawState.ChangedNames, force, LocusSourcesOf(view));
}
