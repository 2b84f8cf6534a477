#include "dialogs/QtPrinting.h"

#include "platform/ModalRunner.h"

#include <QImage>
#include <QPageLayout>
#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>

QtPrinting::QtPrinting(QPrinter& printer)
    : printer_(printer)
{
}

QSize QtPrinting::pageSize() const
{
    // The painter's origin is the printable area's corner.
    return printer_.pageLayout().paintRectPixels(printer_.resolution()).size();
}

void QtPrinting::setJobTitle(const QString& title)
{
    printer_.setDocName(title);
}

bool QtPrinting::beginJob()
{
    return !painter_.isActive() && painter_.begin(&printer_);
}

void QtPrinting::drawBand(int left, int top, const QImage& band)
{
    if (painter_.isActive())
        painter_.drawImage(left, top, band);
}

bool QtPrinting::endJob()
{
    return painter_.isActive() && painter_.end();
}

QPrinter& ProgramPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

QSize QtProgramPrinting::pageSize() const
{
    const QPrinter& printer = ProgramPrinter();
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())
        return {};
    return Printing().pageSize();
}

QtPrinting& QtProgramPrinting::Printing() const
{
    static QtPrinting printing(ProgramPrinter());
    return printing;
}

bool QtPrinterSetup::choosePrinter()
{
    QPrintDialog dialog(&ProgramPrinter(), QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("DlgPrinterSetup"));
    dialog.setWindowTitle(QStringLiteral("Prop.Impressora"));
    return platform::RunModal(dialog) == QDialog::Accepted;
}
