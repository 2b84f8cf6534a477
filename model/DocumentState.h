#pragma once

#include "model/Colors.h"
#include "model/Formula.h"
#include "model/OffsetArray.h"
#include "model/Value.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// One function y = f(x) or one relation 0 = f(x, y). The member defaults
// are the template of a free slot.
struct TEquationFunction {
    TKavirofunction Func;
    std::uint8_t AfterImage = 0; // leaves a trace
    TColor Color = 0xFF0000;
    std::uint8_t Width = 2;
    std::uint8_t AutoCalc = 1; // quick drawing of relations
    std::uint8_t Visible = 1;
    std::uint8_t Pattern = 4; // fill pattern of relations, 1..8
    std::uint8_t Border = 0;
    std::uint8_t LineStyle = 1;
};

// Kinds of an elementary object.
enum : std::uint8_t {
    ObjectEmpty = 0,
    ObjectPoint = 1,
    ObjectCircle = 2,
    ObjectHorizontalLine = 3,
    ObjectVerticalLine = 4,
    ObjectPolar = 5,
    ObjectParametric = 6,
    ObjectSequence = 7,
};

// Polar and parametric curves and point sequences: the kinds drawn as a
// curve over a parameter (the data panel lists them in the curve panel).
inline bool IsCurveKind(int kind)
{
    return kind >= ObjectPolar && kind <= ObjectSequence;
}

// One elementary object; the member defaults are the template of a free slot.
struct TPointFunction {
    std::uint8_t Kind = ObjectEmpty;
    TKavirofunction Pos; // the position as one pair formula; not saved
    TKavirofunction X;
    TKavirofunction Y;
    TKavirofunction R; // radius or third formula
    std::uint8_t Dimension = 1; // 1: x and y formulas, 2: one vector formula
    TColor ColorNo1 = 0xFF0000;
    TColor RColorNo1 = 0xFF0000;
    TColor InsideColor = 0xFFFFFF;
    std::uint8_t Pattern = 1;
    std::uint8_t FigType = 0;
    std::uint8_t PointAImg = 0; // the point leaves a trace
    std::uint8_t RAImg = 0;     // the curve or radius part leaves a trace
    std::uint8_t Width = 3;
    std::uint8_t LocusWidth = 0;
    std::uint8_t RWidth = 1;
    std::uint8_t Draggable = 0;
    std::uint8_t PointStyle = 0;
    std::uint8_t LineStyle = 1;
    std::uint8_t Shown = 1; // hit tests, trace read-out and figures skip hidden objects
    QString Label;          // markup text
    std::uint8_t LabelPos = 0;
    char16_t ParamChar = u't'; // curve parameter; '@' is theta
    long double ParamStep = 0.1L;
    TKavirofunction Low;
    TKavirofunction High;
    std::uint8_t Sync = 0; // the curve parameter follows the global parameter
};

// One entry of the parameter table. Its defaults are those of x and y, which
// no reset touches; the parameters get theirs from ResetPrms.
struct TParameter {
    long double Value = 0.0L;
    std::uint8_t Fixed = 0;
    long double Step = 0.0L;
    std::uint8_t AddStep = 0; // 1: the step is added; 0: the value is multiplied by it
    std::uint8_t Extra = 0;   // the parameter's row shows its step controls
    bool operator==(const TParameter&) const = default;
};

// The definite integral of the integral tool.
struct Tinterval {
    TKavirofunction Lower;
    TKavirofunction Upper;
    TValue LowerValue;
    TValue UpperValue;
    int sliceNo = 0; // partitions, 1..200
    int Dfuncno = 0; // shaded function, 0 none
    int Efuncno = 0; // subtracted function, 0 none
    std::uint8_t AreaQ = 0; // 1: area |f - g| instead of the signed integral
};

struct TCell {
    std::uint8_t Defined = 0;
    long double Value = 0.0L;
    QString Text;
};

constexpr int MaxStickers = 11;

