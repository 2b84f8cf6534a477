#pragma once

#include "platform/SystemErrorBox.h"

// A critical QMessageBox with one OK button, run through the installed
// modal runner (object name "SystemErrorBox").
class QtSystemErrorBox final : public platform::SystemErrorBox {
public:
    void showError(const QString& text) override;
};
