// The scan of a relation piece over the pixel grid, row by row: the values
// of a row (evaluated, interpolated between evaluated rows, or from the
// piece's interpolating polynomial), their signs, the contour cells between
// this row and the last, and the piece's bits where its inequality holds.
#include "engine/ParallelWork.h"
#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "platform/Clock.h"
#include "platform/InputState.h"
#include "render/plot/RelationPlot.h"
#include "render/view/ViewServices.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

TRelationGrid MakeRelationGrid(ScaleT& view, const TViewMapping& mapping, const TEvalEnv& env)
{
    TRelationGrid grid;
    grid.W = view.XAxis.VHigh;
    grid.H = view.YAxis.VHigh;
    grid.Mapping = mapping;
    grid.Rows = view.YAxis.Mapping(1);
    grid.ColumnX = &view.Columns.ColumnX();
    // One column beyond the view on either side, at the view's pixel width.
    const long double step = view.XAxis.UnitsPerPixel;
    grid.Arrays.XAxis = TColumnAxis{view.XAxis.Vlow - 1, view.XAxis.VHigh + 1, view.XAxis.Low - step,
                                    view.XAxis.High + step};
    grid.Arrays.YUnitsPerPixel = view.YAxis.UnitsPerPixel;
    grid.Arrays.Graphs = &view.Columns;
    grid.Arrays.PointStates = &view.PointStates;
    grid.Env = &env;
    return grid;
}

TRelationRows::TRelationRows(const TRelationGrid& grid, const TFormulaView& difference)
    : grid_(grid)
    , difference_(difference)
    , alone_(!ReadsChanceOrKeys(difference.Code) && !ReadsGraphColumns(difference.Code))
    , rows_(difference)
{
}

TRelationRows::~TRelationRows() = default;

void TRelationRows::EvaluateRelationColumns(long double y, TColumnArray& out)
{
    rows_.EvaluateRow(*grid_.ColumnX, grid_.Env->With(0, y), grid_.Arrays, out);
}

TRowEvaluator& TRelationRows::ForSlot(int slot)
{
    return slot == 0 ? rows_ : *slots_[static_cast<size_t>(slot - 1)];
}

bool TRelationRows::EvaluateRelationRows(std::span<const long double> ys, std::span<TColumnArray* const> outs,
                                         const std::function<void()>& alongside, int tasks,
                                         const std::function<void(int, int)>& task)
{
    const int count = static_cast<int>(ys.size());
    if (!alone_) {
        if (alongside)
            alongside();
        for (int k = 0; k < count; ++k)
            EvaluateRelationColumns(ys[static_cast<size_t>(k)], *outs[static_cast<size_t>(k)]);
        return RunInParallel(tasks, task);
    }
    while (static_cast<int>(slots_.size()) + 1 < WorkerThreadCount())
        slots_.push_back(std::make_unique<TRowEvaluator>(difference_));
    bool alongsideRun = false; // read and written on this thread (slot 0) only
    return RunInParallel(count + tasks, [&](int k, int slot) {
        if (slot == 0 && !alongsideRun) {
            alongsideRun = true;
            if (alongside)
                alongside();
        }
        if (k >= count) {
            task(k - count, slot);
            return;
        }
        const long double y = ys[static_cast<size_t>(k)];
        ForSlot(slot).EvaluateRow(*grid_.ColumnX, grid_.Env->With(0, y), grid_.Arrays, *outs[static_cast<size_t>(k)]);
    });
}

// ----- The polynomial and conic tests -----------------------------------------

namespace {

constexpr long double FitTolerance = 1E-11L;
constexpr int FitChecks = 30;
// The checks' pixels are the same every time, so a relation always takes
// the same method.
constexpr std::uint32_t FitSeed = 20131;

// Lagrange weights of pixel p against the sample positions.
std::array<long double, TPolynomialSamples::N> LagrangeWeights(int p, const std::array<int, TPolynomialSamples::N>& at)
{
    std::array<long double, TPolynomialSamples::N> w{};
    for (int k = 0; k < TPolynomialSamples::N; ++k) {
        long double product = 1.0L;
        for (int j = 0; j < TPolynomialSamples::N; ++j)
            if (j != k)
                product *= static_cast<long double>(p - at[j]) / static_cast<long double>(at[k] - at[j]);
        w[k] = product;
    }
    return w;
}

bool IsDefinedReal(const TValue& v)
{
    return v.Defined && v.Kind == KindReal;
}

} // namespace

