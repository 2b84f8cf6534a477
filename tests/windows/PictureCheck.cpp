// Reads a picture file whole, as an image viewer would, and prints its width
// and height; fails when it does not decode.
//   kaviro_picture_check <picture>
#include <QCoreApplication>
#include <QImageReader>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kaviro_picture_check <picture>\n");
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    const QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "picture_check: %s\n", reader.errorString().toLocal8Bit().constData());
        return 1;
    }
    std::printf("%d %d\n", image.width(), image.height());
    return 0;
}
