#include "notes/NoteEditor.h"
#include "windows/GraphWindow.h"
