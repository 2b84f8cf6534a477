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
#include <cstdint>
#include <cstdio>
#include <vector>

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

constexpr QRgb Silver = qRgb(192, 192, 192);

// Flood fills the 4-connected patch of pixels for which inPatch holds,
// from (x0, y0), marking them in seen; returns its bounding box and area.
template <class InPatch>
QRect FillPatch(const QImage& image, std::vector<std::uint8_t>& seen, int x0, int y0, InPatch inPatch, long* area)
{
    const int w = image.width();
    const int h = image.height();
    QRect box;
    *area = 0;
    std::vector<QPoint> stack{QPoint(x0, y0)};
    seen[std::size_t(y0) * w + x0] = 1;
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        box = box.united(QRect(p, QSize(1, 1)));
        ++*area;
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + d;
            if (q.x() < 0 || q.y() < 0 || q.x() >= w || q.y() >= h)
                continue;
            std::uint8_t& mark = seen[std::size_t(q.y()) * w + q.x()];
            if (!mark && inPatch(q.x(), q.y())) {
                mark = 1;
                stack.push_back(q);
            }
        }
    }
    return box;
}

// The grey of window backgrounds and frames (silver and its light and dark
// shades), which separates the windows' parts; white and black are not.
bool IsFrameGrey(QRgb pixel)
{
    return qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel) && qRed(pixel) >= 64 && qRed(pixel) <= 250;
}

// The bounding box of the largest 4-connected patch of pixels that are not
// frame grey, leaving out the empty screen around the windows (the patch of
// the bottom-right corner's colour).
QRect LargestPatchBetweenFrames(const QImage& image)
{
    const int w = image.width();
    const int h = image.height();
    std::vector<std::uint8_t> seen(std::size_t(w) * h, 0);
    auto same = [&](int x, int y, QRgb c) { return (image.pixel(x, y) & 0xFFFFFF) == (c & 0xFFFFFF); };
    long area = 0;
    const QRgb screen = image.pixel(w - 1, h - 1);
    FillPatch(image, seen, w - 1, h - 1, [&](int x, int y) { return same(x, y, screen); }, &area);
    auto other = [&](int x, int y) { return !IsFrameGrey(image.pixel(x, y)); };
    QRect best;
    long bestArea = 0;
    for (int y0 = 0; y0 < h; ++y0)
        for (int x0 = 0; x0 < w; ++x0) {
            if (seen[std::size_t(y0) * w + x0] || !other(x0, y0))
                continue;
            const QRect box = FillPatch(image, seen, x0, y0, other, &area);
            if (area > bestArea) {
                bestArea = area;
                best = box;
            }
        }
    return best;
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

    // The graph is the largest patch of the picture between the windows' grey
    // frames: the data panel's rows are small white boxes between silver.
    const QRect graph = LargestPatchBetweenFrames(image);
    if (graph.width() < 300 || graph.height() < 300 || CountIn(image, graph, qRgb(255, 255, 255)) < 300 * 200)
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
    const int silver = right.width() > 0 ? CountIn(image, right, Silver) : 0;
    std::printf("smoke: graph %dx%d at %d,%d; data panel silver %d pixels\n", graph.width(), graph.height(),
                graph.left(), graph.top(), silver);
    if (silver < 150 * 400)
        return Fail("no data panel beside the graph");
    return 0;
}
