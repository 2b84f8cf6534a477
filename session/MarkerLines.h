#pragma once

// The marker lines that the value table and the integral window show on the
// graph, as the mouse sees them: whether each may be grabbed, where it is,
// and where a drag puts it. Those windows install their implementation;
// until then no marker can be grabbed.
#include "platform/ServiceSlot.h"

#include <optional>

class TMarkerLines {
public:
    virtual ~TMarkerLines() = default;
    // The value table's x line.
    virtual bool IsXMarkerDraggable() = 0;
    virtual std::optional<long double> XMarkerValue() = 0;
    virtual void SetXFromGraph(long double x) = 0;
    // The integral's limit lines; a limit without a defined value has no
    // line to grab.
    virtual bool IsLowerMarkerDraggable() = 0;
    virtual std::optional<long double> LowerMarkerValue() = 0;
    virtual void SetLowerFromGraph(long double x) = 0;
    virtual bool IsUpperMarkerDraggable() = 0;
    virtual std::optional<long double> UpperMarkerValue() = 0;
    virtual void SetUpperFromGraph(long double x) = 0;
    // A drag took a line (dragKind 2 x, 3 lower, 4 upper): the line leaves
    // the graph while the mouse draws its own.
    virtual void MarkerLineGrabbed(int dragKind) { (void)dragKind; }
};

// No line to grab; the tools override the lines they have.
class NoMarkerLines : public TMarkerLines {
public:
    bool IsXMarkerDraggable() override { return false; }
    std::optional<long double> XMarkerValue() override { return std::nullopt; }
    void SetXFromGraph(long double) override {}
    bool IsLowerMarkerDraggable() override { return false; }
    std::optional<long double> LowerMarkerValue() override { return std::nullopt; }
    void SetLowerFromGraph(long double) override {}
    bool IsUpperMarkerDraggable() override { return false; }
    std::optional<long double> UpperMarkerValue() override { return std::nullopt; }
    void SetUpperFromGraph(long double) override {}
};

TMarkerLines& CurrentMarkerLines();
using ScopedMarkerLines = platform::ScopedService<TMarkerLines>;
