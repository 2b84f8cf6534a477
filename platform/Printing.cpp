#include "platform/Printing.h"

namespace platform {

Printing& CurrentPrinting()
{
    return InstalledOr<Printing, NoPrinter>();
}

PrinterSetup& CurrentPrinterSetup()
{
    return InstalledOr<PrinterSetup, NoPrinterSetup>();
}

} // namespace platform
