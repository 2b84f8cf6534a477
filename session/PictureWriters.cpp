#include "session/PictureWriters.h"

#include "session/ProjectFile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>
#include <algorithm>
#include <bit>
#include <gif_lib.h>
#include <unordered_map>
#include <vector>

namespace {

constexpr int GifColors = 256;

QByteArray EncodeWithQt(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(image) ? bytes : QByteArray();
}

// The picture as indexes into a colour map.
struct TIndexedPicture {
    std::vector<GifColorType> Colors;
    std::vector<GifByteType> Pixels;
};

// The picture's own colours, in the order they first appear; none when it
// has more than the map holds.
std::optional<TIndexedPicture> ExactColors(const QImage& rgb)
{
    TIndexedPicture picture;
    picture.Pixels.resize(static_cast<std::size_t>(rgb.width()) * rgb.height());
    std::unordered_map<QRgb, GifByteType> indexOf;
    QRgb last = 0;
    GifByteType lastIndex = 0;
    bool any = false;
    std::size_t at = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x, ++at) {
            const QRgb c = line[x] & 0x00FFFFFFu;
            // Graphs come in long runs of one colour.
            if (!any || c != last) {
                const auto found = indexOf.find(c);
                if (found != indexOf.end()) {
                    lastIndex = found->second;
                } else {
                    if (picture.Colors.size() == GifColors)
                        return std::nullopt;
                    lastIndex = static_cast<GifByteType>(picture.Colors.size());
                    indexOf.emplace(c, lastIndex);
                    picture.Colors.push_back({static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                                              static_cast<GifByteType>(qBlue(c))});
                }
                last = c;
                any = true;
            }
            picture.Pixels[at] = lastIndex;
        }
    }
    return picture;
}

// 256 colours chosen by giflib's median cut; each pixel takes the nearest,
// without dithering.
std::optional<TIndexedPicture> QuantisedColors(const QImage& rgb)
{
    const std::size_t count = static_cast<std::size_t>(rgb.width()) * rgb.height();
    std::vector<GifByteType> red(count), green(count), blue(count);
    std::size_t at = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x, ++at) {
            red[at] = static_cast<GifByteType>(qRed(line[x]));
            green[at] = static_cast<GifByteType>(qGreen(line[x]));
            blue[at] = static_cast<GifByteType>(qBlue(line[x]));
        }
    }
    TIndexedPicture picture;
    picture.Pixels.resize(count);
    picture.Colors.resize(GifColors);
    int size = GifColors;
    if (GifQuantizeBuffer(static_cast<unsigned>(rgb.width()), static_cast<unsigned>(rgb.height()), &size, red.data(),
                          green.data(), blue.data(), picture.Pixels.data(), picture.Colors.data()) != GIF_OK)
        return std::nullopt;
    picture.Colors.resize(static_cast<std::size_t>(std::clamp(size, 1, GifColors)));
    return picture;
}

int AppendToBytes(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

QByteArray WriteGif(const QImage& rgb, TIndexedPicture& picture)
{
    // A colour map holds a power of two colours, at least two.
    const int mapSize = std::max(2, static_cast<int>(std::bit_ceil(picture.Colors.size())));
    picture.Colors.resize(static_cast<std::size_t>(mapSize), GifColorType{0, 0, 0});
    ColorMapObject* map = GifMakeMapObject(mapSize, picture.Colors.data());
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendToBytes, &error);
    bool written = gif && map;
    written = written && EGifPutScreenDesc(gif, rgb.width(), rgb.height(), GifBitSize(mapSize), 0, map) == GIF_OK;
    written = written && EGifPutImageDesc(gif, 0, 0, rgb.width(), rgb.height(), false, nullptr) == GIF_OK;
    for (int y = 0; written && y < rgb.height(); ++y)
        written = EGifPutLine(gif, picture.Pixels.data() + static_cast<std::size_t>(y) * rgb.width(), rgb.width()) ==
                  GIF_OK;
    if (gif && EGifCloseFile(gif, &error) != GIF_OK)
        written = false;
    GifFreeMapObject(map);
    return written ? bytes : QByteArray();
}

} // namespace

std::optional<TPictureType> PictureTypeOfExtension(const QString& extension)
{
    static const std::pair<const char16_t*, TPictureType> types[] = {
        {u".bmp", TPictureType::Bmp}, {u".gif", TPictureType::Gif}, {u".jpg", TPictureType::Jpeg},
        {u".png", TPictureType::Png}, {u".emf", TPictureType::Emf}, {u".wmf", TPictureType::Wmf},
    };
    for (const auto& [text, type] : types)
        if (extension == QStringView(text))
            return type;
    return std::nullopt;
}

QByteArray EncodeBmp(const QImage& image)
{
    return EncodeWithQt(image.convertToFormat(QImage::Format_RGB888), "BMP");
}

QByteArray EncodeGif(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull() || rgb.width() > 0xFFFF || rgb.height() > 0xFFFF)
        return {};
    std::optional<TIndexedPicture> picture = ExactColors(rgb);
    if (!picture)
        picture = QuantisedColors(rgb);
    return picture ? WriteGif(rgb, *picture) : QByteArray();
}

QByteArray EncodeJpeg(const QImage& image)
{
    return EncodeWithQt(image.convertToFormat(QImage::Format_RGB32), "JPEG", 100);
}

QByteArray EncodePng(const QImage& image)
{
    return EncodeWithQt(image, "PNG");
}

QString WriteFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return SaveErrorText(path);
    return {};
}
