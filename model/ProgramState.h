#pragma once

#include "model/Colors.h"

#include <QString>
#include <cstdint>

// The style new functions, relations and figures start with; the dialogs
// store the style they last wrote here.
struct TDefaultStyle {
    TColor ColorNo1 = 0xFF0000;
    int Width = 2;
    int LineStyle = 1;
};

// The style new objects start with.
struct TDefaultFigure {
    TColor ColorNo1 = 0xFF0000;
    TColor RColorNo1 = 0xFF0000;
    int Width = 3;
    int RWidth = 1;
    int LineStyle = 1;
    int Dimension = 1;
};

// State of the running program outside the document: window layout, note
// fonts, the styles of new objects, and the document's run flags. The member
// defaults are the start-up values.
struct TProgramState {
    std::uint8_t GraphIsLeft = 1;
    std::uint8_t ConsoleDocked = 1;
    int GraphPixelHeight = 400;
    int GraphMaxHeight = 400;
    long double AspectFactor = 1.0L; // y units per pixel over x units per pixel
    int Magnification = 1;           // 1 on screen, larger when printing
    std::uint8_t RegReadFailed = 0;
    std::uint8_t PresentationMode = 0;
    int DisplayFontSize = 12; // points: 12, or 24 in presentation mode
    int FontSize = 12;        // points of the axis labels and object labels
    std::uint8_t ShowHint = 1; // the data panel's hint switch: controls pop up their tooltips

    QString DefaultFontName;
    QString SctickerEdit;
    QString SctickerLarge = QStringLiteral("Arial Unicode MS");
    QString SctickerSmall = QStringLiteral("Times New Roman");
    QString ScriptEdit;

    TDefaultFigure DefaultFigureStyle;
    TDefaultStyle DefaultSegmentStyle;
    TDefaultStyle DefaultGraphStyle;

    int ScriptDrawState = 0;   // nesting depth of running scripts
    std::uint8_t StartupPending = 1; // the program is still starting
    std::uint8_t Modified = 0; // the document has unsaved edits
    // The session rebuilds the windows and the view after a load or an undo
    // step: the redraw runs no scripts and renders every sticker.
    bool InRefreshAll = false;
    QString ProgramDir;        // the program's folder, with a trailing '/'

    // The start-up values; the editor fonts become the platform's screen font.
    void Reset();
};
extern TProgramState ProgramState;

// Start-up of the document model: separators, program state and a new
// document. Runs once; later calls do nothing.
void InitializeDocument();