std::array<long double, TPolynomialSamples::N> TPolynomialSamples::AtRow(int row) const
{
    const auto& wr = RowWeights[static_cast<size_t>(row)];
    std::array<long double, N> atRow{};
    for (int i = 0; i < N; ++i) {
        long double inner = 0.0L;
        for (int j = 0; j < N; ++j)
            inner += M[i][j] * wr[j];
        atRow[i] = inner;
    }
    return atRow;
}

long double TPolynomialSamples::At(int column, int row) const
{
    const auto& wc = ColumnWeights[static_cast<size_t>(column)];
    const std::array<long double, N> atRow = AtRow(row);
    long double sum = 0.0L;
    for (int i = 0; i < N; ++i)
        sum += atRow[i] * wc[i];
    return sum;
}

void TPolynomialSamples::Row(int row, long double* values) const
{
    const std::array<long double, N> atRow = AtRow(row);
    const int columns = static_cast<int>(ColumnWeights.size());
    for (int c = 0; c < columns; ++c) {
        const auto& wc = ColumnWeights[static_cast<size_t>(c)];
        long double sum = 0.0L;
        for (int i = 0; i < N; ++i)
            sum += atRow[i] * wc[i];
        values[c] = sum;
    }
}

bool PolynomialTest(const TRelationGrid& grid, const TFormulaView& difference, TPolynomialSamples& samples)
{
    constexpr int N = TPolynomialSamples::N;
    const TColumnArray& x = *grid.ColumnX;
    const TValue zero = ValueReal(0.0L);
    const auto evaluate = [&](int column, int row) {
        const long double y = grid.RowY(row);
        return EvaluatePostfix(difference, x.At(column), ValueReal(y), zero, zero, grid.Env->With(0, y));
    };
    for (int k = 0; k < N; ++k) {
        samples.Columns[k] = k * (grid.W / 10);
        samples.RowsAt[k] = k * (grid.H / 10);
    }
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) {
            const TValue v = evaluate(samples.Columns[i], samples.RowsAt[j]);
            if (!IsDefinedReal(v))
                return false;
            samples.M[i][j] = v.X;
        }
    samples.ColumnWeights.resize(static_cast<size_t>(grid.W) + 2);
    for (int c = 0; c <= grid.W + 1; ++c)
        samples.ColumnWeights[static_cast<size_t>(c)] = LagrangeWeights(c, samples.Columns);
    samples.RowWeights.resize(static_cast<size_t>(grid.H) + 2);
    for (int r = 0; r <= grid.H + 1; ++r)
        samples.RowWeights[static_cast<size_t>(r)] = LagrangeWeights(r, samples.RowsAt);

    std::mt19937 random(FitSeed);
    for (int check = 0; check < FitChecks; ++check) {
        const int c = static_cast<int>(random() % static_cast<std::uint32_t>(std::max(grid.W, 1)));
        const int r = static_cast<int>(random() % static_cast<std::uint32_t>(std::max(grid.H, 1)));
        const TValue truth = evaluate(c, r);
        if (!IsDefinedReal(truth))
            return false;
        const long double fit = samples.At(c, r);
        const long double error =
            std::fabs(truth.X) < 10.0L ? std::fabs(fit - truth.X) : std::fabs((fit - truth.X) / truth.X);
        if (!(error < FitTolerance))
            return false;
    }
    return true;
}

