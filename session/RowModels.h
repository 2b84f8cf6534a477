#pragma once

// What the data panel's rows show, computed without widgets: one model per
// slot of each list. The row widgets bind to these models; the session
// rebuilds them and tells the windows through the row host (RowHost.h).
#include "model/Colors.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/OffsetArray.h"
#include "model/TokenString.h"
#include "render/gfx/Bitmap.h"

#include <QString>
#include <cstdint>

// The lists of rows with pictures. Curves and points share the object list;
// each object row stands in the panel of its kind.
enum class TRowKind { Functions, Relations, Objects, UserFunctions };

// Sizes of the rows from the screen's resolution and presentation mode.
struct TRowMetrics {
    int RowSizeBase = 12;  // point size of row pictures at normal size
    int TextSizeBase = 12; // point size of row texts at normal size
    int RowSize = 12;      // doubled in presentation mode
    int TextSize = 12;
    int RowPitch = 38;       // pixels from one object row to the next
    int ValueRowHeight = 38; // the value window's rows, never doubled
    int ScriptButtonHeight = 29;
    // From the form's pixels per inch and the display mode.
    void Apply(int pixelsPerInch, bool presentation);
    void Reset() { *this = TRowMetrics{}; }
};
extern TRowMetrics RowMetrics;

// The top of a row with pictures within its panel (display index from 1).
int RowTop(int displayIndex);

// One row of a list with pictures.
struct TRowModel {
    bool InUse = false;     // the slot holds a record
    bool Shown = false;     // the row is visible: in use and its show flag set
    int Position = 0;       // stored place in its list (0: none)
    int DisplayIndex = 0;   // place among the shown rows of its panel, from 1; 0 hidden
    int Panel = 0;          // the panel it stands in (TPanelIndex)
    QString Label;          // the show button's caption: " y1=", " C1: ", "f =", "A"
    TColor LabelColor = 0;  // the record's colour; white while the button is down
    bool LabelBold = false; // the line is wider than 1
    bool ButtonDown = false; // the record is hidden
    TTokenString Picture;   // the formula to typeset (scanned tokens)
    int PictureSize = 12;   // its point size
    TColor TextColor = 0;   // the row's text colour
    bool operator==(const TRowModel&) const = default;
};

// One panel's rows and its add button.
template <int N>
struct TRowList {
    TOffsetArray<TRowModel, 1, N> Rows;
    int AddSlot = 0;         // the first free slot, for "add"; 0 when full
    int ShownCount = 0;      // rows shown in the panel
    int CurveShownCount = 0; // objects only: rows shown in the curve panel
};

// One parameter row.
struct TParamRowModel {
    bool Shown = false;
    int DisplayIndex = 0;
    QString Label;           // "a =", "θ ="
    QString EditText;        // what the value edit holds (typed or shown)
    bool Pending = false;    // typed and not yet applied
    TColor EditColor = 0;    // blue (0xFF0000) while typed, black once applied
    QString StepText;        // the step as full-precision text
    bool Fixed = false;
    bool AddStep = true;     // "+" (added) or "×" (multiplied)
    bool StepControlsShown = true;
};
constexpr TColor TypedEditColor = 0xFF0000;
constexpr TColor AppliedEditColor = 0x000000;

// One figure row: the kind's icon recoloured, and the vertex letters.
struct TFigureRowModel {
    bool Shown = false;
    bool ButtonDown = false;  // the figure is hidden
    int Top = 0;
    QString Label;            // "L1"
    std::uint8_t Kind = FigureNone;
    TColor Color = 0;         // the icon's line colour
    TColor SecondLineColor = 0; // white unless the figure is 2 or more wide
    bool Filled = false;      // kinds with an inside: rectangle, polygon, angle, arc
    TColor InsideColor = ColorWhite;
    std::uint8_t Pattern = 1;
    QString VertexLetters;    // bold black at (60, 2)
};

struct TRowModels {
    TRowList<FunctionCount> Functions;
    TRowList<RelationCount> Relations;
    TRowList<PointCount> Objects;
    TRowList<UserFunctionCount> UserFunctions;
    TOffsetArray<TParamRowModel, 1, ParamCount> Params;
    int ParamShownCount = 0;
    bool PendingPrmEdits = false; // some parameter edit holds typed text
    TOffsetArray<TFigureRowModel, 1, SegmentCount> Figures;
    int FigurePanelHeight = 30;   // without the add button
    bool FigureAddVisible = true; // fewer than 30 figures
    void Reset() { *this = TRowModels{}; }
};
extern TRowModels RowModels;


// The row refreshes: trace colours from the records, each row's model, and
// the windows told. Objects: curves in the curve panel, the rest in the
// point panel; the plain origin has no row.
void RefreshYfxRows();
void RefreshCfnRows();
void RefreshUsrRows();
void RefreshPntRows();
// The figure rows from the figure list.
void ShowSegRows();
// Which parameters have rows: those in use, not the x axis's letter, with
// their show flag; the others' step controls come back next time.
void UpdatePrmPanel();
// The parameter rows' texts, fix buttons and step modes from the table; an
// edit holding typed text keeps it.
void ShowPrmValues();
// A parameter value as its edit shows it: 8 significant digits.
QString ParamValueText(long double value);
// A step as its edit shows it: full precision.
QString ParamStepText(long double step);
// Every list, as after a load.
void RefreshAllRows();

// The show button's caption of function or relation row i: " y1=", " C1: ".
QString EquationRowLabel(int i, bool relation);
// The show button's caption of user function row i: "f =".
QString UserFunctionRowLabel(int i);

// The formula an object row shows, as scanned tokens.
TTokenString MakePntText(const TPointFunction& object);
// The object's definition as plain text: "x= …, y= …, r= …".
QString MakePntDefText(const TPointFunction& object);
// Object row k's picture made again and shown.
void RedrawPntRow(int k);

// Draws a row's picture into its image at the row's size.
void DrawRowPicture(const TRowModel& row, TBitmap& image);
