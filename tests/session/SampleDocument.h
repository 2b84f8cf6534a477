#pragma once

// A document that fills every table of the project text: 8 user functions,
// 20 functions, 9 relations, 22 objects of every kind, 30 figures, every
// parameter, 200 table rows, 100 note lines with scripts, placed rows,
// panels and stickers. Shared by the project tests and benchmarks.

#include "session/PanelLayout.h"
#include "session/ProjectFile.h"

#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "render/view/Scale.h"

#include <QString>

namespace sample_document {

inline QString Num(int i)
{
    return QString::number(i);
}

inline void Formula(TKavirofunction& f, const QString& text, int mode)
{
    f.Text = text;
    PrepareExpression(f, mode);
}

inline void FillFormulas()
{
    TDocumentTables& t = DocumentTables;
    for (int i = 1; i <= UserFunctionCount; ++i) {
        Formula(t.UserFunctions[i], i == 1 ? QStringLiteral("x^2+a") : QStringLiteral("f(x)*") + Num(i), ModeUserFunction);
        AssignRowPosition(PanelLayout.UserFunctionRows, UserFunctionCount + 1 - i);
    }
    for (int i = 1; i <= FunctionCount; ++i) {
        TEquationFunction& f = t.Functions[i];
        Formula(f.Func, QStringLiteral("a·sin(x+") + Num(i) + QStringLiteral("°)+b/") + Num(i), ModeFunction);
        f.Color = static_cast<TColor>(0x010203 * i);
        f.Width = static_cast<std::uint8_t>(1 + i % 4);
        f.AfterImage = static_cast<std::uint8_t>(i % 2);
        f.Visible = static_cast<std::uint8_t>(i % 3 != 0);
        f.LineStyle = static_cast<std::uint8_t>(1 + i % 4);
        AssignRowPosition(PanelLayout.FunctionRows, i);
        PanelLayout.FunctionRows[i].Shown = static_cast<std::uint8_t>(i % 5 != 0);
    }
    for (int i = 1; i <= RelationCount; ++i) {
        TEquationFunction& f = t.Relations[i];
        Formula(f.Func, QStringLiteral("x^2+y^2<") + Num(i) + QStringLiteral("+c"), ModeRelation);
        f.Color = static_cast<TColor>(0x102030 * i);
        f.Pattern = static_cast<std::uint8_t>(1 + i % 8);
        f.Border = static_cast<std::uint8_t>(i % 2);
        f.AutoCalc = static_cast<std::uint8_t>(i % 2);
        AssignRowPosition(PanelLayout.RelationRows, RelationCount + 1 - i);
    }
}

inline void FillObjects()
{
    TDocumentTables& t = DocumentTables;
    for (int k = 1; k < PointCount; ++k) {
        TPointFunction& p = t.Points[k];
        p.Kind = static_cast<std::uint8_t>(1 + (k - 1) % 7);
        p.Label = QStringLiteral("<B>") + QString(PointLetter(k)) + QStringLiteral("</B> = !{") + QString(PointLetter(k))
                  + QStringLiteral(".x|3}, ok");
        p.LabelPos = static_cast<std::uint8_t>(k % 10);
        switch (p.Kind) {
        case ObjectPolar:
            p.R.Text = QStringLiteral("1+0.5cos(@)");
            p.ParamChar = u'@';
            p.Low.Text = QStringLiteral("0");
            p.High.Text = QStringLiteral("2Pi");
            break;
        case ObjectParametric:
        case ObjectSequence:
            p.X.Text = QStringLiteral("cos(t)+") + Num(k);
            p.Y.Text = QStringLiteral("sin(t)·a");
            p.Low.Text = QStringLiteral("-Pi");
            p.High.Text = QStringLiteral("Pi");
            p.ParamStep = 0.05L;
            break;
        default:
            p.X.Text = QStringLiteral("1.25+") + Num(k);
            p.Y.Text = k > 1 ? QStringLiteral("P.y-") + Num(k) : QStringLiteral("a");
            p.R.Text = p.Kind == ObjectCircle ? QStringLiteral("b") : QString();
            p.Draggable = 1;
            break;
        }
        p.ColorNo1 = static_cast<TColor>(0x000100 * k);
        p.RColorNo1 = static_cast<TColor>(0x010000 * k);
        p.Width = static_cast<std::uint8_t>(2 + k % 3);
        p.PointAImg = static_cast<std::uint8_t>(k % 2);
        for (TKavirofunction* f : {&p.X, &p.Y, &p.R})
            PrepareExpression(*f, k);
        PrepareExpression(p.Low, ModePlain);
        PrepareExpression(p.High, ModePlain);
        JoinPointTexts(p, PointTextDirection::Join);
        PrepareExpression(p.Pos, k);
        AssignRowPosition(PanelLayout.PointRows, k);
    }
    AssignRowPosition(PanelLayout.PointRows, PointCount);
}

inline void FillFigures()
{
    constexpr std::uint8_t Kinds[] = {1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    for (int s = 1; s <= SegmentCount; ++s) {
        Tsegment& f = Segments.Data.Items[s];
        f = Tsegment{};
        f.Kind = Kinds[s % std::size(Kinds)];
        for (int v = 1; v <= 3; ++v)
            f.Vertices[v] = static_cast<std::uint8_t>(1 + (s + v * 5) % PointCount);
        if (s == 1)
            f.Vertices[2] = AxisXObject;
        f.Color = static_cast<TColor>(0x030201 * s);
        f.InsideColor = s % 3 ? ColorWhite : 0xE0E0FF;
        f.Pattern = static_cast<std::uint8_t>(1 + s % 8);
        f.Label = s % 2 ? QStringLiteral("L") + Num(s) : QString();
        f.Shown = static_cast<std::uint8_t>(s % 4 != 0);
    }
    Segments.Data.Count = SegmentCount;
}

inline void FillTablesAndNotes()
{
    TDocumentTables& t = DocumentTables;
    for (int j = 1; j <= ParamCount; ++j) {
        t.Params[j].Value = 0.5L * j;
        t.Params[j].Step = 0.25L;
        t.Params[j].AddStep = static_cast<std::uint8_t>(j % 2);
        AssignRowPosition(PanelLayout.ParamRows, j);
    }
    for (int r = 1; r <= TableRows; ++r)
        for (int c = 1; c <= TableColumns; c += 3)
            SetCellValue(r, c, ValueReal(r * 0.5L + c), QString());
    DocumentTables.Cells[7][2].Text = QStringLiteral("texto, livre");
    Formula(t.TableFormula, QStringLiteral("x+y·2"), ModePlain);
    t.TableColWidths[3] = 90;
    for (int i = 1; i <= 100; ++i)
        t.PetaMemoLines.append(i % 10 == 0 ? QStringLiteral("#Set a=") + Num(i) + QStringLiteral(".5")
                                           : QStringLiteral("Nota ") + Num(i) + QStringLiteral(", valor {a+1.5}"));
    t.SimpleMemoLines = QStringList{QStringLiteral("Olá, mundo"), QString(), QStringLiteral("fim.")};
    Formula(t.IntegralInterval.Lower, QStringLiteral("-Pi"), ModePlain);
    t.IntegralInterval.sliceNo = 37;
    for (int i = 1; i <= MaxStickers; ++i)
        PanelLayout.StickerPlaces[i] = {10 * i, 20 * i, static_cast<std::uint8_t>(i % 2)};
    for (int i = 1; i <= PanelCount; ++i)
        PanelLayout.Panels[i] = {100 * (PanelCount - i), static_cast<std::uint8_t>(i != 3)};
    PanelLayout.ShowEquation = 1;
    Options.BGMode = 2;
    ProjectFile.BGfile = QStringLiteral("/pictures/fundo claro.png");
    GraphScale.XAxis.Caption = QStringLiteral("tempo <I>t</I>");
    GraphScale.XAxis.SetBounds(-2.5L, 7.75L);
    GraphScale.YAxis.Base = 0.5L;
    GraphScale.PolorNum = 24;
}

// Fills the document (which should be new, with its origin object).
inline void Build()
{
    FillFormulas();
    FillObjects();
    FillFigures();
    FillTablesAndNotes();
}

} // namespace sample_document