bool ConicTest(const TPolynomialSamples& samples)
{
    constexpr int N = TPolynomialSamples::N;
    const auto& m = samples.M;
    // Along a column sample (i fixed, j the row) and along a row sample.
    const auto down = [&](int i, int j) { return m[i][j]; };
    const auto across = [&](int j, int i) { return m[i][j]; };
    const auto holds = [&](auto at) {
        for (int line = 0; line < N; ++line)
            for (int k = 0; k + 3 < N; ++k)
                if (std::fabs(at(line, k) - 3.0L * at(line, k + 1) + 3.0L * at(line, k + 2) - at(line, k + 3)) >
                    FitTolerance)
                    return false;
        const auto second = [&](int line, int k) { return at(line, k) - 2.0L * at(line, k + 1) + at(line, k + 2); };
        for (int line = 0; line + 1 < N; ++line)
            for (int k = 0; k + 2 < N; ++k)
                if (std::fabs(second(line, k) - second(line + 1, k)) > FitTolerance)
                    return false;
        return true;
    };
    return holds(down) && holds(across);
}

// ----- The scan -----------------------------------------------------------------

std::vector<TColumnArray> ScanRowArrays;

namespace {

constexpr int MaxScanWidth = 8;
constexpr std::int64_t FirstProgressMs = 500;
constexpr std::int64_t ProgressStepMs = 1000;

// Where the values of a scan row come from: an evaluated row, or a step of
// the way between two evaluated rows (each by its place in the order of
// evaluation).
struct RowSource {
    int Previous = 0;
    int Next = 0;
    int Step = 0; // 0: row Next itself; else Step / width of the way from Previous to Next
};

// The rows a scan evaluates, in order, and where every scan row's values
// come from: every row, or every width-th with the rows between them
// interpolated, the first row and those from H on always evaluated.
struct ScanPlan {
    std::vector<int> Order;
    std::vector<RowSource> Sources; // rows 0 .. H + 1
};

ScanPlan MakeScanPlan(int H, int width)
{
    ScanPlan plan;
    int previous = 0;
    int next = 0;
    for (int r = 0; r <= H + 1; ++r) {
        if (r == 0 || r >= H || width == 1) {
            plan.Order.push_back(r);
            previous = next = static_cast<int>(plan.Order.size()) - 1;
            plan.Sources.push_back({previous, next, 0});
            continue;
        }
        const int phase = r % width;
        if (phase == 1) {
            plan.Order.push_back(r + width - 1);
            next = static_cast<int>(plan.Order.size()) - 1;
        }
        if (phase == 0)
            previous = next;
        plan.Sources.push_back({previous, next, phase});
    }
    return plan;
}

// A row's values, definedness and signs over columns -1 .. W + 1.
class RowLanes {
public:
    explicit RowLanes(int W)
        : values_(static_cast<size_t>(W) + 3)
        , defined_(static_cast<size_t>(W) + 3)
        , signs_(static_cast<size_t>(W) + 3, NoSign)
    {
    }
    long double* Values() { return values_.data() + 1; }
    std::uint8_t* Defined() { return defined_.data() + 1; }
    int* Signs() { return signs_.data() + 1; }

private:
    std::vector<long double> values_;
    std::vector<std::uint8_t> defined_;
    std::vector<int> signs_;
};

bool SetsBit(TTokenCode op, int sign);

// The scan's work on rows, which rows do not share: each row's values
// (evaluated, interpolated or from the samples) and signs, the contour
// cells between it and the row before as segments, and the piece's bits of
// the row. Any thread may work out any rows.
class RowWork {
public:
    RowWork(const TRelationGrid& grid, const TScanRequest& request, TRegionMask& region)
        : grid_(grid)
        , request_(request)
        , region_(region)
        , width_(std::clamp(request.ScanWidth, 1, MaxScanWidth))
        , bits_(SetsBit(request.Operator, 1) || SetsBit(request.Operator, -1))
    {
    }

    int Width() const { return width_; }

