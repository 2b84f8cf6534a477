// Sample for the layer check: each include below breaks a rule, except the first two.
#include "engine/Compiler.h"
#include <QString>
#include "render/view/Scale.h"
#include "session/Project.h"
#include "dialogs/MsgForm.h"
#include "windows/GraphWindow.h"
#include "notes/NoteEditor.h"
#include <QImage>
#include <QtWidgets/QWidget>
