#include "dialogs/EditCommands.h"

#include "platform/Clipboard.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace {

// The line edit a control types into; null for a multi-line edit.
QLineEdit* LineEditOf(QWidget* control)
{
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->lineEdit();
    return qobject_cast<QLineEdit*>(control);
}

} // namespace

QString SelectedText(QWidget* control)
{
    if (QLineEdit* edit = LineEditOf(control))
        return edit->selectedText();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        return memo->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
    return {};
}

bool CanUndo(QWidget* control)
{
    if (QLineEdit* edit = LineEditOf(control))
        return edit->isUndoAvailable();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        return memo->document()->isUndoAvailable();
    return false;
}

void ReplaceSelection(QWidget* control, const QString& text, int caret)
{
    if (QLineEdit* edit = LineEditOf(control)) {
        const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
        edit->insert(text);
        edit->setCursorPosition(start + caret);
        return;
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
        QTextCursor cursor = memo->textCursor();
        const int start = cursor.selectionStart();
        cursor.insertText(text);
        cursor.setPosition(start + caret);
        memo->setTextCursor(cursor);
    }
}

void UndoEdit(QWidget* control)
{
    if (QLineEdit* edit = LineEditOf(control))
        edit->undo();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
        memo->undo();
}

void CopySelection(QWidget* control)
{
    const QString selected = SelectedText(control);
    if (!selected.isEmpty())
        platform::CurrentClipboard().setText(selected);
}

void CutSelection(QWidget* control)
{
    if (SelectedText(control).isEmpty())
        return;
    CopySelection(control);
    ReplaceSelection(control, QString(), 0);
}

void PasteClipboard(QWidget* control)
{
    const QString text = platform::CurrentClipboard().text();
    if (!text.isEmpty())
        ReplaceSelection(control, text, static_cast<int>(text.size()));
}
