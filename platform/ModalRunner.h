#pragma once

#include "platform/ServiceSlot.h"

class QObject;

namespace platform {

// Every modal loop of the program (the message box, the dialogs, the file
// and colour choosers, the calculator used as an editor) goes through the
// installed runner, so that tests answer dialogs without blocking.
class ModalRunner {
public:
    virtual ~ModalRunner() = default;
    // Shows the dialog (a QDialog) modally and returns its result code
    // (0 rejected, 1 accepted, or the code the dialog ended with).
    virtual int run(QObject& dialog) = 0;
};

// Used until the windows install theirs: refuses every dialog unseen, so
// that nothing is confirmed without a user.
class RefusingModalRunner final : public ModalRunner {
public:
    int run(QObject&) override { return 0; }
};

ModalRunner& CurrentModalRunner();
using ScopedModalRunner = ScopedService<ModalRunner>;

// Runs the dialog through the installed runner.
int RunModal(QObject& dialog);

} // namespace platform
