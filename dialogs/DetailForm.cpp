#include "dialogs/DetailForm.h"

void ShowOptions(int) {}
