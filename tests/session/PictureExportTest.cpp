// The graph as picture files, as a numbered series, on the clipboard and on
// the printer, without windows: the captures come from a fake.
#include "SessionTest.h"

#include "engine/Compiler.h"
#include "model/Colors.h"
#include "model/Numeric.h"
#include "model/Settings.h"
#include "platform/fakes/FakeChoosers.h"
#include "platform/fakes/FakeClipboard.h"
#include "platform/fakes/FakePrinting.h"
#include "render/gfx/EmfRecords.h"
#include "render/gfx/MetafileResolution.h"
#include "render/gfx/WmfWriter.h"
#include "render/scene/Redraw.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "session/Commands.h"
#include "session/PictureExport.h"
#include "session/PictureWriters.h"
#include "session/fakes/FakePictureWindows.h"
#include "tests/render/PixelProbe.h"
#include "tests/render/SvgConverters.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSet>
#include <QtEndian>
#include <bit>
#include <functional>
#include <map>

namespace {

constexpr int GraphWidth = 200;
constexpr int GraphHeight = 150;

QImage Decoded(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

std::uint32_t U32(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}
std::uint16_t U16(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

int ColorCount(const QImage& image)
{
    QSet<QRgb> colors;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colors.insert(image.pixel(x, y));
    return static_cast<int>(colors.size());
}

// The mean difference of the channels of two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

class PictureExportTest : public SessionTest {
protected:
    FakePictureWindows windows_;
    ScopedPictureWindows useWindows_{windows_};
    CountingCommandHost commands_;
    ScopedCommandHost useCommands_{commands_};
    platform::FakeFileChooser files_;
    platform::ScopedFileChooser useFiles_{files_};
    platform::FakeClipboard clipboard_;
    platform::ScopedClipboard useClipboard_{clipboard_};

    void SetUp() override
    {
        SessionTest::SetUp();
        InstallSceneRedrawer();
        InstallPictureSeries();
        ScaleT& view = GraphScale;
        view.XAxis.VHigh = GraphWidth;
        view.YAxis.VHigh = GraphHeight;
        for (TBitmap& image : view.GraphImages)
            image.SetSize(GraphWidth + 1, GraphHeight + 1);
        ASSERT_TRUE(view.SetRange(view.GraphImages, {{-5.0L, -5.0L}, {5.0L, 5.0L}}));
        TEquationFunction& f = DocumentTables.Functions[1];
        f.Func.Text = QStringLiteral("x^2/3-2");
        ASSERT_TRUE(PrepareExpression(f.Func, -1));
        Redraw();
        // The graph as the window would capture it: the picture with a strip.
        windows_.Graph = GraphScale.GraphImages[0].Image().copy();
        windows_.Graph.setPixel(0, 0, qRgb(12, 34, 56));
        windows_.BothWindows = QImage(500, 300, QImage::Format_RGB32);
        windows_.BothWindows.fill(qRgb(200, 210, 220));
    }
    void TearDown() override
    {
        for (TBitmap& image : GraphScale.GraphImages)
            image.SetSize(0, 0);
        SessionTest::TearDown();
    }

    static void Redraw()
    {
        SetDirtyView();
        SetDirtyObjects();
        GraphScale.Redraw(GraphScale.GraphImages);
    }
    // The scene at magnification 4: no axis is at the border.
    static QSize MetafileSize() { return {(GraphWidth + 1) * 4, (GraphHeight + 1) * 4}; }
    // The metafile's frame width in 0.01 mm at a resolution, halves to even.
    static int FrameWidth(int dpi) { return NearestInt(MetafileSize().width() * 2540.0L / dpi); }
    QStringList Messages() const
    {
        QStringList texts;
        for (const auto& m : sink_.messages())
            texts << m.text;
        return texts;
    }
};

// Each type as its bytes say: size, bits per pixel, colours, and the
// metafiles read back by other programs.
TEST_F(PictureExportTest, EachTypeIsWrittenWithItsOwnBytes)
{
    const QImage& graph = windows_.Graph;
    const auto svgOf = [](const TSvgConversion& svg) {
        if (!svg.Missing.isEmpty())
            return; // the tools come with scripts/install-deps.sh
        EXPECT_TRUE(svg.Converted) << svg.Error.toStdString();
    };
    const struct {
        const char* Name;
        std::function<void(const QByteArray&)> Check;
    } cases[] = {
        {"g.bmp",
         [&](const QByteArray& b) {
             EXPECT_EQ(b.left(2), QByteArray("BM"));
             EXPECT_EQ(U32(b, 18), static_cast<std::uint32_t>(graph.width()));
             EXPECT_EQ(U32(b, 22), static_cast<std::uint32_t>(graph.height()));
             EXPECT_EQ(U16(b, 28), 24) << "bits per pixel";
             EXPECT_EQ(Decoded(b), graph);
         }},
        {"g.gif",
         [&](const QByteArray& b) {
             EXPECT_EQ(b.left(6), QByteArray("GIF87a"));
             EXPECT_EQ(U16(b, 6), graph.width());
             EXPECT_EQ(U16(b, 8), graph.height());
             // A global colour table holding the picture's own colours, in
             // the order they first appear.
             const int flags = static_cast<unsigned char>(b[10]);
             EXPECT_TRUE(flags & 0x80);
             EXPECT_EQ(2 << (flags & 7), static_cast<int>(std::bit_ceil(static_cast<unsigned>(ColorCount(graph)))));
             EXPECT_EQ(b.mid(13, 3), QByteArray("\x0C\x22\x38", 3)) << "the first pixel's colour first";
             EXPECT_EQ(Decoded(b), graph) << "exact colours";
         }},
        {"g.jpg",
         [&](const QByteArray& b) {
             EXPECT_EQ(b.left(2), QByteArray("\xFF\xD8"));
             const QImage decoded = Decoded(b);
             ASSERT_EQ(decoded.size(), graph.size());
             EXPECT_LT(MeanDifference(decoded, graph), 3.0) << "quality 100";
         }},
        {"g.png",
         [&](const QByteArray& b) {
             EXPECT_EQ(b.left(8), QByteArray("\x89PNG\r\n\x1a\n"));
             EXPECT_EQ(Decoded(b), graph);
         }},
        {"g.emf",
         [&](const QByteArray& b) {
             TEmfRecordIterator it(b);
             ASSERT_TRUE(it.Next());
             EXPECT_EQ(it.Record().Type, EmfHeaderRecord);
             EXPECT_EQ(it.Record().I32(emf_header::Bounds + 8), MetafileSize().width());
             EXPECT_EQ(it.Record().I32(emf_header::Bounds + 12), MetafileSize().height());
             // The frame at the screen's resolution.
             EXPECT_EQ(it.Record().I32(emf_header::Frame + 8), FrameWidth(ScreenDpiX()));
             svgOf(ConvertEmfToSvg(b));
         }},
        {"g.wmf",
         [&](const QByteArray& b) {
             EXPECT_EQ(U32(b, wmf_file::PlaceableKey), wmf_file::PlaceableKeyValue);
             EXPECT_EQ(U16(b, wmf_file::PlaceableBounds + 4), MetafileSize().width());
             EXPECT_EQ(U16(b, wmf_file::PlaceableBounds + 6), MetafileSize().height());
             EXPECT_EQ(U16(b, wmf_file::PlaceableInch), ScreenDpiX());
             svgOf(ConvertWmfToSvg(b));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString name = PathOf(QString::fromLatin1(c.Name));
        const TPictureSaveResult result = SaveGraphImage(GraphScale, name, 1);
        EXPECT_EQ(result.Outcome, TPictureSaveResult::Written) << result.Error.toStdString();
        EXPECT_EQ(result.FileName, name);
        c.Check(ReadBytes(QString::fromLatin1(c.Name)));
    }
    EXPECT_TRUE(sink_.empty());
}

TEST_F(PictureExportTest, TheNameOrElseTheFilterGivesTheType)
{
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("pasta.v2")));
    const struct {
        const char* Given;
        int Filter;
        const char* Written; // nullptr: nothing
        TPictureSaveResult::TOutcome Outcome;
    } cases[] = {
        {"nome", 4, "nome.png", TPictureSaveResult::Written},
        {"A.JPG", 4, "A.jpg", TPictureSaveResult::Written},
        {"pasta.v2/b", 1, "pasta.v2/b.bmp", TPictureSaveResult::Written},
        {"C.Gif", 6, "C.gif", TPictureSaveResult::Written},
        {"texto.txt", 4, nullptr, TPictureSaveResult::NotAPicture},
        {"semtipo", 9, nullptr, TPictureSaveResult::NotAPicture},
    };
    for (const auto& c : cases) {
        const TPictureSaveResult result = SaveGraphImage(GraphScale, PathOf(QString::fromLatin1(c.Given)), c.Filter);
        EXPECT_EQ(result.Outcome, c.Outcome) << c.Given;
        if (c.Written) {
            EXPECT_EQ(result.FileName, PathOf(QString::fromLatin1(c.Written))) << c.Given;
            EXPECT_FALSE(Decoded(ReadBytes(QString::fromLatin1(c.Written))).isNull()) << c.Given;
        }
    }
    // Nothing else was written, and nothing said.
    QDir folder(dir_.path());
    EXPECT_EQ(folder.entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("A.jpg"), QStringLiteral("C.gif"), QStringLiteral("nome.png")}));
    EXPECT_TRUE(sink_.empty());
}

// In the chooser the filter's extension takes the place of a typed one.
TEST_F(PictureExportTest, SaveImageGivesTheChosenNameTheFiltersExtension)
{
    files_.queueAnswer(PathOf(QStringLiteral("A.JPG")), 4);
    ASSERT_TRUE(nsaveBmpClick());
    ASSERT_EQ(files_.requests().size(), 1u);
    EXPECT_EQ(files_.requests()[0].filter, PictureFilter);
    EXPECT_EQ(files_.requests()[0].filterIndex, 4) << "PNG to start with";
    EXPECT_EQ(ReadBytes(QStringLiteral("A.png")).left(4), QByteArray("\x89PNG"));
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("A.JPG"))));

    // The type chosen is offered again; replacing a file the chooser did not
    // ask about is asked here, and Cancel keeps it.
    const QByteArray before = ReadBytes(QStringLiteral("A.png"));
    WriteBytes(QStringLiteral("A.bmp"), "old");
    files_.queueAnswer(PathOf(QStringLiteral("A.png")), 1);
    sink_.scriptAnswers({false});
    EXPECT_FALSE(nsaveBmpClick());
    EXPECT_EQ(files_.requests()[1].filterIndex, 4);
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Substituir o arquivo existente?")});
    EXPECT_EQ(ReadBytes(QStringLiteral("A.bmp")), QByteArray("old"));
    EXPECT_EQ(PictureExport.FilterIndex, 1);

    files_.queueAnswer(std::nullopt);
    EXPECT_FALSE(nsaveBmpClick()) << "cancelled";
    EXPECT_EQ(ReadBytes(QStringLiteral("A.png")), before);
}

