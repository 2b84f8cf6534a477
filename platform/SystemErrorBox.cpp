#include "platform/SystemErrorBox.h"

#include <cstdio>

namespace platform {

void StderrSystemErrorBox::showError(const QString& text)
{
    std::fprintf(stderr, "[Error] %s\n", text.toUtf8().constData());
}

SystemErrorBox& CurrentSystemErrorBox()
{
    return InstalledOr<SystemErrorBox, StderrSystemErrorBox>();
}

} // namespace platform
