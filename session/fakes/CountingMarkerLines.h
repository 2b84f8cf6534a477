#pragma once

#include "session/MarkerLines.h"

#include <vector>

// Marker lines at set values that record where the mouse put them.
class CountingMarkerLines final : public TMarkerLines {
public:
    std::optional<long double> X, Lower, Upper; // nothing: not draggable
    std::vector<long double> XSet, LowerSet, UpperSet;

    bool IsXMarkerDraggable() override { return X.has_value(); }
    std::optional<long double> XMarkerValue() override { return X; }
    void SetXFromGraph(long double x) override { XSet.push_back(x); }
    bool IsLowerMarkerDraggable() override { return Lower.has_value(); }
    std::optional<long double> LowerMarkerValue() override { return Lower; }
    void SetLowerFromGraph(long double x) override { LowerSet.push_back(x); }
    bool IsUpperMarkerDraggable() override { return Upper.has_value(); }
    std::optional<long double> UpperMarkerValue() override { return Upper; }
    void SetUpperFromGraph(long double x) override { UpperSet.push_back(x); }
};
