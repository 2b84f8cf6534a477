#pragma once

// The four windows that live for the whole run, reachable by every window.
// Each registers itself when it is created and leaves when it is destroyed.
class TGraphAreaForm;
class TFmSetColor;
class TMainConsole;
class TCalcForm;

struct TPermanentForms {
    TGraphAreaForm* GraphAreaForm = nullptr;
    TFmSetColor* FmSetColor = nullptr;
    TMainConsole* MainConsole = nullptr;
    TCalcForm* CalcForm = nullptr;
};
extern TPermanentForms Forms;

// The font of every window.
inline constexpr char16_t FormFontName[] = u"Arial Unicode MS";
