#pragma once

// What the value table and integral windows share without widgets: where
// they were last closed, what they are doing now, and their part in every
// redraw and every document read (registered at start-up). The windows
// open one at a time; the open one attaches its view (ValueTableTool.h,
// IntegralTool.h) for as long as it exists.
#include "session/MarkerLines.h"

#include <QPoint>
#include <optional>

struct TToolWindowState {
    // The calculator edits the value table's x, or an integral limit: its
    // line is off the graph meanwhile, and a drag does not change it.
    bool EditingX = false;
    bool LimitEditing = false;
    // The integrals may be computed at the next refreshing draw of the
    // overlay; off during the redraws of a choice that does not change them.
    bool ValuesActive = false;
    // Where each window was when it last closed.
    std::optional<QPoint> FormYValuePos;
    std::optional<QPoint> FormIvaluePos;
    void Reset() { *this = TToolWindowState{}; }
};
extern TToolWindowState ToolWindowState;

// The tools' formulas of a new document compiled: the value table's x and
// rows, the integral's limits (a document read compiles its own).
void CompileToolFormulas();

// The tools' redraw and document participants join (InstallSessionServices
// calls it).
void InstallToolWindowServices();

// A tool line (the value table's x, an integral limit) at x drawn in XOR on
// the visible graph, and the graph shown: drawn twice it is gone.
void XorToolLine(long double x);
// The graph redrawn inside the action, as the tools' changes ask.
void RedrawGraph();

// The open window of one tool: its view, and the tool's marker lines
// installed for the mouse while it is attached.
template <class View, class Markers>
class TToolAttachment {
public:
    View* Attached() const { return view_; }
    // The window is attached and on the screen.
    bool IsShown() const { return view_ && view_->IsShown(); }
    void Attach(View& view)
    {
        installed_.reset();
        view_ = &view;
        installed_.emplace(markers_);
    }
    // False when nothing was attached.
    bool Detach()
    {
        if (!view_)
            return false;
        view_ = nullptr;
        installed_.reset();
        return true;
    }

private:
    View* view_ = nullptr;
    Markers markers_;
    std::optional<ScopedMarkerLines> installed_;
};
