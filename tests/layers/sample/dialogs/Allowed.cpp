#include "session/Project.h"
#include "windows/GraphWindow.h"
#include <QWidget>