    // Rows first .. last, segments[r - first] getting row r's cells;
    // evaluated(k) is the evaluated row k of the order.
    template <class EvaluatedRow>
    void Rows(int first, int last, const std::vector<RowSource>& sources, EvaluatedRow&& evaluated, RowLanes& current,
              RowLanes& before, std::vector<TContourSegment>* segments) const
    {
        const auto fill = [&](int r, RowLanes& lanes) {
            if (request_.Samples)
                FromSamples(r, lanes);
            else
                FromRows(sources[static_cast<size_t>(r)], evaluated, lanes);
            Signs(lanes);
        };
        if (first > 0 && request_.Contours)
            fill(first - 1, before);
        RowLanes* previous = &before;
        RowLanes* now = &current;
        for (int r = first; r <= last; ++r) {
            fill(r, *now);
            segments[r - first].clear();
            if (request_.Contours && r > 0)
                Cells(r, *now, *previous, segments[r - first]);
            if (bits_)
                Bits(r, *now);
            std::swap(previous, now);
        }
    }

private:
    template <class EvaluatedRow>
    void FromRows(const RowSource& source, EvaluatedRow&& evaluated, RowLanes& lanes) const
    {
        long double* values = lanes.Values();
        std::uint8_t* defined = lanes.Defined();
        const TColumnArray& next = evaluated(source.Next);
        const long double* b = next.XLane();
        const std::uint8_t* db = next.DefinedLane();
        const std::uint8_t* kb = next.KindLane();
        if (source.Step == 0) {
            for (int c = -1; c <= grid_.W + 1; ++c) {
                values[c] = b[c];
                defined[c] = db[c] && kb[c] == KindReal;
            }
            return;
        }
        // Step / width of the way from previous to next, where both are defined reals.
        const TColumnArray& previous = evaluated(source.Previous);
        const long double f = static_cast<long double>(source.Step) / static_cast<long double>(width_);
        const long double* a = previous.XLane();
        const std::uint8_t* da = previous.DefinedLane();
        const std::uint8_t* ka = previous.KindLane();
        for (int c = -1; c <= grid_.W + 1; ++c) {
            const bool ok = da[c] && db[c] && ka[c] == KindReal && kb[c] == KindReal;
            values[c] = ok ? a[c] + f * (b[c] - a[c]) : 0.0L;
            defined[c] = ok;
        }
    }

    void FromSamples(int r, RowLanes& lanes) const
    {
        request_.Samples->Row(r, lanes.Values());
        std::uint8_t* defined = lanes.Defined();
        defined[-1] = 0;
        for (int c = 0; c <= grid_.W + 1; ++c)
            defined[c] = 1;
    }

    void Signs(RowLanes& lanes) const
    {
        const long double* values = lanes.Values();
        const std::uint8_t* defined = lanes.Defined();
        int* signs = lanes.Signs();
        signs[-1] = NoSign; // the scan starts at column 0
        for (int c = 0; c <= grid_.W + 1; ++c)
            signs[c] = defined[c] ? ScanSign(values[c]) : NoSign;
    }

    // The contour cells between row r and the row before, added to segments.
    void Cells(int r, RowLanes& now, RowLanes& before, std::vector<TContourSegment>& segments) const
    {
        const int m = grid_.Magnification();
        const long double* values = now.Values();
        const long double* lastValues = before.Values();
        const int* signs = now.Signs();
        const int* lastSigns = before.Signs();
        for (int c = 1; c <= grid_.W + 1; ++c) {
            if (signs[c] >= 10)
                continue;
            const int sum = signs[c - 1] + signs[c] + lastSigns[c - 1] + lastSigns[c];
            if (std::abs(sum) > 3)
                continue;
            const TCellCorners corners{{signs[c - 1], signs[c], lastSigns[c - 1], lastSigns[c]},
                                       {values[c - 1], values[c], lastValues[c - 1], lastValues[c]}};
            ContourCell(c, r, corners, m, segments);
        }
    }

    void Bits(int r, RowLanes& lanes) const
    {
        const int* signs = lanes.Signs();
        std::uint8_t* row = region_.Row(r);
        for (int c = 0; c <= grid_.W + 1; ++c)
            if (SetsBit(request_.Operator, signs[c]))
                row[c] |= request_.Bit;
    }

