#pragma once

// The objects tests' document: objects typed as the object dialog stores
// them, their evaluated states, and the view −5..5 × −5..5 on 400 × 400
// pixels.
#include "PlotTestKit.h"
#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "model/DocumentState.h"
#include "render/gfx/TextMetrics.h"
#include "render/plot/Loci.h"
#include "render/plot/Objects.h"
#include "render/view/Scale.h"
#include "tests/render/ViewTestKit.h"

#include <gtest/gtest.h>

class ObjectsTest : public ::testing::Test {
protected:
    FakeTextMetrics fakeMetrics;
    ScopedTextMetrics useFake{fakeMetrics};
    TPointStates states;

    void SetUp() override { SetTestViewAxes(-5.0L, 5.0L, -5.0L, 5.0L, 400, 400); }

    static TViewMapping Mapping(int magnification = 1) { return GraphScale.Mapping(magnification); }

    static TPointFunction& Object(int k) { return DocumentTables.Points[k]; }

    // A point, circle or line with its formulas compiled, and its state as
    // the redraw would evaluate it.
    TPointFunction& SetShape(int k, std::uint8_t kind, long double x, long double y, long double r = 0.0L)
    {
        TPointFunction& p = Object(k);
        p.Kind = kind;
        p.X.Text = Num(x);
        p.Y.Text = Num(y);
        p.R.Text = Num(r);
        Compile(k);
        TPointState& s = states[k];
        s.Kind = kind;
        s.X = x;
        s.Y = y;
        s.R = r;
        CopyStyle(k);
        return p;
    }
    // The styles of the record into its state, as the redraw copies them.
    void CopyStyle(int k)
    {
        const TPointFunction& p = Object(k);
        TPointState& s = states[k];
        s.ColorNo1 = p.ColorNo1;
        s.RColorNo1 = p.RColorNo1;
        s.InsideColor = p.InsideColor;
        s.PointAImg = p.PointAImg;
        s.RAImg = p.RAImg;
        s.Width = p.Width;
        s.RWidth = p.RWidth;
        s.LocusWidth = p.LocusWidth;
        s.PointStyle = p.PointStyle;
        s.LineStyle = p.LineStyle;
    }

    // A curve object; for a polar curve x and y are ignored and r is its equation.
    static TPointFunction& SetCurve(int k, std::uint8_t kind, const QString& x, const QString& y, const QString& r,
                                    char16_t param, const QString& low, const QString& high, long double step)
    {
        TPointFunction& p = Object(k);
        p.Kind = kind;
        p.X.Text = kind == ObjectPolar ? QStringLiteral("r cos@") : x;
        p.Y.Text = kind == ObjectPolar ? QStringLiteral("r sin@") : y;
        p.R.Text = r;
        p.ParamChar = param;
        p.ParamStep = step;
        p.Low.Text = low;
        p.High.Text = high;
        p.RWidth = 2;
        PrepareExpression(p.Low, ModePlain);
        PrepareExpression(p.High, ModePlain);
        Compile(k);
        return p;
    }

    static void Compile(int k)
    {
        TPointFunction& p = Object(k);
        for (TKavirofunction* f : {&p.X, &p.Y, &p.R})
            PrepareExpression(*f, k);
        JoinPointTexts(p, PointTextDirection::Join);
        PrepareExpression(p.Pos, k);
    }

    Tlocus Locus(int k, TLocusPath path = TLocusPath::Auto)
    {
        Tlocus locus;
        TLocusSources sources = LocusSourcesOf(GraphScale);
        sources.PointStates = &states;
        ComputeLocus(Object(k), locus, sources, path);
        return locus;
    }

    static QString Num(long double v) { return QString::number(static_cast<double>(v), 'g', 17); }

    // Lines of a recording that start with a prefix.
    static std::vector<std::string> Starting(const std::vector<std::string>& lines, const std::string& prefix)
    {
        std::vector<std::string> out;
        for (const std::string& line : lines)
            if (line.rfind(prefix, 0) == 0)
                out.push_back(line);
        return out;
    }
};
