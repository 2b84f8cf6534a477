#pragma once

// The definite integral of every function over [lower, upper] (the
// document's IntegralInterval), by the composite five-point Gauss rule with
// sliceNo partitions, optionally of the difference to one function and
// optionally as an area; the graph shades the chosen function's area and
// shows the limits as grey lines the mouse can drag. Everything its window
// does without widgets.
#include "model/DocumentState.h"
#include "model/OffsetArray.h"
#include "session/MarkerLines.h"
#include "session/ValueTableTool.h"

#include <QString>

// The partition counts the integral window and the options dialog accept,
// and what both say of another whole number.
constexpr int MinSliceNo = 1;
constexpr int MaxSliceNo = 200;
QString SliceNoRangeMessage();
// A typed partition count: a whole number in range goes into sliceNo.
enum class TSliceNoText { Accepted, OutOfRange, NotAnInteger };
TSliceNoText ReadSliceNo(const QString& text, int& sliceNo);
// The partitions stored, their dependants marked changed; whether they
// changed. No undo point and no redraw: the caller's action has them.
bool StoreSliceNo(int sliceNo);
// The dependants of the integral tool marked changed: its two functions,
// the "area" token, the objects.
void MarkIntegralChanged();

// Row i (1..20) of the data panel's function list has its button down (the
// function is hidden).
using TFunctionButtons = TOffsetArray<bool, 1, FunctionCount>;
TFunctionButtons FunctionButtonsDown();

// Function slot i holds compiled code.
bool IsFunctionDefined(const TDocumentTables& doc, int i);
// The height of the rows down to function n: 4 + 24 for each defined
// function among 1..n; for n = 0 all 20 are counted and 24 more added.
int IntegralRowsHeight(const TDocumentTables& doc, int n);
// The window's row area: every row and 30 pixels more.
int IntegralRowAreaHeight(const TDocumentTables& doc);

// One row of the window: row 0 ("none") and one per function.
constexpr int HiddenIntegralRowTop = -100;
struct TIntegralRow {
    QString Text;      // the value, "0" for a hidden function, "---" with undefined limits
    bool Enabled = true;
    int Top = 0;       // HiddenIntegralRowTop: out of sight
    friend bool operator==(const TIntegralRow&, const TIntegralRow&) = default;
};
struct TIntegralTable {
    TOffsetArray<TIntegralRow, 0, FunctionCount> Rows;
    int RowAreaHeight = 0;
    friend bool operator==(const TIntegralTable&, const TIntegralTable&) = default;
};
// The integral row's label: the function row's caption up to its "=" (" y10").
QString IntegralRowLabel(int i);
// Every row's integral from the document's interval, partitions and
// functions; a function whose data-panel button is down shows "0" disabled,
// an undefined one is out of sight. Undefined function values count as 0.
// Values: 15 significant digits, 14 decimals.
TIntegralTable CalcIntegrals(const TDocumentTables& doc, const TFunctionButtons& buttonsDown);

// What the session asks of the open integral window.
class TIntegralView {
public:
    virtual ~TIntegralView() = default;
    virtual bool IsShown() = 0;
    // The limit pictures show the limits.
    virtual void ShowLimits() = 0;
    virtual void ShowIntegrals(const TIntegralTable& table) = 0;
    // A document was read, restored or made new: radios, partitions, marker
    // buttons and limits show it.
    virtual void ShowDocument() = 0;
};

// A limit edited in the calculator: a sent edit is stored with an undo point;
// the graph is redrawn either way.
void EditIntegralLimit(bool upper, const TCalculatorEdit& edit);
// The shaded function (0 none, 1..20), the subtracted one and the area
// mode: the document is modified, with no undo point, and the graph redrawn
// (the integrals computed again only when they change).
void SetIntegralShownFunction(int row);
void SetIntegralSubtractedFunction(int row);
void SetIntegralAreaMode(bool area);
// A typed partition count: a whole number in range is stored and drawn;
// another shows SliceNoRangeMessage as a warning and the text becomes the
// count again; text that is no whole number changes nothing.
TSliceNoText ApplySliceNoText(QString& text);
// A limit's marker flips, drawn on the graph as it is; the document is
// modified, with no undo point.
void ToggleIntegralMarker(bool upper);
// A limit's line dropped at x by the mouse: its text becomes the number,
// with an undo point, and the graph is redrawn. Nothing while a limit is
// being edited.
void SetIntegralLimitFromGraph(bool upper, long double x);

// The mouse's hooks while the integral window is open: its two limits.
class TIntegralMarkers final : public NoMarkerLines {
public:
    bool IsLowerMarkerDraggable() override;
    std::optional<long double> LowerMarkerValue() override;
    void SetLowerFromGraph(long double x) override;
    bool IsUpperMarkerDraggable() override;
    std::optional<long double> UpperMarkerValue() override;
    void SetUpperFromGraph(long double x) override;
    void MarkerLineGrabbed(int dragKind) override;
};

// The open window: while it is attached the overlay computes its integrals
// and shades the area, a document read shows in it and the mouse can grab
// its limits. Attaching and detaching redraw the graph.
void AttachIntegral(TIntegralView& view);
// Without redraw when the program ends.
void DetachIntegral(bool redraw = true);
TIntegralView* AttachedIntegral();
