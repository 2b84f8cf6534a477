// Starts the built program under a virtual X server with a project, lets it
// save its screen after the first full redraw, and checks the picture: the
// graph window's white graph with the project's curves in their colours,
// and the data panel's silver beside it.
//   kaviro_smoke_check <xvfb-run> <kaviro> <project.kvf> <screenshot.png>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <cstdio>

namespace {

struct TColourCount {
    const char* What;
    QRgb Colour;
    int AtLeast;
};

int Fail(const char* what)
{
    std::fprintf(stderr, "smoke: %s\n", what);
    return 1;
}

QRect BoxOf(const QImage& image, QRgb colour, int* count)
{
    QRect box;
    *count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) {
                box = box.united(QRect(x, y, 1, 1));
                ++*count;
            }
    return box;
}

int CountIn(const QImage& image, const QRect& box, QRgb colour)
{
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5)
        return Fail("usage: kaviro_smoke_check <xvfb-run> <kaviro> <project> <screenshot.png>");
    const QString screenshot = args[4];
    QFile::remove(screenshot);

    // Settings of its own, so that nothing stored by a user changes the picture.
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KAVIRO_SCREENSHOT"), screenshot);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    // A program that hangs is ended inside the virtual server's session, so
    // that xvfb-run takes its server down with it.
    program.start(args[1], {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24"),
                            QStringLiteral("timeout"), QStringLiteral("20"), args[2], args[3]});
    if (!program.waitForFinished(40000)) {
        program.kill();
        return Fail("the program did not end within 40 s");
    }
    if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0)
        return Fail("the program failed");

    QImage image;
    if (!image.load(screenshot))
        return Fail("no screenshot");
    image = image.convertToFormat(QImage::Format_RGB32);

    int white = 0;
    const QRect graph = BoxOf(image, qRgb(255, 255, 255), &white);
    if (white < 300 * 300 || graph.width() < 300 || graph.height() < 300)
        return Fail("no graph in the picture");
    // The sample's curves: 2sin(x) red, the parabola blue, a·cos(2x)+1 green.
    const TColourCount curves[] = {
        {"red curve", qRgb(255, 0, 0), 500},
        {"blue curve", qRgb(0, 0, 255), 500},
        {"green curve", qRgb(0, 128, 0), 500},
    };
    for (const TColourCount& c : curves) {
        const int n = CountIn(image, graph, c.Colour);
        std::printf("smoke: %s: %d pixels\n", c.What, n);
        if (n < c.AtLeast)
            return Fail(c.What);
    }
    // The data panel stands right of the graph window, in silver.
    const QRect right(graph.right() + 1, 0, image.width() - graph.right() - 1, image.height());
    const int silver = right.width() > 0 ? CountIn(image, right, qRgb(192, 192, 192)) : 0;
    std::printf("smoke: graph %dx%d at %d,%d; data panel silver %d pixels\n", graph.width(), graph.height(),
                graph.left(), graph.top(), silver);
    if (silver < 150 * 400)
        return Fail("no data panel beside the graph");
    return 0;
}
