#include "dialogs/PntProperty.h"

void ShowPntProperty(int, int) {}
