#pragma once

// The printer service over a Qt printer: the system's printer the user
// chose in the print setup, or a PDF file.
#include "platform/Printing.h"

#include <QPainter>

class QPrinter;

class QtPrinting final : public platform::Printing {
public:
    // The printer must outlive this service.
    explicit QtPrinting(QPrinter& printer);

    QSize pageSize() const override;
    void setJobTitle(const QString& title) override;
    bool beginJob() override;
    void drawBand(int left, int top, const QImage& band) override;
    bool endJob() override;

private:
    QPrinter& printer_;
    QPainter painter_;
};

// The program's printer, made when first used: asking the system for its
// printers takes a while, and most runs never print.
QPrinter& ProgramPrinter();

// The printer service over the program's printer. Without a printer of the
// system's and before a file was chosen to print into, it has no page.
class QtProgramPrinting final : public platform::Printing {
public:
    QSize pageSize() const override;
    void setJobTitle(const QString& title) override { Printing().setJobTitle(title); }
    bool beginJob() override { return Printing().beginJob(); }
    void drawBand(int left, int top, const QImage& band) override { Printing().drawBand(left, top, band); }
    bool endJob() override { return Printing().endJob(); }

private:
    QtPrinting& Printing() const;
};

// The system's print setup on the program's printer, run through the
// installed modal runner ("DlgPrinterSetup").
class QtPrinterSetup final : public platform::PrinterSetup {
public:
    bool choosePrinter() override;
};
