#pragma once

// A project file dropped on either main window opens through the session's
// DropProjectFile (the first file only; anything but a local project file
// is refused with a message).
#include "session/Commands.h"

class TMainConsole;

// The data panel's commands: its menu bar, toolbar, row menu, dropped files
// and keys, installed once on the data panel when it is created.
void InstallConsoleCommands(TMainConsole& console);
// Takes them off again; the data panel's destructor calls this first, while
// the panel is whole (their filter sees every event of the program, also
// those its closing sends).
void RemoveConsoleCommands(TMainConsole& console);

// "Modo de Apresentação": the mode flips and both windows take its sizes.
void NpresentationClick();
// "Conectar Pontos" and the figure panel's segment button: the graph's
// figure tool on or off, the menu item, the button and the graph's popup
// item in step; switching it on shows the figure panel.
void SetConnectPoints(bool on);
// The undo and redo menu items and buttons follow the undo store.
void UpdateUndoControls(bool canUndo, bool canRedo);
// Alt with one of these, on either main window, brings the focus to the
// parameter edits.
bool IsArrowKey(int key);
