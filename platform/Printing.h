#pragma once

#include "platform/ServiceSlot.h"

#include <QSize>
#include <QString>

class QImage;

namespace platform {

// The printer a job goes to. Positions and sizes are printer pixels of the
// printable part of the page, (0, 0) at its top-left corner. Printer and PDF
// engines drop raster operations, so pictures arrive as finished RGB32
// images, band by band.
class Printing {
public:
    virtual ~Printing() = default;
    // The printable part of the page; empty when there is no printer.
    virtual QSize pageSize() const = 0;
    // The name the job shows in the printer's queue.
    virtual void setJobTitle(const QString& title) = 0;
    // Starts the document; false when the printer refuses it.
    virtual bool beginJob() = 0;
    // Puts the image on the page with its top-left corner at (left, top).
    virtual void drawBand(int left, int top, const QImage& band) = 0;
    // Ends the document; false when it could not be finished.
    virtual bool endJob() = 0;
};

// No printer: an empty page, and every job refused.
class NoPrinter final : public Printing {
public:
    QSize pageSize() const override { return {}; }
    void setJobTitle(const QString&) override {}
    bool beginJob() override { return false; }
    void drawBand(int, int, const QImage&) override {}
    bool endJob() override { return false; }
};

// The installed printer, else none. The windows install the printer the
// user chose.
Printing& CurrentPrinting();
using ScopedPrinting = ScopedService<Printing>;

// The system's printer setup, on the printer that jobs go to: which
// printer, its paper and its settings.
class PrinterSetup {
public:
    virtual ~PrinterSetup() = default;
    // Shows the setup; true when the user confirmed a choice.
    virtual bool choosePrinter() = 0;
};

// No setup to show: nothing is chosen.
class NoPrinterSetup final : public PrinterSetup {
public:
    bool choosePrinter() override { return false; }
};

PrinterSetup& CurrentPrinterSetup();
using ScopedPrinterSetup = ScopedService<PrinterSetup>;

} // namespace platform
