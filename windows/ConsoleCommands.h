#pragma once

class TMainConsole;

// The data panel's commands: its menu bar, toolbar, row menu, dropped files
// and keys, installed once on the data panel when it is created.
void InstallConsoleCommands(TMainConsole& console);
