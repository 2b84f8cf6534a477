#pragma once

// Records for the data panel's tests, compiled from their texts.
#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "model/DocumentState.h"

inline TEquationFunction Equation(const QString& text, int mode = ModeFunction, TColor color = DefaultEquation.Color)
{
    TEquationFunction f = DefaultEquation;
    f.Func.Text = text;
    f.Color = color;
    if (!text.isEmpty())
        PrepareExpression(f.Func, mode);
    return f;
}

// Object k of a kind from its x, y and radius texts.
inline TPointFunction ObjectOf(int k, std::uint8_t kind, const QString& x, const QString& y, const QString& r = {})
{
    TPointFunction p = DefaultPoint;
    p.Kind = kind;
    p.X.Text = x;
    p.Y.Text = y;
    p.R.Text = r;
    JoinPointTexts(p, PointTextDirection::Join);
    for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y, &p.R})
        if (!f->Text.isEmpty())
            PrepareExpression(*f, k);
    return p;
}