    const TRelationGrid& grid_;
    const TScanRequest& request_;
    TRegionMask& region_;
    const int width_;
    const bool bits_;
};

bool SetsBit(TTokenCode op, int sign)
{
    const TNamedTokens& t = TokenCodes;
    if (op == t.Greater || op == t.GreaterEqual)
        return sign == 1;
    if (op == t.Less || op == t.LessEqual)
        return sign == -1;
    if (op == t.NotEqual)
        return sign == 1 || sign == -1;
    return false;
}

// The scan's note after the window's caption and its intermediate display,
// paced by the clock; the caption is put back at the end.
class ScanProgress {
public:
    ScanProgress(int rows, const TPiecePens& pens, TconnectLines& joiner, const std::function<void()>& show)
        : window_(CurrentRedrawWindow())
        , saved_(window_.CaptionSuffix())
        , clock_(platform::CurrentClock())
        , start_(clock_.tickCount())
        , rows_(std::max(rows, 1))
        , pens_(pens)
        , joiner_(joiner)
        , show_(show)
    {
    }
    ~ScanProgress()
    {
        if (captioned_)
            window_.SetCaptionSuffix(saved_);
    }
    ScanProgress(const ScanProgress&) = delete;
    ScanProgress& operator=(const ScanProgress&) = delete;

    // After row r: false when the user asks the scan to stop.
    bool AfterRow(int r)
    {
        if (clock_.tickCount() - start_ <= interval_)
            return true;
        const int percent = static_cast<int>(std::lround(100.0 * r / rows_));
        if (percent < 50 || interval_ > ProgressStepMs) {
            window_.SetCaptionSuffix(saved_ + QStringLiteral(" : ") + QString::number(percent) + u'%');
            captioned_ = true;
        }
        if ((ProgramState.InRefreshAll || Options.DrawOnCalc) && show_ && pens_.Main && !pens_.OnlyTrace) {
            joiner_.Draw(*pens_.Main);
            show_();
        }
        if (platform::IsBreakKeyDown())
            return false;
        interval_ += ProgressStepMs;
        return true;
    }

private:
    TRedrawWindow& window_;
    QString saved_;
    const platform::Clock& clock_;
    std::int64_t start_;
    std::int64_t interval_ = FirstProgressMs;
    int rows_;
    const TPiecePens& pens_;
    TconnectLines& joiner_;
    const std::function<void()>& show_;
    bool captioned_ = false;
};

// The scan in steps, each one batch on all cores: the next rows evaluated;
// the rows that the rows evaluated before complete worked out in runs of a
// few; and, on this thread first, the rows worked out in the step before
// joined into contours in order, each followed by the progress (which may
// draw and looks at the break key: this thread's).
class PipelinedScan {
public:
    PipelinedScan(const TRelationGrid& grid, const TScanRequest& request, const TPiecePens& pens, TRegionMask& region)
        : grid_(grid)
        , request_(request)
        , work_(grid, request, region)
        , plan_(MakeScanPlan(grid.H, work_.Width()))
        // Enough rows that every thread has a few, few enough to stay in the caches.
        , batch_(std::min(static_cast<int>(plan_.Order.size()), 8 * WorkerThreadCount()))
        // A step writes one batch and reads the batch before and the two
        // rows before that (the row before its first run and the row that
        // one is interpolated from).
        , kept_(request.Samples ? 0 : 2 * batch_ + 2)
    {
        evaluated_.swap(ScanRowArrays);
        if (static_cast<int>(evaluated_.size()) < kept_)
            evaluated_.resize(static_cast<size_t>(kept_));
        joiner_.Reset(pens.Main, pens.Trace, false, pens.OnlyTrace, pens.Trace != nullptr, pens.Settings);
        for (int slot = 0; slot < WorkerThreadCount(); ++slot)
            lanes_.emplace_back(RowLanes(grid.W), RowLanes(grid.W));
        // Row r is complete once the evaluated rows before its Next are.
        lastComplete_.assign(plan_.Order.size() + 1, -1);
        for (int r = 0; r <= grid.H + 1; ++r)
            lastComplete_[static_cast<size_t>(plan_.Sources[static_cast<size_t>(r)].Next) + 1] = r;
        for (size_t k = 1; k < lastComplete_.size(); ++k)
            lastComplete_[k] = std::max(lastComplete_[k], lastComplete_[k - 1]);
        const int rowsPerStep = request.Samples ? grid.H + 2 : work_.Width() * batch_ + 2;
        for (auto& rows : segments_)
            rows.resize(static_cast<size_t>(rowsPerStep));
    }

