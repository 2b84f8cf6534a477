#pragma once

// The options dialog without its widgets: the values its controls hold,
// loaded from the current settings, changed by the presets and the defaults
// buttons, checked, and applied on OK in one undoable step. Scripts may
// apply options through the same functions.
#include <QString>
#include <cstdint>

// One axis on the scale page.
struct TAxisOptionInputs {
    bool AxesVisible = true;  // CheckXAxes
    bool ScaleVisible = true; // CheckXScale
    bool ValueVisible = true; // CheckXValue
    bool GuideVisible = true; // cbXscale
    QString BaseText;         // EditX: the tick base
    QString NameText;         // EditLx: the axis name, in label markup
    int Number = 7;           // division count (a working value)
    int LInterval = 1;        // label interval (a working value)
};

// Scan widths of the buttons sbSwidth0..3 and drawing styles of sbDrawF0..2.
inline constexpr std::uint8_t ScanWidthChoices[4] = {1, 2, 4, 8};
inline constexpr int DrawModeChoiceCount = 3;
inline constexpr int AfterImageChoiceCount = 5;

// Everything the dialog shows and keeps until OK.
struct TOptionInputs {
    // Área
    QString WidthText, HeightText;
    QString XLowText, XHighText, YLowText, YHighText;
    bool AreaFixed = false, AreaRectify = true, AreaSizeByFile = false;
    // Escala
    TAxisOptionInputs X, Y;
    bool XLetterIsX = true; // sbVLX down; else the x axis is θ
    bool DegreeFont = false;
    int AxisLineButton = 1;        // SBL1..SBL3, sbL4..sbL6 as 1..6; 0 none down
    std::uint8_t MeshStyle = 0;    // PsMesh of the grid button down
    std::uint8_t LabelPosition = 0; // 1 sbLP1, 2 sbLP0, 0 neither
    bool Fraction = false;          // sbfrc down
    bool Polar = false;             // sbAtPolor down
    QString FontSizeText;           // cbTextSize
    // Gráfico
    bool ShowSync = false, DrawOnDrag = false, DrawOnCalc = true, ShowProperty = true, AimgOfArea = false;
    std::uint8_t ScanWidth = 4;
    std::uint8_t DrawMode = 1;
    std::uint8_t AfterImageColorNo = 2;
    std::uint8_t CapStyle = 1; // 0 sbEs0 (round ends), 1 sbEs1
    // Função: working values 1 or 2 as in the document options
    std::uint8_t AngleMode = 1, AngleArea = 1, LogMode = 2, CircleMode = 1, ThetaMode = 1;
    bool Complex = false, AllowSqrtN = false;
    QString SliceNoText;
    int SliceNo = 10; // the partitions last accepted
    // Font
    QString SctickerEdit, ScriptEdit, SctickerLarge, SctickerSmall;
};

// The controls as the current settings fill them.
TOptionInputs CurrentOptionInputs();

// The five view presets of the first page.
enum class TOptionsPreset { Radian, Degree, RadianPi, DegreeTurn, Polar };
void ApplyPreset(TOptionInputs& in, TOptionsPreset preset);
// The defaults buttons of the area, scale, graph, function and font pages.
void ResetAreaPage(TOptionInputs& in);
void ResetScalePage(TOptionInputs& in);
void ResetGraphPage(TOptionInputs& in);
void ResetFunctionPage(TOptionInputs& in);
void ResetFontPage(TOptionInputs& in);

// The pixels and buttons of the axis line: button i gives style (i-1)/3 and
// width i, or i-3 from the fourth on.
int AxisLineButtonOf(std::uint8_t axisStyle, std::uint8_t axisWidth);

// Partitions of the integral: an integer 1..200 is taken into sliceNo;
// anything else shows "Número de partições será par, de 2 a 200." and text
// shows sliceNo again. The integral window checks its edit the same way.
bool CheckSliceNo(QString& text, int& sliceNo);

// The checks of OK, in order, stopping at the first refusal with its
// message: a window size outside 150..1600 and a range the view cannot
// take in the system's error box, the partitions by CheckSliceNo (whose
// refusal rewrites in.SliceNoText).
bool CheckInput(TOptionInputs& in);

// Which formulas the options changed the compiling of: the relations are
// prepared again on every OK; the theta mode adds the user functions; the
// x axis's letter every formula.
struct TRecompilePlan {
    bool ThetaModeChanged = false;
    bool LetterChanged = false;
};

// The three steps of OK after the undo point; each option is applied only
// when it changed, with the redraw flags it needs.
void ApplyGeneral(const TOptionInputs& in, TRecompilePlan& plan);
void ApplyScale(const TOptionInputs& in, TRecompilePlan& plan);
// Compiles each formula the plan names once.
void RecompileAfterOptions(const TRecompilePlan& plan);
// Pixel size, ranges and area flags; the graph area is rebuilt when the size
// changed and the view redrawn when anything needs it.
void ApplyArea(const TOptionInputs& in);
void ApplyFonts(const TOptionInputs& in);

// OK after CheckInput passed: one undo point, then the steps above.
void ApplyOptions(const TOptionInputs& in);
