#pragma once

// The data panel's commands that take the graph out of the program: the
// picture and the picture series, the copy and its menu, the printer and
// its setup, and the About window.
struct TConsoleMenus;
class TMainConsole;

// Connects the file menu's, the help menu's and the toolbar's items.
void ConnectPictureCommands(TMainConsole& console, const TConsoleMenus& menus);
// The series' menu item and toolbar button show whether a series runs.
void ShowPictureSeries(TMainConsole& console);

// How long the copy button shows itself pressed.
inline constexpr int CaptureButtonPressMs = 100;
