#pragma once

#include <QString>
#include <cstdint>

// Keys of the settings kept between runs. The names are those the program
// has always stored its settings under.
inline const QString RegKeyRoot = QStringLiteral("SOFTWARE/KAVIRO");
inline const QString RegKeyState = QStringLiteral("SOFTWARE/KAVIRO/State");
inline const QString RegKeyMarker = QStringLiteral("SOFTWARE/KAVIRO/Option/Marker");
inline const QString RegKeyFont = QStringLiteral("SOFTWARE/KAVIRO/Option/Font");
inline const QString RegKeyScaleX = QStringLiteral("SOFTWARE/KAVIRO/Option/ScaleX");
inline const QString RegKeyScaleY = QStringLiteral("SOFTWARE/KAVIRO/Option/ScaleY");

// Program settings kept between runs that belong to no document: printing,
// copying, the graph window's layout and the start view. The member defaults
// are the start-up values.
struct TStoredSettings {
    std::uint8_t ControlPalette = 0; // the graph window's control tabs hide themselves
    std::uint8_t PrintSize = 75;     // printed width in percent of the page width
    int PrintMode = 10;              // what is printed
    int CopyMode = 10;               // what is copied
    std::uint8_t FunctionArea = 0;   // the calculator frames each argument group
    std::uint8_t AreaSizeByFile = 0; // a project keeps its stored graph size
    // The view a new graph starts with.
    long double ScaleXHigh = 5.0L;
    long double ScaleXLow = -5.0L;
    long double ScaleYHigh = 5.0L;
    long double ScaleYLow = -5.0L;
    int GraphPixelWidth = 400;

    void Reset() { *this = TStoredSettings{}; }
    bool operator==(const TStoredSettings&) const = default;
};
extern TStoredSettings ProgramSettings;

// Typed reads with a default: a missing value, a value of another type or a
// missing key gives the default. Each read sets ProgramState.RegReadFailed to
// its own outcome.
long double RegReadFloatDef(const QString& key, const QString& name, long double def);
int RegReadIntDef(const QString& key, const QString& name, int def);
bool RegReadBoolDef(const QString& key, const QString& name, bool def);
QString RegReadStringDef(const QString& key, const QString& name, const QString& def);

// Reads the window state, the pen marker and the note fonts over the current values.
void LoadSettings();
// Writes the window state and the note fonts.
void SaveSettings();
// Reads the start view and derives AspectFactor from it. GraphPixelHeight
// becomes the stored width of the x axis, at most GraphMaxHeight.
void LoadScaleSettings();
