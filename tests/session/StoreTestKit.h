#pragma once

// What the store tests share: records compiled from texts and a counting
// row host on top of the session fixture.
#include "SessionTest.h"

#include "session/RowModels.h"
#include "session/fakes/CountingRowHost.h"

#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "engine/TokenTable.h"

inline TEquationFunction Equation(const QString& text, int mode = ModeFunction)
{
    TEquationFunction f = DefaultEquation;
    f.Func.Text = text;
    if (!text.isEmpty())
        PrepareExpression(f.Func, mode);
    return f;
}

// Object k as a point at a position text «(x, y)», or a curve of the kind.
inline TPointFunction PointAt(int k, const QString& position, std::uint8_t kind = ObjectPoint)
{
    TPointFunction p = DefaultPoint;
    p.Kind = kind;
    p.Pos.Text = position;
    JoinPointTexts(p, PointTextDirection::Split);
    for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y, &p.R, &p.Low, &p.High})
        if (!f->Text.isEmpty())
            PrepareExpression(*f, k);
    return p;
}

class StoreTest : public SessionTest {
protected:
    CountingRowHost rows_;
    ScopedRowHost scopedRows_{rows_};
};
