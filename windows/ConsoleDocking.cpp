#include "windows/ConsoleDocking.h"

void DockConsole() {}
