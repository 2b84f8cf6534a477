#include "session/PanelLayout.h"

#include <algorithm>
#include <numeric>

TPanelLayout PanelLayout;

TOffsetArray<TPanelPlace, 1, PanelCount> TPanelLayout::DefaultPanels()
{
    TOffsetArray<TPanelPlace, 1, PanelCount> panels;
    for (int i = 1; i <= PanelCount; ++i)
        panels[i].Top = i - 1;
    return panels;
}

void TPanelLayout::ClearRows()
{
    UserFunctionRows.fill(TRowState{});
    FunctionRows.fill(TRowState{});
    RelationRows.fill(TRowState{});
    PointRows.fill(TRowState{});
    ParamRows.fill(TRowState{});
}

void AssignRowPosition(std::span<TRowState> rows, int row)
{
    TRowState& state = rows[static_cast<std::size_t>(row - 1)];
    if (state.Position > 0)
        return;
    const auto placed = std::count_if(rows.begin(), rows.end(), [](const TRowState& r) { return r.Position != 0; });
    state.Position = 1 + static_cast<int>(placed);
}

std::array<int, PanelCount> PanelStackOrder()
{
    std::array<int, PanelCount> order{};
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(),
                     [](int a, int b) { return PanelLayout.Panels[a].Top < PanelLayout.Panels[b].Top; });
    return order;
}
