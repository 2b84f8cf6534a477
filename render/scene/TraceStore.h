#pragma once

// The trace store: a ring of 3000 records of the drawing state, one for each
// redraw in which something was traced. A record keeps the evaluated states
// of the traced objects, the parameter table and the trace colours of every
// function, relation, object and figure; replaying the records from the
// oldest to the newest draws the after-images again.
#include "model/Colors.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/OffsetArray.h"
#include "model/PointState.h"
#include "model/TokenString.h"
#include "render/view/ViewMapping.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

using TPointStates = TOffsetArray<TPointState, 1, PointCount>;

// The trace colours of one record; white means that the thing leaves no
// trace in it.
struct TTraceColors {
    TOffsetArray<TColor, 1, FunctionCount> Functions = TOffsetArray<TColor, 1, FunctionCount>::filledWith(NoTraceColor);
    TOffsetArray<TColor, 1, RelationCount> Relations = TOffsetArray<TColor, 1, RelationCount>::filledWith(NoTraceColor);
    // The line of a traced curve (a point sequence's line) ...
    TOffsetArray<TColor, 1, PointCount> Points = TOffsetArray<TColor, 1, PointCount>::filledWith(NoTraceColor);
    // ... and its fill, or a point sequence's symbols.
    TOffsetArray<TColor, 1, PointCount> PointsR = TOffsetArray<TColor, 1, PointCount>::filledWith(NoTraceColor);
    TFigureColours Figures = TFigureColours::filledWith(NoTraceColor);
    TFigureColours FigureFills = TFigureColours::filledWith(NoTraceColor);

    // Some function, relation or object colour is not white (figures do not count).
    bool AnyTraced() const;
    bool operator==(const TTraceColors&) const = default;
};
// The document's default trace colours: nothing traced.
TTraceColors DefaultTraceColors();

// One record as read back: a state of kind 0 where no object was recorded.
struct TTraceRecord {
    TPointStates States;
    TTraceColors Colors;
    TParamTable Params;
};

// The object under the mouse in a recorded state.
struct TSnapshotHit {
    int Object = 0; // 0: nothing
    long double X = 0.0L;
    long double Y = 0.0L;
};

// The ring. Records are numbered 1..3000; the one at Tail is the base of the
// ring and those after it up to Head are the recorded states. The store is
// empty when Head = Tail. A full ring drops its oldest record.
class TBpnt {
public:
    static constexpr int Size = 3000;
    // The next record number: 3000 is followed by 1.
    static int Advance(int i) { return i % Size + 1; }

    TBpnt();
    TBpnt(const TBpnt&) = delete;
    TBpnt& operator=(const TBpnt&) = delete;

    // No records; the base record has the default colours.
    void Clear();
    bool IsEmpty() const { return head_ == tail_; }
    bool HasRecords() const { return head_ != tail_; }

    // Reading from the base record to the newest one: ResetCursor, then
    // ReadNext until AtEnd.
    void ResetCursor();
    TTraceRecord ReadNext();
    void ReadNext(TTraceRecord& record);
    void ReadRecord(int i, TTraceRecord& record) const;

    // Records the states of the traced objects with the colours and the
    // parameter table, unless nothing is traced now and nothing was in the
    // record before. What is traced is decided on the document: the states'
    // own trace flags and locus widths, traced figures through their
    // vertices, and traced functions, relations and objects through the
    // names their formulas refer to.
    void Push(const TPointStates& states, const TTraceColors& colors, const TParamTable& params);
    // Records the present state as if everything were traced: the functions
    // and relations in their colours, the figures in theirs, the objects'
    // colours as given, the document's parameters.
    void PushAllTraced(const TPointStates& states, const TOffsetArray<TColor, 1, PointCount>& pointColors,
                       const TOffsetArray<TColor, 1, PointCount>& pointRColors);

    // The oldest recorded position of a shown draggable point less than 4
    // pixels from (px, py) in both directions.
    TSnapshotHit FindSnapshotAt(const TViewMapping& mapping, int px, int py) const;

    // Erasing. Each marks the traces as erased when it changed a record.
    // Object k's recorded states, its own colours, and the colours of the
    // functions, relations and objects that refer to it where k was recorded.
    void ErasePointTrace(int k);
    // Every function, relation and object whose formulas refer to the name.
    void EraseTracesUsing(TTokenCode name);
    void EraseYfxTrace(int i);
    void EraseCfnTrace(int j);
    void EraseSegmentTrace(int s);
    // Figure s left the list: the later figures' trace and fill colours move
    // down one place.
    void DeleteSegment(int s);

    int Head() const { return head_; }
    int Tail() const { return tail_; }
    int Cursor() const { return cursor_; }
    bool AtEnd() const { return atEnd_; }
    bool Traced() const { return traced_; }
    // The number of records a replay reads (the base record included).
    int RecordCount() const;

private:
    struct Slot {
        std::array<std::unique_ptr<TPointState>, PointCount> Snapshots;
        TTraceColors Colors;
        TParamTable Params;
    };

    Slot& slot(int i) { return slots_[static_cast<size_t>(i)]; }
    const Slot& slot(int i) const { return slots_[static_cast<size_t>(i)]; }
    // Calls erase(slot) for every record from Tail to Head; when one of
    // them changed something (returned true) the traces count as erased.
    template <class Erase>
    void EraseInEveryRecord(Erase erase);
    // Entry i of one colour array becomes white in every record.
    template <class Colors>
    void EraseColor(int i, Colors TTraceColors::*colors);

    std::vector<Slot> slots_; // 0 unused
    int head_ = 1;
    int tail_ = 1;
    int cursor_ = 1;
    bool atEnd_ = false;
    bool traced_ = false;
};

// Which objects a record keeps, by the rules of TBpnt::Push.
std::array<bool, PointCount + 1> TracedObjects(const TPointStates& states);

// The view's trace store.
extern TBpnt TraceStore;
