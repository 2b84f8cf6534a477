#include "render/scene/TraceStore.h"

#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/ObjectNames.h"
#include "render/view/RedrawState.h"

#include <algorithm>
#include <cstdlib>

TBpnt TraceStore;

namespace {

template <class Array>
bool AnyColored(const Array& colors)
{
    return std::any_of(colors.begin(), colors.end(), [](TColor c) { return !IsWhiteColor(c); });
}

// The colour becomes white; true when it was not.
bool Whiten(TColor& color)
{
    if (IsWhiteColor(color))
        return false;
    color = NoTraceColor;
    return true;
}

bool IsTracedFigureVertex(int k)
{
    const TSegmentData& figures = Segments.Data;
    for (int s = 1; s <= figures.Count; ++s) {
        const Tsegment& f = figures.Items[s];
        if (f.AfterImage && CountVertexRefs(k, f.Vertices) >= 1)
            return true;
    }
    return false;
}

bool IsTracedObject(const TPointFunction& object)
{
    return object.PointAImg || object.RAImg;
}

// Some traced function, relation or object reads the name.
bool IsReadByTracedFormula(TTokenCode token)
{
    const TDocumentTables& doc = DocumentTables;
    for (const TEquationFunction& f : doc.Functions)
        if (f.AfterImage && RefersToToken(token, f.Func))
            return true;
    for (const TEquationFunction& r : doc.Relations)
        if (r.AfterImage && RefersToToken(token, r.Func))
            return true;
    for (const TPointFunction& p : doc.Points)
        if (IsTracedObject(p) && PointRefersToToken(token, p))
            return true;
    return false;
}

// The functions, relations and objects whose formulas read the name.
struct TReaders {
    std::vector<int> Functions;
    std::vector<int> Relations;
    std::vector<int> Objects;
};

TReaders ReadersOf(TTokenCode token)
{
    const TDocumentTables& doc = DocumentTables;
    TReaders readers;
    for (int i = 1; i <= FunctionCount; ++i)
        if (RefersToToken(token, doc.Functions[i].Func))
            readers.Functions.push_back(i);
    for (int j = 1; j <= RelationCount; ++j)
        if (RefersToToken(token, doc.Relations[j].Func))
            readers.Relations.push_back(j);
    for (int k = 1; k <= PointCount; ++k)
        if (PointRefersToToken(token, doc.Points[k]))
            readers.Objects.push_back(k);
    return readers;
}

bool IsDraggableKind(std::uint8_t kind)
{
    return kind == ObjectPoint || kind == ObjectCircle || kind == ObjectPolar || kind == ObjectParametric;
}

} // namespace

bool TTraceColors::AnyTraced() const
{
    return AnyColored(Functions) || AnyColored(Relations) || AnyColored(Points) || AnyColored(PointsR);
}

TTraceColors DefaultTraceColors()
{
    const TDocumentTables& doc = DocumentTables;
    TTraceColors colors;
    colors.Functions = doc.FunctionTraceColors;
    colors.Relations = doc.RelationTraceColors;
    colors.Points = doc.PointTraceColors;
    colors.PointsR = doc.PointTraceColors;
    colors.Figures = doc.SegmentTraceColors;
    colors.FigureFills = doc.SegmentTraceColors;
    return colors;
}

std::array<bool, PointCount + 1> TracedObjects(const TPointStates& states)
{
    std::array<bool, PointCount + 1> traced{};
    for (int k = 1; k <= PointCount; ++k) {
        const TPointState& s = states[k];
        if (s.Kind != ObjectEmpty)
            traced[k] = s.PointAImg || s.RAImg || s.LocusWidth > 0 || IsTracedFigureVertex(k);
        if (!traced[k])
            traced[k] = IsReadByTracedFormula(Vocabulary.PointTokens[k]);
    }
    return traced;
}

TBpnt::TBpnt()
    : slots_(Size + 1)
{
}

template <class Erase>
void TBpnt::EraseInEveryRecord(Erase erase)
{
    bool changed = false;
    for (int i = tail_;; i = Advance(i)) {
        changed |= erase(slot(i));
        if (i == head_)
            break;
    }
    if (changed)
        SetDirtyTraces();
}

template <class Colors>
void TBpnt::EraseColor(int i, Colors TTraceColors::*colors)
{
    if (Colors::inRange(i))
        EraseInEveryRecord([&](Slot& s) { return Whiten((s.Colors.*colors)[i]); });
}

void TBpnt::Clear()
{
    for (Slot& s : slots_)
        for (std::unique_ptr<TPointState>& snapshot : s.Snapshots)
            snapshot.reset();
    slot(1).Colors = DefaultTraceColors();
    slot(1).Params = DocumentTables.Params;
    head_ = tail_ = cursor_ = 1;
    atEnd_ = false;
    traced_ = false;
}

void TBpnt::ResetCursor()
{
    cursor_ = tail_;
    atEnd_ = false;
}

TTraceRecord TBpnt::ReadNext()
{
    TTraceRecord record;
    ReadNext(record);
    return record;
}

void TBpnt::ReadNext(TTraceRecord& record)
{
    ReadRecord(cursor_, record);
    atEnd_ = cursor_ == head_;
    cursor_ = Advance(cursor_);
}

void TBpnt::ReadRecord(int i, TTraceRecord& record) const
{
    const Slot& s = slot(i);
    for (int k = 1; k <= PointCount; ++k) {
        const std::unique_ptr<TPointState>& snapshot = s.Snapshots[static_cast<size_t>(k - 1)];
        record.States[k] = snapshot ? *snapshot : TPointState{};
    }
    record.Colors = s.Colors;
    record.Params = s.Params;
}

