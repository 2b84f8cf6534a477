#pragma once

// A figure list of its own on the view −5..5 over 400 × 400 pixels (40
// pixels a unit, the origin at pixel (200, 200)), with the document's
// default settings.
#include "PlotTestKit.h"
#include "render/plot/Figures.h"

#include <gtest/gtest.h>
#include <initializer_list>

class FigureTest : public ::testing::Test {
protected:
    TSegments list;
    TFigureSettings settings;

    TFigureView View() const { return {list, TViewMapping{}, settings}; }

    void SetPoint(int k, long double x, long double y)
    {
        list.States[k] = TPointState{.Kind = ObjectPoint, .X = x, .Y = y};
    }
    void SetHorizontalLine(int k, long double y) { list.States[k] = TPointState{.Kind = ObjectHorizontalLine, .Y = y}; }
    void SetVerticalLine(int k, long double x) { list.States[k] = TPointState{.Kind = ObjectVerticalLine, .X = x}; }

    // Appends a figure; its number.
    int Put(std::uint8_t kind, std::initializer_list<int> vertices, TColor color = 0x0000FF)
    {
        Tsegment f;
        f.Kind = kind;
        int i = 1;
        for (int v : vertices)
            f.Vertices[i++] = static_cast<std::uint8_t>(v);
        f.Color = color;
        list.Data.Items[++list.Data.Count] = f;
        return list.Data.Count;
    }
    Tsegment& Item(int s) { return list.Data.Items[s]; }
};

// Object numbers of the letters the tests use.
enum : int { P = 1, Q = 2, R = 3, S = 4, T = 5, U = 6, V = 7, A = 8, B = 9, C = 10, D = 11 };
