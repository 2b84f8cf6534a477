#include "windows/ConsoleCommands.h"

void InstallConsoleCommands(TMainConsole&) {}
