#include "session/Project.h"
#include "script/Interpreter.h"
#include <QWidget>
