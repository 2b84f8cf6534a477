#pragma once

// The view the relation tests draw on: −5..5 × −5..5 over 400 × 400 pixels,
// its layer pictures sized to it, and relations set from their texts.
#include "engine/Compiler.h"
#include "model/DocumentState.h"
#include "render/view/Scale.h"
#include "tests/render/ViewTestKit.h"

#include <gtest/gtest.h>

class RelationsViewTest : public ::testing::Test {
protected:
    ScaleT& view = GraphScale;

    void SetUp() override { SetTestView(-5.0L, 5.0L, -5.0L, 5.0L, 400, 400); }

    TEquationFunction& SetRelation(int i, const char* text, bool autoCalc = true)
    {
        TEquationFunction& r = DocumentTables.Relations[i];
        r.Func.Text = QString::fromUtf8(text);
        PrepareExpression(r.Func, ModeRelation);
        r.AutoCalc = autoCalc;
        return r;
    }
};
