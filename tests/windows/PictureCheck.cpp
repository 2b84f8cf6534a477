// Reads a picture file whole, as an image viewer would, and prints its width
// and height; fails when it does not decode. For the walks that look at the
// screen it also takes a part of the screen into a picture, and counts the
// pixels in which two pictures of one size differ, with the box around them.
//   kaviro_picture_check <picture>
//   kaviro_picture_check --grab <x> <y> <width> <height> <picture>
//   kaviro_picture_check --differ <picture> <picture>   prints: count left top width height
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: kaviro_picture_check <picture>\n"
                         "       kaviro_picture_check --grab <x> <y> <width> <height> <picture>\n"
                         "       kaviro_picture_check --differ <picture> <picture>\n");
    return 2;
}

QImage Read(const char* path)
{
    QImageReader reader(QString::fromLocal8Bit(path));
    const QImage image = reader.read();
    if (image.isNull())
        std::fprintf(stderr, "picture_check: %s: %s\n", path, reader.errorString().toLocal8Bit().constData());
    return image;
}

int Grab(char* argv[])
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1;
    const QPixmap part = screen->grabWindow(0, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                                            std::atoi(argv[5]));
    return part.save(QString::fromLocal8Bit(argv[6]), "PNG") ? 0 : 1;
}

int Differ(char* argv[])
{
    const QImage a = Read(argv[2]).convertToFormat(QImage::Format_RGB32);
    const QImage b = Read(argv[3]).convertToFormat(QImage::Format_RGB32);
    if (a.isNull() || b.isNull() || a.size() != b.size())
        return 1;
    long n = 0;
    QRect box;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) == b.pixel(x, y))
                continue;
            ++n;
            box |= QRect(x, y, 1, 1);
        }
    }
    std::printf("%ld %d %d %d %d\n", n, box.left(), box.top(), box.width(), box.height());
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 7 && std::strcmp(argv[1], "--grab") == 0) {
        QGuiApplication app(argc, argv);
        return Grab(argv);
    }
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--differ") == 0)
        return Differ(argv);
    if (argc != 2)
        return Usage();
    const QImage image = Read(argv[1]);
    if (image.isNull())
        return 1;
    std::printf("%d %d\n", image.width(), image.height());
    return 0;
}
