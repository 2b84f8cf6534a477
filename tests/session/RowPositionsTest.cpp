// Row positions of the data panel's lists and where a dragged row lands.
#include "session/PanelLayout.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<TRowState> RowsAt(std::initializer_list<int> positions)
{
    std::vector<TRowState> rows;
    for (int p : positions)
        rows.push_back({p, 1});
    return rows;
}

std::vector<int> Positions(const std::vector<TRowState>& rows)
{
    std::vector<int> out;
    for (const TRowState& r : rows)
        out.push_back(r.Position);
    return out;
}

TEST(RowPositions, AssignReleaseAndMove)
{
    enum Op { Assign, Release, Move };
    struct Case {
        const char* what;
        std::initializer_list<int> before;
        Op op;
        int row;
        int target;
        std::vector<int> after;
    };
    const Case cases[] = {
        {"assign goes after the placed rows", {1, 0, 2, 0}, Assign, 2, 0, {1, 3, 2, 0}},
        {"assign keeps a place", {1, 2, 0}, Assign, 2, 0, {1, 2, 0}},
        {"release closes the gap", {1, 3, 2, 4}, Release, 2, 0, {1, 0, 2, 3}},
        {"release of no place", {1, 0, 2}, Release, 2, 0, {1, 0, 2}},
        {"D onto A", {1, 2, 3, 4}, Move, 4, 1, {2, 3, 4, 1}},
        {"A onto C", {1, 2, 3, 4}, Move, 1, 3, {3, 1, 2, 4}},
        {"onto itself", {1, 2, 3}, Move, 2, 2, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        std::vector<TRowState> rows = RowsAt(c.before);
        switch (c.op) {
        case Assign: AssignRowPosition(rows, c.row); break;
        case Release: ReleaseRowPosition(rows, c.row); break;
        case Move: MoveRowPosition(rows, c.row, c.target); break;
        }
        EXPECT_EQ(Positions(rows), c.after) << c.what;
    }
}

TEST(RowPositions, DropRules)
{
    TOffsetArray<TPanelBox, 1, PanelCount> panels;
    for (int i = 1; i <= PanelCount; ++i)
        panels[i] = {100 * (i - 1), 80};
    using K = TDropKind;
    using A = TDropAction;
    struct Case {
        const char* what;
        TDropSpot source;
        TDropSpot target;
        TDropAction action;
    };
    const Case cases[] = {
        {"row onto a row of its list", {K::RowPicture, PanelFunctions, 4}, {K::RowPicture, PanelFunctions, 1},
         {A::MoveRow, PanelFunctions, 4, 1, 0}},
        {"curve row onto a point row", {K::RowPicture, PanelCurves, 9}, {K::RowPicture, PanelPoints, 1},
         {A::MoveRow, PanelPoints, 9, 1, 0}},
        {"row onto another list: its panel moves below", {K::RowPicture, PanelFunctions, 1},
         {K::RowPicture, PanelRelations, 1}, {A::MovePanel, PanelFunctions, 0, 0, 180}},
        {"panel onto a panel above: to the top", {K::Panel, PanelUserFunctions}, {K::Panel, PanelRelations},
         {A::MovePanel, PanelUserFunctions, 0, 0, 0}},
        {"panel onto itself: to the top", {K::Panel, PanelPoints}, {K::Panel, PanelPoints},
         {A::MovePanel, PanelPoints, 0, 0, 0}},
        {"onto the empty scroll box: to the end", {K::Panel, PanelFunctions}, {K::ScrollBox, 0},
         {A::MovePanel, PanelFunctions, 0, 0, PanelTopAtEnd}},
        {"onto the tool bar: nothing", {K::RowPicture, PanelFunctions, 2}, {K::Toolbar, 0}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DropRule(c.source, c.target, panels), c.action) << c.what;
}

} // namespace