TEST_F(PictureExportTest, AFileThatCannotBeWrittenIsSaidAndLeavesWhatIsThere)
{
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("ocupado.png")));
    const struct {
        const char* Name;
    } cases[] = {{"falta/g.png"}, {"ocupado.png"}, {"falta/g.wmf"}};
    for (const auto& c : cases) {
        const QString name = PathOf(QString::fromLatin1(c.Name));
        const TPictureSaveResult result = SaveGraphImage(GraphScale, name, 4);
        EXPECT_EQ(result.Outcome, TPictureSaveResult::Failed) << c.Name;
        EXPECT_EQ(result.Error, QStringLiteral("Erro ao salvar arquivo\n") + name);
    }
    EXPECT_TRUE(QFileInfo(PathOf(QStringLiteral("ocupado.png"))).isDir());
    EXPECT_TRUE(sink_.empty()) << "the caller shows the error";

    files_.queueAnswer(PathOf(QStringLiteral("falta/g")), 4);
    EXPECT_FALSE(nsaveBmpClick());
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Erro ao salvar arquivo\n") + PathOf(QStringLiteral("falta/g.png"))});
    EXPECT_EQ(sink_.last().kind, MsgError);
}

TEST_F(PictureExportTest, ASeriesWritesAPicturePerFullRedrawUntilASingleSaveStopsIt)
{
    files_.queueAnswer(PathOf(QStringLiteral("a.bmp")), 4);
    ASSERT_TRUE(nsavemovieClick());
    EXPECT_FALSE(files_.requests()[0].confirmOverwrite);
    EXPECT_TRUE(PictureExport.ExportState);
    ASSERT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(sink_.last().text,
              QStringLiteral("De agora em diante, toda ação será salva no arquivo como \"") + PathOf(QStringLiteral("axxx.png")) +
                  u'"');
    EXPECT_EQ(sink_.last().kind, MsgInfo);
    EXPECT_EQ(sink_.last().buttons, MsgOk);
    for (int i = 0; i < 3; ++i)
        Redraw();
    for (const char* name : {"a000.png", "a001.png", "a002.png"})
        EXPECT_EQ(Decoded(ReadBytes(QString::fromLatin1(name))), windows_.Graph) << name;
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("a003.png"))));

    // A single save stops the series; the windows are told.
    files_.queueAnswer(PathOf(QStringLiteral("um")), 4);
    ASSERT_TRUE(nsaveBmpClick());
    EXPECT_FALSE(PictureExport.ExportState);
    EXPECT_EQ(commands_.SeriesStops, 1);
    Redraw();
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("a003.png"))));
}