int TBpnt::RecordCount() const
{
    if (IsEmpty())
        return 0;
    return (head_ - tail_ + Size) % Size + 1;
}

void TBpnt::Push(const TPointStates& states, const TTraceColors& colors, const TParamTable& params)
{
    const std::array<bool, PointCount + 1> traced = TracedObjects(states);
    const bool any = std::any_of(traced.begin() + 1, traced.end(), [](bool t) { return t; }) || colors.AnyTraced();
    // After the last traced record one more is kept: it ends the traces.
    if (!any && !traced_)
        return;
    traced_ = any;
    head_ = Advance(head_);
    if (tail_ == head_)
        tail_ = Advance(tail_);
    Slot& s = slot(head_);
    for (int k = 1; k <= PointCount; ++k) {
        std::unique_ptr<TPointState>& snapshot = s.Snapshots[static_cast<size_t>(k - 1)];
        if (!traced[k])
            snapshot.reset();
        else if (snapshot)
            *snapshot = states[k];
        else
            snapshot = std::make_unique<TPointState>(states[k]);
    }
    s.Colors = colors;
    s.Params = params;
}

void TBpnt::PushAllTraced(const TPointStates& states, const TOffsetArray<TColor, 1, PointCount>& pointColors,
                          const TOffsetArray<TColor, 1, PointCount>& pointRColors)
{
    const TDocumentTables& doc = DocumentTables;
    TPointStates all = states;
    for (TPointState& s : all) {
        s.PointAImg = 1;
        s.RAImg = 1;
    }
    TTraceColors colors = DefaultTraceColors();
    for (int i = 1; i <= FunctionCount; ++i)
        colors.Functions[i] = doc.Functions[i].Color;
    for (int j = 1; j <= RelationCount; ++j)
        colors.Relations[j] = doc.Relations[j].Color;
    for (int s = 1; s <= Segments.Count(); ++s) {
        colors.Figures[s] = Segments.Data.Items[s].Color;
        colors.FigureFills[s] = Segments.Data.Items[s].InsideColor;
    }
    colors.Points = pointColors;
    colors.PointsR = pointRColors;
    Push(all, colors, doc.Params);
}

TSnapshotHit TBpnt::FindSnapshotAt(const TViewMapping& mapping, int px, int py) const
{
    const TDocumentTables& doc = DocumentTables;
    TSnapshotHit hit;
    for (int i = tail_;; i = Advance(i)) {
        const Slot& s = slot(i);
        for (int k = 1; k <= PointCount; ++k) {
            const std::unique_ptr<TPointState>& snapshot = s.Snapshots[static_cast<size_t>(k - 1)];
            const TPointFunction& object = doc.Points[k];
            if (!snapshot || !object.Draggable || !object.Shown || !IsDraggableKind(snapshot->Kind))
                continue;
            const QPoint at = mapping.WorldToPoint({snapshot->X, snapshot->Y});
            if (std::abs(at.x() - px) < 4 && std::abs(at.y() - py) < 4)
                hit = {k, snapshot->X, snapshot->Y};
        }
        if (hit.Object != 0 || i == head_)
            return hit;
    }
}

void TBpnt::ErasePointTrace(int k)
{
    if (k < 1 || k > PointCount)
        return;
    const TReaders readers = ReadersOf(Vocabulary.PointTokens[k]);
    EraseInEveryRecord([&](Slot& s) {
        // The object's own trace as a curve goes whether or not a state was kept.
        bool changed = Whiten(s.Colors.Points[k]);
        changed |= Whiten(s.Colors.PointsR[k]);
        std::unique_ptr<TPointState>& snapshot = s.Snapshots[static_cast<size_t>(k - 1)];
        if (!snapshot)
            return changed;
        changed |= snapshot->Kind != ObjectEmpty;
        snapshot->Kind = ObjectEmpty;
        for (int i : readers.Functions)
            changed |= Whiten(s.Colors.Functions[i]);
        for (int j : readers.Relations)
            changed |= Whiten(s.Colors.Relations[j]);
        for (int o : readers.Objects) {
            changed |= Whiten(s.Colors.Points[o]);
            changed |= Whiten(s.Colors.PointsR[o]);
        }
        return changed;
    });
}

void TBpnt::EraseTracesUsing(TTokenCode name)
{
    const TReaders readers = ReadersOf(name);
    for (int i : readers.Functions)
        EraseYfxTrace(i);
    for (int j : readers.Relations)
        EraseCfnTrace(j);
    for (int k : readers.Objects)
        ErasePointTrace(k);
}

void TBpnt::EraseYfxTrace(int i)
{
    EraseColor(i, &TTraceColors::Functions);
}

void TBpnt::EraseCfnTrace(int j)
{
    EraseColor(j, &TTraceColors::Relations);
}

void TBpnt::EraseSegmentTrace(int s)
{
    EraseColor(s, &TTraceColors::Figures);
}

void TBpnt::DeleteSegment(int s)
{
    if (s < 1 || s > SegmentCount)
        return;
    EraseInEveryRecord([&](Slot& slot) {
        const TFigureColours colors = slot.Colors.Figures;
        const TFigureColours fills = slot.Colors.FigureFills;
        // The trace file keeps no fills: a fill left in place would be
        // replayed with the next figure's outline.
        ShiftFigureColoursDown(slot.Colors.Figures, s);
        ShiftFigureColoursDown(slot.Colors.FigureFills, s);
        return !(slot.Colors.Figures == colors && slot.Colors.FigureFills == fills);
    });
}
