#include "dialogs/SegProperty.h"

void ShowSegProperty(int) {}
