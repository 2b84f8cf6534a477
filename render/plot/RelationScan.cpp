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
#include <cassert>
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
                                         const std::function<void()>& alongside)
{
    const int count = static_cast<int>(ys.size());
    if (!alone_) {
        if (alongside)
            alongside();
        for (int k = 0; k < count; ++k)
            EvaluateRelationColumns(ys[static_cast<size_t>(k)], *outs[static_cast<size_t>(k)]);
        return true;
    }
    while (static_cast<int>(slots_.size()) + 1 < WorkerThreadCount())
        slots_.push_back(std::make_unique<TRowEvaluator>(difference_));
    bool alongsideRun = false; // read and written on this thread (slot 0) only
    return RunInParallel(count, [&](int k, int slot) {
        if (slot == 0 && !alongsideRun) {
            alongsideRun = true;
            if (alongside)
                alongside();
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

namespace {

constexpr int MaxScanWidth = 8;
constexpr std::int64_t FirstProgressMs = 500;
constexpr std::int64_t ProgressStepMs = 1000;

// The rows a scan evaluates, in the order it needs them: one batch ready to
// be read while the next is evaluated on all cores, this thread reading the
// ready one before it takes its share of the evaluations, so that no core
// waits for the reading alone.
class ExactRows {
public:
    ExactRows(const TRelationGrid& grid, TRelationRows& rows, int width)
        : grid_(grid)
        , rows_(rows)
    {
        for (int r = 0; r <= grid.H + 1; ++r) {
            if (r == 0 || r >= grid.H || width == 1)
                order_.push_back(r);
            else if (r % width == 1)
                order_.push_back(r + width - 1);
        }
        // Enough rows that every thread has a few, few enough to stay in the caches.
        const int batch = std::min(static_cast<int>(order_.size()), WorkerThreadCount() == 1 ? 1 : 8 * WorkerThreadCount());
        ready_.resize(static_cast<size_t>(std::max(batch, 1)));
        ahead_.resize(ready_.size());
    }

    // The next row in order can be read (or is known to fail).
    bool HasNext() const { return broken_ || next_ < end_; }
    // Every row is evaluated, or the user broke the evaluation off.
    bool Exhausted() const { return broken_ || end_ == static_cast<int>(order_.size()); }

    // Row r, which must be the next in order and at hand, swapped into out.
    // False when the user broke the evaluation off.
    bool Next(int r, TColumnArray& out)
    {
        if (broken_)
            return false;
        assert(next_ < end_ && order_[static_cast<size_t>(next_)] == r);
        (void)r;
        out.swap(ready_[static_cast<size_t>(next_ - begin_)]);
        ++next_;
        return true;
    }

    // Evaluates the batch after the ready one while read() reads the ready
    // one (through, unless the scan stops), then makes it the ready one.
    void EvaluateNextWhile(const std::function<void()>& read)
    {
        const int begin = end_;
        const int end = std::min(begin + static_cast<int>(ahead_.size()), static_cast<int>(order_.size()));
        std::vector<long double> ys;
        std::vector<TColumnArray*> outs;
        for (int k = begin; k < end; ++k) {
            ys.push_back(grid_.RowY(order_[static_cast<size_t>(k)]));
            outs.push_back(&ahead_[static_cast<size_t>(k - begin)]);
        }
        bool wasRead = false;
        const bool evaluated = rows_.EvaluateRelationRows(ys, outs, [&] {
            wasRead = true;
            read();
        });
        // A break skips the tasks not started, the reading perhaps among
        // them; this thread may also have had no row to take.
        if (!wasRead)
            read();
        broken_ = !evaluated;
        ready_.swap(ahead_);
        begin_ = next_ = begin;
        end_ = end;
    }

private:
    const TRelationGrid& grid_;
    TRelationRows& rows_;
    std::vector<int> order_;
    std::vector<TColumnArray> ready_; // rows begin_ .. end_ - 1 of the order
    std::vector<TColumnArray> ahead_;
    int begin_ = 0;
    int end_ = 0;
    int next_ = 0;
    bool broken_ = false;
};

// The row values of the scan, as lanes over columns -1 .. W + 1.
class ScanRows {
public:
    ScanRows(const TRelationGrid& grid, const TScanRequest& request)
        : grid_(grid)
        , request_(request)
        , width_(std::clamp(request.ScanWidth, 1, MaxScanWidth))
        , polynomial_(static_cast<size_t>(grid.W) + 2)
    {
        if (!request.Samples)
            evaluated_ = std::make_unique<ExactRows>(grid, *request.Rows, width_);
    }

    // False once the user broke an evaluation off.
    bool Finished() const { return finished_; }

    // The values of row r are at hand (Fill may be called for it).
    bool CanFill(int r) const
    {
        if (!evaluated_)
            return true;
        const bool exact = r == 0 || r >= grid_.H || width_ == 1 || r % width_ == 1;
        return !exact || evaluated_->HasNext();
    }
    // Rows are left to evaluate.
    bool NeedsEvaluation() const { return evaluated_ && !evaluated_->Exhausted(); }
    // Evaluates the next batch of rows while read() fills the rows at hand.
    void EvaluateNextWhile(const std::function<void()>& read) { evaluated_->EvaluateNextWhile(read); }

    // The values of row r into values/defined (indexed by column).
    void Fill(int r, long double* values, std::uint8_t* defined)
    {
        const int first = -1;
        const int last = grid_.W + 1;
        if (request_.Samples) {
            request_.Samples->Row(r, polynomial_.data());
            defined[first] = 0;
            for (int c = 0; c <= last; ++c) {
                values[c] = polynomial_[static_cast<size_t>(c)];
                defined[c] = 1;
            }
            return;
        }
        if (r == 0 || r >= grid_.H || width_ == 1) {
            Exact(r, exact_);
            Copy(exact_, values, defined);
            previous_.swap(exact_);
            return;
        }
        const int phase = r % width_;
        if (phase == 1) {
            // The next evaluated row, and the rows up to it in between.
            Exact(r + width_ - 1, next_);
            for (int k = 1; k < width_; ++k)
                Interpolate(k, between_[static_cast<size_t>(k)]);
        }
        if (phase == 0) {
            Copy(next_, values, defined);
            previous_.CopyFrom(next_, first, last);
        } else {
            Copy(between_[static_cast<size_t>(phase)], values, defined);
        }
    }

private:
    void Exact(int r, TColumnArray& out)
    {
        if (finished_ && evaluated_->Next(r, out))
            return;
        finished_ = false;
        out.Fill(TColumnArray::First, TColumnArray::Last, ValueUndefined(KindReal));
    }

    // Row previous + k/s of the way to next, where both are defined reals.
    void Interpolate(int k, TColumnArray& out) const
    {
        const long double f = static_cast<long double>(k) / static_cast<long double>(width_);
        const long double* a = previous_.XLane();
        const long double* b = next_.XLane();
        const std::uint8_t* da = previous_.DefinedLane();
        const std::uint8_t* db = next_.DefinedLane();
        const std::uint8_t* ka = previous_.KindLane();
        const std::uint8_t* kb = next_.KindLane();
        long double* x = out.XLane();
        std::uint8_t* d = out.DefinedLane();
        std::uint8_t* kind = out.KindLane();
        for (int c = -1; c <= grid_.W + 1; ++c) {
            const bool ok = da[c] && db[c] && ka[c] == KindReal && kb[c] == KindReal;
            x[c] = ok ? a[c] + f * (b[c] - a[c]) : 0.0L;
            d[c] = ok;
            kind[c] = KindReal;
        }
    }

    void Copy(const TColumnArray& from, long double* values, std::uint8_t* defined) const
    {
        const long double* x = from.XLane();
        const std::uint8_t* d = from.DefinedLane();
        const std::uint8_t* kind = from.KindLane();
        for (int c = -1; c <= grid_.W + 1; ++c) {
            values[c] = x[c];
            defined[c] = d[c] && kind[c] == KindReal;
        }
    }

    const TRelationGrid& grid_;
    const TScanRequest& request_;
    const int width_;
    std::vector<long double> polynomial_;
    TColumnArray exact_;
    TColumnArray previous_;
    TColumnArray next_;
    std::array<TColumnArray, MaxScanWidth> between_;
    std::unique_ptr<ExactRows> evaluated_;
    bool finished_ = true;
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

// The tracing of the scan, row by row in order: the signs of a row, the
// contour cells between it and the last, and the piece's bits. It runs as
// far as the rows' values are at hand, on whichever thread reads them.
class ScanTracer {
public:
    ScanTracer(const TRelationGrid& grid, const TScanRequest& request, const TPiecePens& pens, TRegionMask& region)
        : grid_(grid)
        , request_(request)
        , region_(region)
        , lanes_(grid.W + 3) // columns -1 .. W + 1
        , valueStore_(2 * static_cast<size_t>(lanes_))
        , definedStore_(static_cast<size_t>(lanes_))
        , signStore_(2 * static_cast<size_t>(lanes_), NoSign)
        , values_(valueStore_.data() + 1)
        , lastValues_(values_ + lanes_)
        , defined_(definedStore_.data() + 1)
        , signs_(signStore_.data() + 1)
        , lastSigns_(signs_ + lanes_)
        , bits_(SetsBit(request.Operator, 1) || SetsBit(request.Operator, -1))
        , rows_(grid, request)
    {
        joiner_.Reset(pens.Main, pens.Trace, false, pens.OnlyTrace, pens.Trace != nullptr, pens.Settings);
    }

    TconnectLines& Joiner() { return joiner_; }
    ScanRows& Rows() { return rows_; }
    // Every row traced, or the evaluation broken off.
    bool Done() const { return stopped_ || next_ > grid_.H + 1; }
    bool Stopped() const { return stopped_; }

    // Traces the rows whose values are at hand, each followed by the
    // progress (which may draw and looks at the break key: this thread's).
    void TraceReady(ScanProgress& progress)
    {
        while (!Done() && rows_.CanFill(next_)) {
            const int r = next_++;
            TraceRow(r);
            stopped_ = !rows_.Finished() || !progress.AfterRow(r);
        }
    }

    void Finish()
    {
        if (request_.Contours)
            joiner_.Collect();
    }

private:
    void TraceRow(int r)
    {
        const int W = grid_.W;
        rows_.Fill(r, values_, defined_);
        signs_[-1] = NoSign; // the scan starts at column 0
        for (int c = 0; c <= W + 1; ++c)
            signs_[c] = defined_[c] ? ScanSign(values_[c]) : NoSign;
        if (request_.Contours && r > 0)
            TraceCells(r);
        if (bits_) {
            std::uint8_t* row = region_.Row(r);
            for (int c = 0; c <= W + 1; ++c)
                if (SetsBit(request_.Operator, signs_[c]))
                    row[c] |= request_.Bit;
        }
        if (request_.Contours)
            joiner_.Join((r - 1) * grid_.Magnification());
        std::swap(values_, lastValues_);
        std::swap(signs_, lastSigns_);
    }

    // The contour cells between row r and the last.
    void TraceCells(int r)
    {
        const int m = grid_.Magnification();
        for (int c = 1; c <= grid_.W + 1; ++c) {
            if (signs_[c] >= 10)
                continue;
            const int sum = signs_[c - 1] + signs_[c] + lastSigns_[c - 1] + lastSigns_[c];
            if (std::abs(sum) > 3)
                continue;
            const TCellCorners corners{{signs_[c - 1], signs_[c], lastSigns_[c - 1], lastSigns_[c]},
                                       {values_[c - 1], values_[c], lastValues_[c - 1], lastValues_[c]}};
            ContourCell(c, r, corners, m, joiner_);
        }
    }

    const TRelationGrid& grid_;
    const TScanRequest& request_;
    TRegionMask& region_;
    const int lanes_;
    std::vector<long double> valueStore_;
    std::vector<std::uint8_t> definedStore_;
    std::vector<int> signStore_;
    long double* values_;
    long double* lastValues_;
    std::uint8_t* defined_;
    int* signs_;
    int* lastSigns_;
    const bool bits_;
    TconnectLines joiner_;
    ScanRows rows_;
    int next_ = 0;
    bool stopped_ = false;
};

} // namespace

bool ScanPiece(const TRelationGrid& grid, const TScanRequest& request, const TPiecePens& pens, TRegionMask& region,
               const std::function<void()>& showProgress)
{
    ScanTracer tracer(grid, request, pens, region);
    ScanProgress progress(grid.H, pens, tracer.Joiner(), showProgress);
    ScanRows& rows = tracer.Rows();
    while (!tracer.Done()) {
        if (rows.NeedsEvaluation())
            rows.EvaluateNextWhile([&] { tracer.TraceReady(progress); });
        else
            tracer.TraceReady(progress);
    }
    tracer.Finish();
    return !tracer.Stopped();
}
