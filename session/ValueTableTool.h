#pragma once

// The value table: nine formulas of the document (YvalueFunctions)
// evaluated at one shared x (YvalueX), which the graph shows as a grey line
// the mouse can drag while its marker is set. Everything its window does
// without widgets: the rows' texts, the stores of its fields, the line and
// the marker-line hooks of the mouse.
#include "model/DocumentState.h"
#include "session/MarkerLines.h"

#include <QString>
#include <array>
#include <functional>

// A value as a row shows it: X in fixed notation, 14 significant digits and
// 12 decimals ("4.000000000000"); "---" when undefined.
QString ValueTableText(const TValue& value);

// The nine rows' texts at x (row 1 first): "---" for an empty or uncompiled
// row, and for every row when x is undefined.
using TValueTableRows = std::array<QString, YvalueRowCount>;
TValueTableRows ValueTableRows(const TValue& x);

// What the session asks of the open value table window.
class TValueTableView {
public:
    virtual ~TValueTableView() = default;
    // The window is on the screen.
    virtual bool IsShown() = 0;
    // The x picture shows YvalueX.
    virtual void ShowX() = 0;
    virtual void ShowValues(const TValueTableRows& rows) = 0;
    // A document was read, restored or made new: the rows, x and the marker
    // button show it.
    virtual void ShowDocument() = 0;
};

// The calculator's part in an edit: it edits the record and says whether
// the user sent it.
using TCalculatorEdit = std::function<bool(TKavirofunction& record)>;

// x edited in the calculator: its line leaves the graph meanwhile; a sent
// edit is stored with an undo point and drawn, else the line comes back.
void EditYvalueX(const TCalculatorEdit& edit);
// Row i (1..9) edited in the calculator: a sent edit is stored with an undo
// point and the rows show their values again.
void EditYvalueFunction(int i, const TCalculatorEdit& edit);
// The marker of x flips (the line shows exactly while it is set), drawn on
// the graph as it is; the document is modified, with no undo point.
void ToggleYvalueMarker();
// The line dropped at x by the mouse: x's text becomes the number
// (FormulaNumberText), with an undo point, and the graph is redrawn.
// Nothing while the calculator edits x.
void SetYvalueXFromGraph(long double x);

// Whether the line is on the graph now: the window is shown, the marker
// set, x defined and not being edited.
bool IsYValueLineShown();

// The mouse's hooks while the value table is open: its x line only.
class TValueTableMarkers final : public NoMarkerLines {
public:
    bool IsXMarkerDraggable() override;
    std::optional<long double> XMarkerValue() override;
    void SetXFromGraph(long double x) override;
    void MarkerLineGrabbed(int dragKind) override;
};

// The open window: while it is attached the overlay shows its values and
// line, a document read shows in it and the mouse can grab its line.
// Attaching draws the line; detaching redraws the graph without it.
void AttachValueTable(TValueTableView& view);
// Without redraw when the program ends.
void DetachValueTable(bool redraw = true);
// The attached window, or null.
TValueTableView* AttachedValueTable();
