#pragma once

#include <QString>

// Kinds and button codes of the program's message box.
enum : int {
    MsgWarning = 0, // "AVISO"
    MsgError = 1,   // "ERRO"
    MsgInfo = 2,    // "Informação"
};
enum : int {
    MsgOk = 4,
    MsgOkCancel = 12,
};

// Shows a message through the installed sink; true when the answer is OK.
bool ShowMsgBox(const QString& text, int kind, int buttons);
