#include "notes/NoteEditor.h"
#include "dialogs/MsgForm.h"
#include <QWidget>
