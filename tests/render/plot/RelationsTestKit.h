#pragma once

// The view the relation tests draw on: −5..5 × −5..5 over 400 × 400 pixels,
// its layer pictures sized to it, and relations set from their texts.
#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "render/view/Scale.h"

#include <gtest/gtest.h>

class RelationsViewTest : public ::testing::Test {
protected:
    ScaleT& view = GraphScale;

    void SetUp() override
    {
        view.XAxis.VHigh = view.YAxis.VHigh = 400;
        view.XAxis.SetBounds(-5.0L, 5.0L);
        view.YAxis.SetBounds(-5.0L, 5.0L);
        view.XAxis.Recalc();
        view.YAxis.Recalc();
        view.InitColumns();
        for (TBitmap& image : view.GraphImages)
            image.SetSize(401, 401);
    }

    TEquationFunction& SetRelation(int i, const char* text, bool autoCalc = true)
    {
        TEquationFunction& r = DocumentTables.Relations[i];
        r.Func.Text = QString::fromUtf8(text);
        PrepareExpression(r.Func, ModeRelation);
        r.AutoCalc = autoCalc;
        return r;
    }
};