TEST_F(PictureExportTest, TheSeriesCountsOnPast999AndStopsOnItsFirstFailure)
{
    files_.queueAnswer(PathOf(QStringLiteral("b")), 1);
    ASSERT_TRUE(nsavemovieClick());
    PictureExport.SeriesCounter = 999;
    Redraw();
    Redraw();
    EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("b999.bmp"))));
    EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("b1000.bmp"))));
    // A second click stops it.
    EXPECT_FALSE(nsavemovieClick());
    EXPECT_FALSE(PictureExport.ExportState);

    // Into a folder that is not there: said once, and the series stops.
    sink_.clear();
    files_.queueAnswer(PathOf(QStringLiteral("falta/c")), 4);
    ASSERT_TRUE(nsavemovieClick());
    sink_.clear();
    Redraw();
    Redraw();
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("Erro ao salvar arquivo\n") + PathOf(QStringLiteral("falta/c000.png"))});
    EXPECT_FALSE(PictureExport.ExportState);

    // A cancelled chooser leaves the series off.
    files_.queueAnswer(std::nullopt);
    EXPECT_FALSE(nsavemovieClick());
    EXPECT_FALSE(PictureExport.ExportState);
}

TEST_F(PictureExportTest, EachCopyModePutsItsFormatsOnTheClipboard)
{
    const TColor meshColor = ColorScheme.MeshColor;
    const struct {
        int Mode;
        bool Ctrl, Shift;
        QStringList Formats; // empty: a picture
        int Width;           // the picture's, or the PNG's
        int FrameDpi;        // the metafile's resolution; 0 without one
    } cases[] = {
        {0, false, false, {}, GraphWidth + 1, 0},
        {3, false, false, {}, 500, 0},
        {10, false, false, {QStringLiteral("image/emf"), QStringLiteral("image/x-emf"), QStringLiteral("image/png")},
         GraphWidth + 1, ScreenDpiX()},
        {10, true, false, {QStringLiteral("image/emf"), QStringLiteral("image/x-emf"), QStringLiteral("image/png")},
         GraphWidth + 1, 4 * ScreenDpiX()},
        {11, false, false, {QStringLiteral("image/emf"), QStringLiteral("image/x-emf"), QStringLiteral("image/png")},
         GraphWidth + 1, ScreenDpiX()},
        {10, false, true, {}, 2000, 0},
        {11, true, true, {}, 4000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.Mode << " ctrl " << c.Ctrl << " shift " << c.Shift);
        ASSERT_TRUE(CopyGraphToClipboard(GraphScale, c.Mode, c.Ctrl, c.Shift));
        EXPECT_EQ(clipboard_.formats(), c.Formats);
        EXPECT_EQ(ColorScheme.MeshColor, meshColor);
        EXPECT_FALSE(ColorScheme.Monochrome);
        if (c.Formats.isEmpty()) {
            EXPECT_EQ(clipboard_.image().width(), c.Width);
            continue;
        }
        const QImage png = Decoded(clipboard_.data(QStringLiteral("image/png")));
        EXPECT_EQ(png.width(), c.Width);
        const QByteArray emf = clipboard_.data(QStringLiteral("image/emf"));
        EXPECT_EQ(emf, clipboard_.data(QStringLiteral("image/x-emf")));
        TEmfRecordIterator it(emf);
        ASSERT_TRUE(it.Next());
        EXPECT_EQ(it.Record().I32(emf_header::Frame + 8), FrameWidth(c.FrameDpi));
    }
}

