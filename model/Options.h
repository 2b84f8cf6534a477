#pragma once

#include "model/Colors.h"

#include <QChar>
#include <cstdint>

// Colour entry and size of the free-hand pen's marker.
struct TPenMarker {
    std::uint8_t ColorNo = 0;
    std::uint8_t Size = 3;
    bool operator==(const TPenMarker&) const = default;
};

// Option bytes of the document: reset for every new document and saved with
// it. The member defaults are the reset values.
struct TDocumentOptions {
    std::uint8_t VectorOn = 0;
    std::uint8_t ComplexMode = 0; // pairs are complex numbers
    std::uint8_t AllowSqrtN = 0;
    std::uint8_t DrawOnDrag = 0;
    std::uint8_t DrawOnCalc = 1;
    std::uint8_t AimgOfArea = 0;
    std::uint8_t ShowProperty = 1;
    std::uint8_t ShowSync = 0;
    std::uint8_t AngleMode = 1; // 1 radian, 2 degree
    std::uint8_t LogMode = 2;   // 2: "log" is the natural logarithm
    std::uint8_t AngleArea = 1;
    std::uint8_t AreaFixed = 0;
    std::uint8_t DrawMode = 1;
    std::uint8_t CapStyle = 1;
    std::uint8_t CircleMode = 1;
    std::uint8_t ThetaMode = 1;
    std::uint8_t DegreeFont = 0;
    std::uint8_t CanAImg = 1;
    std::uint8_t AfterImageColorNo = 2; // trace fading, in quarters of the exponent
    TPenMarker PenMarker;
    std::uint8_t PrintKeepAspect = 0;
    int ParamDelayUnit = 80;    // ms
    int ParamRepeatDelay = 500; // ms before a held parameter button repeats
    int ParamDelay = 80;        // ms between repeats and animation steps
    TColor GraphBGColor = ColorWhite;
    std::uint8_t MeshStyle = 1;
    std::uint8_t AxisType = 0; // 0 Cartesian, 1 polar
    std::uint8_t AreaRectify = 1;
    std::uint8_t ScanWidth = 4;
    std::uint8_t BGshown = 0;
    std::uint8_t BGMode = 1;
    std::uint8_t BGstretchOn = 1;
    std::uint8_t PetaMemoStyle = 3;
    TColor PetaMemoColor = 0xFF0000;
    std::uint8_t PetaMemoBGcolor = 0; // entry of the note frame and fill colours
    int PetaMemoSize = 12;            // points

    void Reset() { *this = TDocumentOptions{}; }
    bool operator==(const TDocumentOptions&) const = default;
};
extern TDocumentOptions Options;

// Number punctuation of the user's locale, read at start-up. Formulas are
// typed and shown with these; files always store '.' and ','.
struct TNumberSeparators {
    QChar DecimalChar = u'.';
    QChar ListSepChar = u',';
    void Reset() { *this = TNumberSeparators{}; }
    // Reads both characters from the platform's locale.
    void LoadFromLocale();
};
extern TNumberSeparators Separators;
