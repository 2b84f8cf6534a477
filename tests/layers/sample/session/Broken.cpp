#include "render/scene/Redraw.h"
#include <QImage>
#include <QWidget>
#include "tests/QtPrinters.h"
#include "script/Interpreter.h"