TEST_F(PictureExportTest, ACopyMenuItemKeepsItsModeForTheNextCopies)
{
    ASSERT_TRUE(CopyGraphInMode(3));
    EXPECT_EQ(ProgramSettings.CopyMode, 3);
    EXPECT_EQ(clipboard_.image().size(), windows_.BothWindows.size());
    ASSERT_TRUE(CopyGraphToClipboard(ProgramSettings.CopyMode));
    EXPECT_EQ(clipboard_.writes(), 2);
}

// A picture of more colours than a GIF holds gets 256 chosen for it; each
// pixel takes one of them, the same for the same colour (no dithering).
TEST(PictureWritersTest, AGifOfManyColoursIsQuantisedWithoutDithering)
{
    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb(4 * x, 4 * y, x < 32 ? 40 : 200));
    const QByteArray gif = EncodeGif(image);
    ASSERT_EQ(gif.left(6), QByteArray("GIF87a"));
    EXPECT_EQ(static_cast<unsigned char>(gif[10]) & 7, 7) << "256 colours";
    const QImage decoded = Decoded(gif);
    ASSERT_EQ(decoded.size(), image.size());
    std::map<QRgb, QRgb> mapped;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const QRgb in = image.pixel(x, y);
            const QRgb out = decoded.pixel(x, y);
            EXPECT_LE(std::abs(qRed(in) - qRed(out)) + std::abs(qGreen(in) - qGreen(out)) +
                          std::abs(qBlue(in) - qBlue(out)),
                      48)
                << x << "," << y;
            EXPECT_EQ(mapped.try_emplace(in, out).first->second, out);
        }
    // A picture of one colour still gets a map of two.
    QImage white(3, 2, QImage::Format_RGB32);
    white.fill(Qt::white);
    const QByteArray small = EncodeGif(white);
    EXPECT_EQ(static_cast<unsigned char>(small[10]) & 7, 0);
    EXPECT_EQ(Decoded(small), white);
}

