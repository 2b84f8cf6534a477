#include "windows/GraphMouse.h"

void InstallGraphMouse(TGraphAreaForm&) {}
bool IsGraphMouseDragging()
{
    return false;
}
