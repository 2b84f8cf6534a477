#pragma once

// The widget side of the platform's dialog services: modal loops, the file
// choosers, the colour chooser, the system error box, the printer and its
// setup.
#include "platform/Choosers.h"
#include "platform/ModalRunner.h"

// QDialog::exec.
class QtModalRunner final : public platform::ModalRunner {
public:
    int run(QObject& dialog) override;
};

// QFileDialog, run through the installed modal runner (object names
// "DlgOpen" and "DlgSave").
class QtFileChooser final : public platform::FileChooser {
public:
    std::optional<QString> chooseOpenFile(const platform::FileChoice& choice) override;
    std::optional<QString> chooseSaveFile(const platform::FileChoice& choice) override;
    std::optional<platform::SavedFileChoice> chooseSaveFileOfType(const platform::FileChoice& choice) override;
};

// QColorDialog, run through the installed modal runner ("DlgColor").
class QtColorChooser final : public platform::ColorChooser {
public:
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;
};

// Makes these the program's dialog services; does nothing (and answers
// false) unless the application has windows.
bool InstallDialogServices();