// A write that fails leaves the file that was there as it was; one that
// works replaces it whole.
TEST(PictureWritersTest, AFileIsReplacedOnlyByAWholeOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("g.png"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old picture");
    old.close();
    EXPECT_EQ(WriteFileAtomically(path, QByteArray()), QStringLiteral("Erro ao salvar arquivo\n") + path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old picture"));
    old.close();
    EXPECT_TRUE(WriteFileAtomically(path, "new picture").isEmpty());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("new picture"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("g.png")}) << "no leftovers";
}

// "Iniciar" and every opened project stop the series (the windows are
// told) and forget the printed aspect.
TEST_F(PictureExportTest, ANewDocumentStopsTheSeriesAndForgetsTheKeptAspect)
{
    files_.queueAnswer(PathOf(QStringLiteral("s")), 4);
    ASSERT_TRUE(nsavemovieClick());
    SetPrintKeepAspect(true);
    EXPECT_EQ(Options.PrintKeepAspect, 1);
    InitAllData();
    EXPECT_FALSE(PictureExport.ExportState);
    EXPECT_EQ(commands_.SeriesStops, 1);
    EXPECT_EQ(Options.PrintKeepAspect, 0);
}

// 75 % of a page 4800 pixels wide is 3600; keeping the
// aspect, a graph 500 pixels wide prints 7 times as wide, 3500.
TEST_F(PictureExportTest, APicturePrintsAcrossThePageByItsSizeAndMargins)
{
    windows_.Graph = QImage(500, 400, QImage::Format_RGB32);
    windows_.Graph.fill(qRgb(0, 0, 255));
    const struct {
        QSize Page;
        int Percent;
        bool Keep;
        QRect Printed;
    } cases[] = {
        {{4800, 6000}, 75, false, {600, 200, 3600, 2880}},
        {{4800, 6000}, 75, true, {650, 200, 3500, 2800}},
        // Taller than 29/30 of the page: at its top; kept to a whole
        // multiple, it fits again below the margin.
        {{4800, 3000}, 100, false, {525, 0, 3750, 3000}},
        {{4800, 3000}, 100, true, {650, 100, 3500, 2800}},
    };
    for (const auto& c : cases) {
        platform::FakePrinting printer(c.Page);
        QImage page(c.Page, QImage::Format_RGB32);
        page.fill(Qt::white);
        printer.onBand([&](int left, int top, const QImage& band) {
            QPainter(&page).drawImage(left, top, band);
        });
        const TPrintRequest request{CaptureGraph, QStringLiteral("KAVIRO : aula"), c.Percent, c.Keep};
        ASSERT_EQ(PrintGraphBitmap(CaptureGraph, request, printer), TPrintResult::Printed);
        EXPECT_EQ(printer.printedBox(), c.Printed);
        EXPECT_EQ(printer.jobTitle(), QStringLiteral("KAVIRO : aula"));
        EXPECT_EQ(printer.jobsEnded(), 1);
        // Blue to the box's edges, white beyond.
        const QRect& box = c.Printed;
        EXPECT_EQ(PixelAt(page.copy(), box.left(), box.top()), 0xFF0000u);
        EXPECT_EQ(PixelAt(page.copy(), box.right(), box.bottom()), 0xFF0000u);
        EXPECT_EQ(PixelAt(page.copy(), box.right() + 1, box.bottom()), ColorWhite);
    }
}

TEST_F(PictureExportTest, PrintingTakesTheStoredModeAndSaysWhyItFailed)
{
    platform::FakePrinting printer({1000, 1400});
    platform::ScopedPrinting usePrinter(printer);
    const struct {
        int Mode;
        int Captures; // the bitmap modes capture the windows
    } cases[] = {{CaptureGraph, 1}, {CaptureBothWindows, 1}, {PrintColorGraph, 0}, {PrintMonochromeGraph, 0}};
    for (const auto& c : cases) {
        ProgramSettings.PrintMode = c.Mode;
        windows_.Captures = 0;
        EXPECT_EQ(PrintGraph(GraphScale), TPrintResult::Printed) << c.Mode;
        EXPECT_EQ(windows_.Captures, c.Captures) << c.Mode;
        EXPECT_EQ(printer.jobTitle(), windows_.Caption);
    }
    EXPECT_FALSE(ColorScheme.Monochrome);

    printer.refuseJobs(true);
    EXPECT_EQ(PrintFailureMessage(PrintGraph(GraphScale)), QStringLiteral("Erro ao imprimir"));
    platform::FakePrinting none({0, 0});
    platform::ScopedPrinting useNone(none);
    EXPECT_EQ(PrintFailureMessage(PrintGraph(GraphScale)), QStringLiteral("Nenhuma impressora escolhida (Prop.Impressora)"));
    EXPECT_EQ(PrintFailureMessage(TPrintResult::Printed), QString());
}

} // namespace
