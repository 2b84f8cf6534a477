#include "dialogs/PermanentForms.h"

TPermanentForms Forms;
