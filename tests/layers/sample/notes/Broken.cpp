#include "dialogs/MsgForm.h"
#include "script/Interpreter.h"
#include "windows/GraphWindow.h"
#include "app/ProgramStart.h"
