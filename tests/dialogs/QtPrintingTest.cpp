// The printer service over a Qt printer, printing into a PDF file.
#include "dialogs/QtPrinting.h"

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(QtPrintingTest, PrintsBandsIntoAPdfFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("graph.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setResolution(600);
    QtPrinting printing(printer);

    // A4 at 600 dots per inch, less the margins: a page of printer pixels.
    const QSize page = printing.pageSize();
    EXPECT_GT(page.width(), 4000);
    EXPECT_LT(page.width(), 4961);
    EXPECT_GT(page.height(), page.width());

    printing.setJobTitle(QStringLiteral("KAVIRO - graph"));
    EXPECT_EQ(printer.docName(), QStringLiteral("KAVIRO - graph"));
    QImage band(600, 100, QImage::Format_RGB32);
    band.fill(Qt::blue);
    printing.drawBand(20, 20, band); // outside a job: nothing
    ASSERT_TRUE(printing.beginJob());
    EXPECT_FALSE(printing.beginJob()); // one job at a time
    printing.drawBand(600, 220, band);
    printing.drawBand(600, 320, band);
    ASSERT_TRUE(printing.endJob());
    EXPECT_FALSE(printing.endJob());

    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.contains("/Image"));
    // The title goes into the document's information as UTF-16.
    QByteArray title;
    for (QChar c : QStringLiteral("KAVIRO - graph"))
        title.append('\0').append(static_cast<char>(c.unicode()));
    EXPECT_TRUE(bytes.contains(title));
}

// The program's printer has no page until there is somewhere to print:
// printing then says to choose a printer instead of failing at the start.
TEST(QtPrintingTest, TheProgramsPrinterHasAPageOnlyWithSomewhereToPrint)
{
    QTemporaryDir dir;
    QPrinter& printer = ProgramPrinter();
    const QPrinter::OutputFormat format = printer.outputFormat();
    const QString file = printer.outputFileName();
    printer.setOutputFormat(QPrinter::PdfFormat);
    QtProgramPrinting printing;
    printer.setOutputFileName(QString());
    EXPECT_TRUE(printing.pageSize().isEmpty());
    printer.setOutputFileName(dir.filePath(QStringLiteral("graph.pdf")));
    EXPECT_FALSE(printing.pageSize().isEmpty());
    printer.setOutputFormat(format);
    printer.setOutputFileName(file);
}

} // namespace
