#pragma once

#include "platform/SystemErrorBox.h"

#include <QString>
#include <vector>

namespace platform {

// Test fake: records the text of every error box.
class RecordingSystemErrorBox final : public SystemErrorBox {
public:
    void showError(const QString& text) override;

    const std::vector<QString>& errors() const { return errors_; }
    bool empty() const { return errors_.empty(); }
    void clear() { errors_.clear(); }

private:
    std::vector<QString> errors_;
};

} // namespace platform
