#include "render/gfx/MetafileResolution.h"

#include "model/Numeric.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

constexpr int HeadlessDpi = 96;

// Wide enough that no product of two header fields overflows, whatever a
// damaged header holds; results are clamped to 32 bits when written.
using TWide = __int128;

// n / d rounded to the nearest integer, halves to even; d > 0.
TWide RoundedQuotient(TWide n, TWide d)
{
    TWide q = n / d;
    TWide r = n % d;
    if (r < 0) { // make it the floor, with 0 <= r < d
        --q;
        r += d;
    }
    if (2 * r > d || (2 * r == d && (q & 1) != 0))
        ++q;
    return q;
}

std::int32_t ClampToInt32(TWide v)
{
    return static_cast<std::int32_t>(std::clamp<TWide>(v, INT32_MIN, INT32_MAX));
}

TWide Read(const QByteArray& header, int offset)
{
    return qFromLittleEndian<qint32>(header.constData() + offset);
}

void Write(QByteArray& header, int offset, TWide value)
{
    qToLittleEndian<qint32>(ClampToInt32(value), header.data() + offset);
}

// Whether the header has its micrometre fields free to write: long enough,
// and neither a description nor a pixel format placed over them.
bool HasMicrometers(const TEmfRecord& header)
{
    using namespace emf_header;
    if (header.Size() < FullSize)
        return false;
    const auto placedBelow = [&](int countAt, int offsetAt) {
        return header.U32(countAt) != 0 && header.U32(offsetAt) < static_cast<std::uint32_t>(FullSize);
    };
    return !placedBelow(DescriptionLength, DescriptionOffset) && !placedBelow(PixelFormatSize, PixelFormatOffset);
}

// One axis of the header: frame edges at frameLow and frameLow + 8, the
// reference device's pixels, millimetres and micrometres at the offsets given.
struct TAxis {
    int FrameLow;
    int Device;
    int Millimeters;
    int Micrometers;
};

void RescaleAxis(QByteArray& header, const TAxis& axis, TWide dpi, bool micrometers)
{
    const TWide low = Read(header, axis.FrameLow);
    const TWide high = Read(header, axis.FrameLow + 8);
    const TWide device = Read(header, axis.Device);
    const TWide millimeters = Read(header, axis.Millimeters);
    // The picture's size in the reference device's pixels, each division truncating.
    const TWide pixels = (high - low) * device / millimeters / 100;
    Write(header, axis.FrameLow + 8, low + RoundedQuotient(pixels * 2540, dpi));
    Write(header, axis.Millimeters, RoundedQuotient(device * 254, dpi * 10)); // × 25.4 / dpi
    if (micrometers)
        Write(header, axis.Micrometers, RoundedQuotient(device * 25400, dpi));
}

int ScreenDpi(bool horizontal)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return HeadlessDpi;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return HeadlessDpi;
    const int dpi = NearestInt(horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY());
    return dpi > 0 ? dpi : HeadlessDpi;
}

} // namespace

int ScreenDpiX()
{
    return ScreenDpi(true);
}

int ScreenDpiY()
{
    return ScreenDpi(false);
}

int RescaleEnhMetaRecord(const TEmfRecord& record, QByteArray& stream, int dpiX, int dpiY)
{
    using namespace emf_header;
    QByteArray header = record.Bytes.toByteArray();
    const bool rescalable = record.Type == EmfHeaderRecord && record.Size() >= BaseSize && dpiX > 0 && dpiY > 0 &&
                            record.I32(Millimeters) != 0 && record.I32(Millimeters + 4) != 0;
    if (!rescalable) {
        stream.append(record.Bytes);
        return 1;
    }
    const bool micrometers = HasMicrometers(record);
    RescaleAxis(header, {Frame, Device, Millimeters, Micrometers}, dpiX, micrometers);
    RescaleAxis(header, {Frame + 4, Device + 4, Millimeters + 4, Micrometers + 4}, dpiY, micrometers);
    stream.append(header);
    return 1;
}

QString SetMetafileResolution(QByteArray& metafile, int dpiX, int dpiY)
{
    if (dpiX < 0 || dpiY < 0)
        return QStringLiteral("Resolução inválida: %1 × %2 pontos por polegada").arg(dpiX).arg(dpiY);
    const int x = dpiX == 0 ? ScreenDpiX() : dpiX;
    const int y = dpiY == 0 ? ScreenDpiY() : dpiY;
    QByteArray rescaled;
    rescaled.reserve(metafile.size());
    const QString error = EnumEmfRecords(
        metafile, [&](const TEmfRecord& record) { return RescaleEnhMetaRecord(record, rescaled, x, y); });
    if (!error.isEmpty())
        return error;
    metafile = rescaled;
    return {};
}
