#pragma once

// The data panel's script commands: each script button runs its script,
// "Salvar Sons" saves the sound scripts made, and a request to close either
// main window while a script runs stops the script instead. The windows'
// side of a running script (the caption, painting at once, the trace
// button) is installed with them.
struct TConsoleMenus;
class TMainConsole;

// Connects them, once, when the data panel's commands are installed.
void ConnectScriptCommands(TMainConsole& console, const TConsoleMenus& menus);
