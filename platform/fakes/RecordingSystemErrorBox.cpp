#include "platform/fakes/RecordingSystemErrorBox.h"

namespace platform {

void RecordingSystemErrorBox::showError(const QString& text)
{
    errors_.push_back(text);
}

} // namespace platform
