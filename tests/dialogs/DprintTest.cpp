// The print dialog opened from the data panel as a user opens it, worked
// through the modal runner, printing into the fake printer and once into a
// real PDF.
#include "../windows/WindowTestKit.h"

#include "dialogs/Dprint.h"
#include "dialogs/QtPrinting.h"
#include "model/Options.h"
#include "model/Settings.h"
#include "render/scene/CalcPrintSize.h"
#include "render/view/Scale.h"
#include "session/PictureExport.h"
#include "tests/render/GoldenFiles.h"
#include "tests/render/PixelProbe.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>

namespace {

class DprintTest : public WindowTest {
protected:
    void SetUp() override
    {
        StartProgram();
        SetFunctionFormula(1, QStringLiteral("x^2/2-3"));
    }

    // Opens the dialog, lets work run on it and returns its result.
    int Open(const std::function<void(TDprint&)>& work)
    {
        modal.queueAnswer(QStringLiteral("Dprint"), [&](QObject& object) {
            auto& dialog = dynamic_cast<TDprint&>(object);
            work(dialog);
            return dialog.result();
        });
        ShowPrintDialog();
        EXPECT_EQ(modal.pendingAnswers(), 0);
        return modal.dialogsRun().empty() ? -1 : 0;
    }
    // What the dialog says the graph prints as in the mode.
    QString PrintedSizeText(int mode, int percent, bool keep) const
    {
        const QSize source = mode >= PrintColorGraph
                                 ? QSize(GraphScale.XAxis.VHigh + 1, GraphScale.YAxis.VHigh + 1)
                                 : CurrentPictureWindows().CaptureWindows(mode).size();
        return TDprint::PixelSizeText(CalcPrintSize(source, printer.pageSize(), percent, keep));
    }
};

TEST_F(DprintTest, TheDialogSpeaksPortugueseAndOffersTheModesInTheirOrder)
{
    Open([](TDprint& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Imprimir"));
        QStringList groups;
        for (QGroupBox* box : d.findChildren<QGroupBox*>())
            groups << box->title();
        EXPECT_EQ(groups, (QStringList{QStringLiteral("Tamanho do Papel"), QStringLiteral("Tamanho do Gráfico"),
                                       QStringLiteral("Imprimindo Imagem")}));
        QStringList items;
        for (QAbstractButton* item : d.RGObject->buttons())
            items << item->text();
        EXPECT_EQ(items, (QStringList{QStringLiteral("Gráfico(Alta-res Côr)"), QStringLiteral("Gráfico(Alta-res P/B)"),
                                      QStringLiteral("Gráfico(captura)"), QStringLiteral("Todo KAVIRO")}));
        EXPECT_EQ(d.CheckKeep->text(), QStringLiteral("AjustarImpressão"));
        EXPECT_EQ(d.BtnPrinter->text(), QStringLiteral("Prop.Impressora"));
        EXPECT_EQ(d.BtnOk->text(), QStringLiteral("&O K"));
        EXPECT_EQ(d.BtnExit->text(), QStringLiteral("&Sair"));
        EXPECT_EQ(d.LabelPaper->text(), QStringLiteral(" 4800 × 6600 pixels"));
        EXPECT_TRUE(MatchesImageGolden(d.grab().toImage(), QStringLiteral("windows/print-dialog.png"), {48, 0.02}));
    });
}

TEST_F(DprintTest, ShowingTakesTheStoredSettings)
{
    const struct {
        int Mode;
        int Percent;
        bool Keep;
        int Index;
    } cases[] = {{10, 75, false, 0}, {11, 40, true, 1}, {0, 100, true, 2}, {3, 60, false, 3}, {7, 75, false, 0}};
    for (const auto& c : cases) {
        ProgramSettings.PrintMode = c.Mode;
        ProgramSettings.PrintSize = static_cast<std::uint8_t>(c.Percent);
        Options.PrintKeepAspect = c.Keep ? 1 : 0;
        Open([&](TDprint& d) {
            EXPECT_EQ(d.RGObject->checkedId(), c.Index) << c.Mode;
            EXPECT_EQ(d.TrBar->value(), c.Percent) << c.Mode;
            EXPECT_EQ(d.CheckKeep->isChecked(), c.Keep) << c.Mode;
            EXPECT_EQ(d.LabelSize->text(), PrintedSizeText(c.Mode, c.Percent, c.Keep)) << c.Mode;
            d.BtnExit->click();
        });
        EXPECT_EQ(printer.jobsBegun(), 0) << "\"Sair\" prints nothing";
    }
}

// A radio item stores its mode and keeps the aspect of the captured
// pictures only; the track bar and the check box change the printed size.
TEST_F(DprintTest, TheControlsChangeTheSettingsAndThePrintedSize)
{
    Open([&](TDprint& d) {
        const struct {
            int Index, Mode;
            bool Keep;
        } items[] = {{2, 0, true}, {1, 11, false}, {3, 3, true}, {0, 10, false}};
        for (const auto& item : items) {
            d.RGObject->button(item.Index)->click();
            EXPECT_EQ(ProgramSettings.PrintMode, item.Mode);
            EXPECT_EQ(Options.PrintKeepAspect, item.Keep ? 1 : 0);
            EXPECT_EQ(d.CheckKeep->isChecked(), item.Keep);
            EXPECT_EQ(d.LabelSize->text(), PrintedSizeText(item.Mode, 75, item.Keep));
        }
        d.TrBar->setValue(50);
        EXPECT_EQ(ProgramSettings.PrintSize, 50);
        EXPECT_EQ(d.LabelSize->text(), PrintedSizeText(10, 50, false));
        d.CheckKeep->click();
        EXPECT_EQ(Options.PrintKeepAspect, 1);
        EXPECT_EQ(d.LabelSize->text(), PrintedSizeText(10, 50, true));
        d.BtnExit->click();
    });
}

TEST_F(DprintTest, ThePrinterSetupIsShownAndItsPaperTaken)
{
    printerSetup.onShow([this] { printer.setPageSize({3000, 4000}); });
    Open([&](TDprint& d) {
        d.BtnPrinter->click();
        EXPECT_EQ(printerSetup.shown(), 1);
        EXPECT_EQ(d.LabelPaper->text(), QStringLiteral(" 3000 × 4000 pixels"));
        EXPECT_EQ(d.LabelSize->text(), PrintedSizeText(10, 75, false));
        d.BtnExit->click();
    });
}

// OK prints with the dialog out of sight (a capture of the windows must
// not show it) and closes it.
TEST_F(DprintTest, OkPrintsWithTheDialogHiddenAndCloses)
{
    for (int index : {0, 2, 3}) {
        bool shownWhilePrinting = false;
        TDprint* dialog = nullptr;
        printer.onBand([&](int, int, const QImage&) { shownWhilePrinting |= dialog && dialog->isVisible(); });
        const int jobs = printer.jobsEnded();
        Open([&](TDprint& d) {
            dialog = &d;
            d.RGObject->button(index)->click();
            d.BtnOk->click();
            EXPECT_EQ(d.result(), QDialog::Accepted);
            EXPECT_FALSE(d.isVisible());
        });
        EXPECT_FALSE(shownWhilePrinting) << index;
        EXPECT_EQ(printer.jobsEnded(), jobs + 1) << index;
        EXPECT_EQ(printer.jobTitle(), Graph().windowTitle()) << index;
        EXPECT_TRUE(messages.empty()) << index;
    }
    printer.refuseJobs(true);
    Open([](TDprint& d) { d.BtnOk->click(); });
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("Erro ao imprimir"));
}

