#include "session/PanelLayout.h"

#include <algorithm>
#include <numeric>

TPanelLayout PanelLayout;

TOffsetArray<TPanelPlace, 1, PanelCount> TPanelLayout::DefaultPanels()
{
    TOffsetArray<TPanelPlace, 1, PanelCount> panels;
    for (int i = 1; i <= PanelCount; ++i)
        panels[i].Top = i - 1;
    // A new document has no figures: their panel waits until asked for.
    panels[PanelFigures].Visible = 0;
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

void ReleaseRowPosition(std::span<TRowState> rows, int row)
{
    TRowState& state = rows[static_cast<std::size_t>(row - 1)];
    const int p = state.Position;
    if (p == 0)
        return;
    state.Position = 0;
    for (TRowState& r : rows)
        if (r.Position > p)
            --r.Position;
}

void MoveRowPosition(std::span<TRowState> rows, int row, int target)
{
    if (row == target)
        return;
    const int p = rows[static_cast<std::size_t>(target - 1)].Position;
    ReleaseRowPosition(rows, row);
    for (TRowState& r : rows)
        if (r.Position >= p)
            ++r.Position;
    rows[static_cast<std::size_t>(row - 1)].Position = p;
}

namespace {

// The row list a panel's pictures belong to; curves and points share one.
int RowListOf(int panel)
{
    return panel == PanelCurves ? PanelPoints : panel;
}

bool HasRowPictures(int panel)
{
    return panel != PanelNotes && panel != PanelFigures && panel >= 1 && panel <= PanelCount;
}

} // namespace

TDropAction DropRule(const TDropSpot& source, const TDropSpot& target,
                     const TOffsetArray<TPanelBox, 1, PanelCount>& panels)
{
    if (source.Kind == TDropKind::RowPicture && target.Kind == TDropKind::RowPicture && HasRowPictures(source.Panel)
        && RowListOf(source.Panel) == RowListOf(target.Panel))
        return {TDropAction::MoveRow, RowListOf(source.Panel), source.Row, target.Row, 0};
    if (source.Panel < 1 || source.Panel > PanelCount)
        return {};
    switch (target.Kind) {
    case TDropKind::Toolbar:
        return {};
    case TDropKind::ScrollBox:
        return {TDropAction::MovePanel, source.Panel, 0, 0, PanelTopAtEnd};
    case TDropKind::RowPicture:
    case TDropKind::Panel:
        break;
    }
    if (target.Panel < 1 || target.Panel > PanelCount)
        return {};
    const TPanelBox& dragged = panels[source.Panel];
    const TPanelBox& onto = panels[target.Panel];
    const int top = onto.Top > dragged.Top ? onto.Top + onto.Height : 0;
    return {TDropAction::MovePanel, source.Panel, 0, 0, top};
}

std::array<int, PanelCount> PanelStackOrder()
{
    std::array<int, PanelCount> order{};
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(),
                     [](int a, int b) { return PanelLayout.Panels[a].Top < PanelLayout.Panels[b].Top; });
    return order;
}
