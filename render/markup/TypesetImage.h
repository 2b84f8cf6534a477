#pragma once

#include "model/TokenString.h"
#include "model/Value.h"
#include "platform/ServiceSlot.h"
#include "render/gfx/Bitmap.h"
#include "render/markup/TypesetLayout.h"

#include <QString>

// Where a shown value is also written as text: the calculator's result
// field. The calculator installs itself; without it nothing happens.
class TCalculatorResultField {
public:
    virtual ~TCalculatorResultField() = default;
    virtual void ShowResultText(const QString& text) = 0;
};

class NoCalculatorResultField final : public TCalculatorResultField {
public:
    void ShowResultText(const QString&) override {}
};

TCalculatorResultField& CurrentCalculatorResultField();
using ScopedCalculatorResultField = platform::ScopedService<TCalculatorResultField>;

// The top that centres one line of fontSize points in the image:
// round((image height − 96 / 72 × fontSize) / 2). Sets the image canvas's
// font size.
int GetImageTextTop(TBitmap& image, int fontSize);

// How a formula is drawn into an image: where its first line's top goes and
// at which font size.
struct TImagePlacement {
    int Top = 0;
    int FontSize = 0;
    bool operator==(const TImagePlacement&) const = default;
};

// The placement for drawing again after a first drawing at `first` came out
// with the extent `drawn`: a formula taller than the image less one row is
// scaled down to fit and starts at row 1; one that overflows at the bottom
// is lifted so its bottom lands on the image height; one that overflows at
// the top moves down to row 0. Nothing changes for one that fits.
TImagePlacement RefitToImage(int imageHeight, const TImagePlacement& first, const TTypesetExtent& drawn);

// Where a formula starts in an image: at FormulaImageLeft, or further right
// when what it draws would reach left of it into the frame's column 0 (a
// leading radical sign, whose hook hangs left of the formula).
constexpr int FormulaImageLeft = 3;
int FormulaLeftInFrame(const TTypesetExtent& drawn);

// Draws a formula (a scanned token string) into the image, cleared with its
// frame, at x = FormulaLeftInFrame (3 unless it starts with a radical sign),
// centred vertically at round(fontSize × 1.1) points, and
// shifted or scaled down when it does not fit. In colour entry 4 of the
// palette.
void DrawExpressionInImage(TBitmap& image, int fontSize, const TTokenString& tokens, bool calculatorStyle,
                           bool nestedFractions, const TDrawContext& context = {});

// Shows a value as a typeset formula: "indefinido" when undefined, a real's
// number, a pair as "(x, y)" with the list separator. The text also goes to
// the calculator's result field; numbers in exponent form show as powers of
// ten.
void DrawValueInImage(const TValue& value, TBitmap& image, int fontSize, const TDrawContext& context = {});

// The text of a value as DrawValueInImage shows it.
QString ValueText(const TValue& value);

// "1.5E-7" becomes "1.5*10^(-7)": the first "E" turns into "*10^(" and ")"
// is appended. A text without "E" is left as it is.
void ExponentToPower(QString& numberText);

// ExponentToPower on every number in exponent form within a formula text
// ("(2, 1.5E-7)"), so that the "E" is not read as the object letter.
void ExponentsToPowers(QString& formulaText);