// Printed for real into a PDF, which pdftoppm turns into a picture: the
// parabola's blue is on the page, centred across it, below its top margin.
TEST_F(DprintTest, TheGraphPrintsIntoARealPdf)
{
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        GTEST_SKIP() << "pdftoppm is missing: run scripts/install-deps.sh (Debian package poppler-utils)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(dir.filePath(QStringLiteral("graph.pdf")));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(300);
    QtPrinting printing(pdf);
    platform::ScopedPrinting usePdf(printing);
    Open([](TDprint& d) {
        d.RGObject->button(0)->click();
        d.BtnOk->click();
    });
    EXPECT_TRUE(messages.empty());

    QProcess convert;
    convert.start(pdftoppm, {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50"),
                             QStringLiteral("-singlefile"), dir.filePath(QStringLiteral("graph.pdf")),
                             dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(convert.waitForFinished(30000));
    ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
    const QImage page = QImage(dir.filePath(QStringLiteral("page.png"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    // A4 at 50 dots per inch.
    EXPECT_NEAR(page.width(), 413, 2);
    int bluish = 0;
    QRect inked;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            if (qBlue(p) > 150 && qGreen(p) < 100 && qRed(p) < 100)
                ++bluish;
            if (qGray(p) < 250)
                inked = inked.united(QRect(x, y, 1, 1));
        }
    EXPECT_GT(bluish, 20) << "the parabola";
    // 75 % of the width, centred; the top margin 1/30 of the page.
    EXPECT_NEAR(inked.width(), page.width() * 0.75 * 0.93, page.width() * 0.08);
    EXPECT_NEAR(inked.center().x(), page.width() / 2.0, 4);
    EXPECT_GT(inked.top(), page.height() / 40);
}

} // namespace
