// kaviro-render: draws a project headless through the program's own drawing
// code, for golden tests of whole pictures.
//
//   kaviro-render project.kvf out.png [--magnification m] [--emf out.emf]
//                 [--dump out.txt] [--fake-text-metrics]
//
// The project opens as the program opens it (its stored graph size, its
// traces), with default settings held in memory and '.' as the decimal
// separator, and the redraw that opening runs fills the graph picture. With
// a magnification the picture is the scene drawn into a metafile at that
// magnification and rasterised on white. --emf and --dump write that
// metafile (magnification 1 unless given) as an EMF and as its display-list
// text. --fake-text-metrics measures text with the machine-independent
// metrics of the tests, so that display lists with text are exact anywhere.
// A file the program refuses ends the tool with its message on stderr and
// exit code 1; bad arguments give exit code 2.
#include "platform/LocaleSeparators.h"
#include "platform/fakes/MemorySettingsStore.h"
#include "render/gfx/Bitmap.h"
#include "render/gfx/EmfWriter.h"
#include "render/gfx/Metafile.h"
#include "render/gfx/TextMetrics.h"
#include "render/scene/SceneToMetafile.h"
#include "render/view/Scale.h"
#include "model/Settings.h"
#include "session/HeadlessStartup.h"
#include "session/ProjectFile.h"

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

constexpr int MaxMagnification = 16;

struct TRenderRequest {
    QString Project;
    QString Png;
    std::optional<int> Magnification;
    QString Emf;
    QString Dump;
    bool FakeTextMetrics = false;
};

void Complain(const QString& text)
{
    std::fprintf(stderr, "kaviro-render: %s\n", text.toUtf8().constData());
}

std::optional<TRenderRequest> ParseArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws a project headless into a PNG picture."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("the project (.kvf)"));
    parser.addPositionalArgument(QStringLiteral("picture"), QStringLiteral("the PNG to write"));
    const QCommandLineOption magnification(QStringLiteral("magnification"),
                                           QStringLiteral("draws the scene's metafile at m (1..16)"), QStringLiteral("m"));
    const QCommandLineOption emf(QStringLiteral("emf"), QStringLiteral("writes the scene's metafile as EMF"),
                                 QStringLiteral("file"));
    const QCommandLineOption dump(QStringLiteral("dump"), QStringLiteral("writes the scene's display list"),
                                  QStringLiteral("file"));
    const QCommandLineOption fakeMetrics(QStringLiteral("fake-text-metrics"),
                                         QStringLiteral("measures text with the tests' exact metrics"));
    parser.addOptions({magnification, emf, dump, fakeMetrics});
    if (!parser.parse(arguments)) {
        Complain(parser.errorText());
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(parser.helpText().toUtf8().constData(), stdout);
        std::exit(0);
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 2) {
        Complain(QStringLiteral("needs a project and a picture to write (see --help)"));
        return std::nullopt;
    }
    TRenderRequest request{files[0], files[1], std::nullopt, parser.value(emf), parser.value(dump),
                           parser.isSet(fakeMetrics)};
    if (parser.isSet(magnification)) {
        bool ok = false;
        const int m = parser.value(magnification).toInt(&ok);
        if (!ok || m < 1 || m > MaxMagnification) {
            Complain(QStringLiteral("the magnification is a whole number from 1 to 16"));
            return std::nullopt;
        }
        request.Magnification = m;
    }
    return request;
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    Complain(QStringLiteral("cannot write ") + path);
    return false;
}

bool WritePicture(const QString& path, const QImage& image)
{
    if (image.isNull()) {
        Complain(QStringLiteral("the picture is too large to draw"));
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit())
        return true;
    Complain(QStringLiteral("cannot write ") + path);
    return false;
}

// The metafile drawn on white, one picture pixel per image pixel.
QImage Rasterise(const TMetafile& picture)
{
    TBitmap bitmap(picture.Width, picture.Height);
    if (bitmap.Image().isNull())
        return {};
    bitmap.Canvas().Draw(0, 0, picture);
    return bitmap.Image();
}

// The project opened as the program opens it; false when it was refused
// (the message went to stderr).
bool OpenHeadless(const QString& project)
{
    StartWithoutWindows();
    // The picture keeps the size the project was saved with.
    ProgramSettings.AreaSizeByFile = 1;
    return OpenProject(project);
}

int Render(const TRenderRequest& request)
{
    if (!OpenHeadless(request.Project))
        return 1;
    std::optional<TMetafile> scene;
    if (request.Magnification || !request.Emf.isEmpty() || !request.Dump.isEmpty())
        scene = DrawToMetafile(GraphScale, request.Magnification.value_or(1));
    const QImage picture = request.Magnification ? Rasterise(*scene) : GraphScale.GraphImages[0].Image();
    bool written = WritePicture(request.Png, picture);
    if (!request.Emf.isEmpty())
        written = WriteBytes(request.Emf, WriteEmf(*scene)) && written;
    if (!request.Dump.isEmpty())
        written = WriteBytes(request.Dump, DumpMetafile(*scene).toUtf8()) && written;
    return written ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::optional<TRenderRequest> request = ParseArguments(QGuiApplication::arguments());
    if (!request)
        return 2;

    // Nothing of the user's: settings in memory, '.' decimals, the
    // messages on stderr (the default sink), no windows.
    platform::MemorySettingsStore settings;
    const platform::ScopedSettingsStore useSettings(settings);
    platform::SetLocaleOverride(QLocale::c());
    THeadlessProjectHost host;
    const ScopedProjectHost useHost(host);
    FakeTextMetrics fakeMetrics;
    std::optional<ScopedTextMetrics> useFakeMetrics;
    if (request->FakeTextMetrics)
        useFakeMetrics.emplace(fakeMetrics);
    return Render(*request);
}
