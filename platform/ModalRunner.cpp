#include "platform/ModalRunner.h"

namespace platform {

ModalRunner& CurrentModalRunner()
{
    return InstalledOr<ModalRunner, RefusingModalRunner>();
}

int RunModal(QObject& dialog)
{
    return CurrentModalRunner().run(dialog);
}

} // namespace platform