// The notes shown on the graph as stickers.
struct TMemoStr {
    TOffsetArray<QStringList, 1, MaxStickers> Lines;
    // The token codes the value fields of a note compile to, one code unit
    // a token: a change of one of them shows the note again.
    TOffsetArray<QString, 1, MaxStickers> Refs;
    TOffsetArray<std::uint8_t, 1, MaxStickers> Changed;
    int Count = 0;
    TOffsetArray<QString, 1, MaxStickers> Names; // first lines
    // The names and the count before the notes were last split: sticker
    // images keep their places by them.
    TOffsetArray<QString, 1, MaxStickers> OldNames;
    int OldCount = 0;
};

// The inputs of the table's formula: x, y and z are read from these columns
// of the same row, w from this row of the same column.
struct TTableSelection {
    int XColumn = 0;
    int YColumn = 0;
    int ZColumn = 0;
    int WRow = 0;
    bool operator==(const TTableSelection&) const = default;
};

constexpr int FunctionCount = 20;
constexpr int RelationCount = 9;
constexpr int PointCount = 22;
constexpr int UserFunctionCount = 8;
constexpr int ParamCount = 14;
constexpr int SegmentCount = 30;
constexpr int TableRows = 200;
constexpr int TableColumns = 10;
constexpr int YvalueRowCount = 9;

using TCellRow = TOffsetArray<TCell, 0, TableColumns>;
// The tables of functions, relations, objects and of x (-1), y (0) and the
// parameters a .. k (1..14).
using TFunctionRecords = TOffsetArray<TEquationFunction, 1, FunctionCount>;
using TRelationRecords = TOffsetArray<TEquationFunction, 1, RelationCount>;
using TPointRecords = TOffsetArray<TPointFunction, 1, PointCount>;
using TParamTable = TOffsetArray<TParameter, -1, ParamCount>;

// The whole document. Row 0 and column 0 of Cells hold the column and row
// numbers; the data is in rows 1..200, columns 1..10.
struct TDocumentTables {
    TFunctionRecords Functions;
    TRelationRecords Relations;
    TPointRecords Points;
    TOffsetArray<TKavirofunction, 1, UserFunctionCount> UserFunctions;
    TParamTable Params;
    TOffsetArray<TKavirofunction, 1, YvalueRowCount> YvalueFunctions;
    TKavirofunction YvalueX;
    TValue YvalueXValue;
    Tinterval IntegralInterval;
    TOffsetArray<TCellRow, 0, TableRows> Cells;
    TKavirofunction TableFormula;
    TTableSelection TableSelection;
    TOffsetArray<int, 1, TableColumns> TableColWidths{};
    TMemoStr Stickers;
    QStringList PetaMemoLines;   // note text, with the "#" script lines
    QStringList SimpleMemoLines; // the memo sheet
    TOffsetArray<TColor, 1, FunctionCount> FunctionTraceColors{};
    TOffsetArray<TColor, 1, RelationCount> RelationTraceColors{};
    TOffsetArray<TColor, 1, PointCount> PointTraceColors{};
    TOffsetArray<TColor, 1, SegmentCount> SegmentTraceColors{};
};
extern TDocumentTables DocumentTables;

// Templates of free slots.
inline const TEquationFunction DefaultEquation{};
inline const TPointFunction DefaultPoint{};

// Options, colour scheme and tool settings of a new document; the formula
// tables, parameters, table and notes stay.
void ResetDocumentState();
// Step settings of parameter i back to their defaults; its value stays.
void ResetParameter(int i);
// Parameters 1..14 to 1 ('@' to 0) with default steps; y to 0.
void ResetPrms();
// Every formula slot free; objects labelled with their letters.
void ResetObjectRecords();
// Empty table with numbered header row and column.
void ClearTable();
// Empty notes; the note text keeps only the stored scripts' lines.
void ResetLists();
// Empty notes, note text, scripts and memo sheet.
void NewDocumentLists();
// Every reset above, as for a new document.
void ResetDocument();

// Stores a value into a table cell, with its printed number as text; an
// undefined value keeps the given text and stores 0. Cells outside the table
// are ignored.
void SetCellValue(int row, int col, const TValue& value, const QString& text);
// Reads Defined and X of a cell into value, leaving its Kind and Y; outside
// the table value becomes an undefined real.
void GetCellValue(int row, int col, TValue& value);