    ~PipelinedScan() { ScanRowArrays.swap(evaluated_); }
    PipelinedScan(const PipelinedScan&) = delete;
    PipelinedScan& operator=(const PipelinedScan&) = delete;

    TconnectLines& Joiner() { return joiner_; }

    // False when the user broke the scan off.
    bool Run(ScanProgress& progress)
    {
        const int order = static_cast<int>(plan_.Order.size());
        int first = 0; // the first row not worked out
        int joinFirst = 0;
        int joinLast = -1;
        bool going = true;
        for (int step = 0; going && (first <= grid_.H + 1 || joinFirst <= joinLast); ++step) {
            const int begin = request_.Samples ? order : std::min(step * batch_, order);
            const int end = request_.Samples ? order : std::min(begin + batch_, order);
            std::vector<long double> ys;
            std::vector<TColumnArray*> outs;
            for (int k = begin; k < end; ++k) {
                ys.push_back(grid_.RowY(plan_.Order[static_cast<size_t>(k)]));
                outs.push_back(&Evaluated(k));
            }
            const int last = lastComplete_[static_cast<size_t>(begin)];
            const int runs = (last - first + RunRows) / RunRows;
            std::vector<TContourSegment>* workSegments = segments_[static_cast<size_t>(step % 2)].data();
            std::vector<TContourSegment>* joinSegments = segments_[static_cast<size_t>((step + 1) % 2)].data();
            bool joined = false;
            const auto join = [&] {
                joined = true;
                going = Join(joinFirst, joinLast, joinSegments, progress);
            };
            const auto work = [&](int run, int slot) {
                const int from = first + run * RunRows;
                const int to = std::min(from + RunRows - 1, last);
                auto& [current, before] = lanes_[static_cast<size_t>(slot)];
                work_.Rows(
                    from, to, plan_.Sources, [&](int k) -> const TColumnArray& { return Evaluated(k); }, current,
                    before, workSegments + (from - first));
            };
            const bool evaluated = request_.Samples ? RunInParallel(runs, work)
                                                    : request_.Rows->EvaluateRelationRows(ys, outs, join, runs, work);
            if (!joined)
                join();
            if (!evaluated)
                return false;
            joinFirst = first;
            joinLast = last;
            first = last + 1;
        }
        return going;
    }

    void Finish()
    {
        if (request_.Contours)
            joiner_.Collect();
    }

private:
    static constexpr int RunRows = 8;

    TColumnArray& Evaluated(int k) { return evaluated_[static_cast<size_t>(k % kept_)]; }

    bool Join(int first, int last, std::vector<TContourSegment>* segments, ScanProgress& progress)
    {
        for (int r = first; r <= last; ++r) {
            if (request_.Contours) {
                for (const TContourSegment& s : segments[r - first])
                    joiner_.AddSegment(s.From, s.To);
                joiner_.Join((r - 1) * grid_.Magnification());
            }
            if (!progress.AfterRow(r))
                return false;
        }
        return true;
    }

    const TRelationGrid& grid_;
    const TScanRequest& request_;
    RowWork work_;
    const ScanPlan plan_;
    const int batch_;
    const int kept_; // evaluated rows kept, as a ring
    std::vector<TColumnArray> evaluated_;
    std::vector<int> lastComplete_; // [k]: the last row needing only evaluated rows before k
    std::vector<std::pair<RowLanes, RowLanes>> lanes_; // each slot's
    // The rows worked out in a step, by its parity: one set filled while the other is joined.
    std::array<std::vector<std::vector<TContourSegment>>, 2> segments_;
    TconnectLines joiner_;
};

} // namespace

bool ScanPiece(const TRelationGrid& grid, const TScanRequest& request, const TPiecePens& pens, TRegionMask& region,
               const std::function<void()>& showProgress)
{
    PipelinedScan scan(grid, request, pens, region);
    ScanProgress progress(grid.H, pens, scan.Joiner(), showProgress);
    const bool finished = scan.Run(progress);
    scan.Finish();
    return finished;
}
