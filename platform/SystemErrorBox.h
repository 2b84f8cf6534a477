#pragma once

#include "platform/ServiceSlot.h"

#include <QString>

namespace platform {

// The operating system's own error box: a critical message with one OK
// button. The options dialog reports refused window sizes and ranges in it,
// apart from the program's message box.
class SystemErrorBox {
public:
    virtual ~SystemErrorBox() = default;
    virtual void showError(const QString& text) = 0;
};

// Used until a windowed box is installed: writes the text to stderr.
class StderrSystemErrorBox final : public SystemErrorBox {
public:
    void showError(const QString& text) override;
};

SystemErrorBox& CurrentSystemErrorBox();
using ScopedSystemErrorBox = ScopedService<SystemErrorBox>;

} // namespace platform
