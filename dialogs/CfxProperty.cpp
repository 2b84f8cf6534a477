#include "dialogs/CfxProperty.h"

void ShowYfxProperty(int) {}
void ShowCfnProperty(int) {}
