// Scripts: the session below is allowed, widgets and the widget layers are not.
#include "session/Project.h"
#include <QImage>
#include <QWidget>
#include "dialogs/MsgForm.h"
#include "notes/NoteEditor.h"
