#pragma once

// What the popup menus of the edit fields do to their field: a line edit,
// an editable combo box (its line edit) or a multi-line edit. Cut, copy and
// paste go through the platform's clipboard.
#include <QString>

class QWidget;

// The field's selected text, line breaks as "\n".
QString SelectedText(QWidget* control);
// Whether the field can undo.
bool CanUndo(QWidget* control);
// The selection (or nothing at the caret) replaced by text, the caret then
// caret characters into the text.
void ReplaceSelection(QWidget* control, const QString& text, int caret);

void UndoEdit(QWidget* control);
void CutSelection(QWidget* control);
void CopySelection(QWidget* control);
void PasteClipboard(QWidget* control);
