#include "platform/Printing.h"

namespace platform {

Printing& CurrentPrinting()
{
    return InstalledOr<Printing, NoPrinter>();
}

} // namespace platform
