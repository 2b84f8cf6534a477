#pragma once

#include <QPoint>

class QWidget;

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
    // The two main windows as plain widgets, for the dialogs, which sit
    // below the windows folder and cannot see their classes.
    QWidget* GraphWindow = nullptr;
    QWidget* DataPanel = nullptr;
};
extern TPermanentForms Forms;

// A property dialog's show disables both main windows; its close enables
// them again.
void DisableMainForms();
void EnableMainForms();
// Where dialogs open: the graph window's top-left + (340, 60).
QPoint DialogAnchorPos();
