#include "render/gfx/EmfRecords.h"
#include "render/gfx/EmfWriter.h"
#include "render/gfx/Metafile.h"
#include "render/gfx/MetafileResolution.h"

#include <QtEndian>
#include <gtest/gtest.h>
#include <initializer_list>

namespace {

void Put(QByteArray& b, int offset, std::int32_t v)
{
    qToLittleEndian<qint32>(v, b.data() + offset);
}

std::int32_t Get(const QByteArray& b, int offset)
{
    return qFromLittleEndian<qint32>(b.constData() + offset);
}

struct THeaderFields {
    int Size = 108;
    std::int32_t Frame[4] = {0, 0, 10160, 7620};
    std::int32_t Device[2] = {1000, 1000};
    std::int32_t Millimeters[2] = {254, 254};
};

// A header laid out field by field, its unused bytes filled with 0xAB so
// that a stray write shows; then two drawing records and the end of file.
QByteArray MetafileWith(const THeaderFields& f)
{
    QByteArray b(f.Size, '\xAB');
    Put(b, 0, 1);
    Put(b, 4, f.Size);
    const std::int32_t bounds[4] = {0, 0, 399, 299};
    for (int i = 0; i < 4; ++i) {
        Put(b, 8 + 4 * i, bounds[i]);
        Put(b, 24 + 4 * i, f.Frame[i]);
    }
    Put(b, 40, 0x464D4520);
    Put(b, 60, 0); // no description
    Put(b, 64, 0);
    Put(b, 72, f.Device[0]);
    Put(b, 76, f.Device[1]);
    Put(b, 80, f.Millimeters[0]);
    Put(b, 84, f.Millimeters[1]);
    if (f.Size >= 100) {
        Put(b, 88, 0); // no pixel format
        Put(b, 92, 0);
    }
    const auto record = [&](std::initializer_list<std::int32_t> fields) {
        QByteArray r(static_cast<qsizetype>(fields.size()) * 4, '\0');
        int at = 0;
        for (const std::int32_t v : fields) {
            Put(r, at, v);
            at += 4;
        }
        b += r;
    };
    record({20, 12, 9}); // SETROP2 mask
    record({43, 24, 1, 2, 3, 4}); // RECTANGLE
    record({14, 20, 0, 16, 20}); // EOF
    Put(b, 48, static_cast<std::int32_t>(b.size()));
    Put(b, 52, 4);
    return b;
}

QByteArray Rescaled(QByteArray b, int dpiX, int dpiY)
{
    const QString error = SetMetafileResolution(b, dpiX, dpiY);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return b;
}

TEST(MetafileResolutionTest, HeaderGetsTheFrameOfItsPixelsAtTheResolution)
{
    const QByteArray before = MetafileWith({});
    const QByteArray after = Rescaled(before, 96, 96);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(Get(after, 32), 10583); // 400 px: round(400 × 2540 / 96)
    EXPECT_EQ(Get(after, 36), 7938); // 300 px: 7937.5 to even
    EXPECT_EQ(Get(after, 80), 265);
    EXPECT_EQ(Get(after, 84), 265);
    EXPECT_EQ(Get(after, 100), 264583);
    EXPECT_EQ(Get(after, 104), 264583);
    // Everything else, bounds and the other records included, is as it was.
    QByteArray expected = after;
    for (const int offset : {32, 36, 80, 84, 100, 104})
        Put(expected, offset, Get(before, offset));
    EXPECT_EQ(expected, before);
}

TEST(MetafileResolutionTest, MicrometresAreWrittenOnlyWhereTheHeaderHasThem)
{
    // A 100-byte header has none: the next record's first bytes stay.
    THeaderFields shortHeader;
    shortHeader.Size = 100;
    const QByteArray before = MetafileWith(shortHeader);
    const QByteArray after = Rescaled(before, 96, 96);
    EXPECT_EQ(Get(after, 32), 10583);
    EXPECT_EQ(after.mid(100), before.mid(100));

    // A description placed at byte 100 of a longer header keeps it.
    QByteArray described = MetafileWith({});
    Put(described, 60, 4);
    Put(described, 64, 100);
    const QByteArray rescaled = Rescaled(described, 96, 96);
    EXPECT_EQ(rescaled.mid(100, 8), described.mid(100, 8));
    EXPECT_EQ(Get(rescaled, 80), 265);

    // So does a pixel format there; one placed after the header does not.
    QByteArray withFormat = MetafileWith({});
    Put(withFormat, 88, 40);
    Put(withFormat, 92, 104);
    EXPECT_EQ(Rescaled(withFormat, 96, 96).mid(100, 8), withFormat.mid(100, 8));
    Put(withFormat, 92, 108);
    EXPECT_EQ(Get(Rescaled(withFormat, 96, 96), 100), 264583);
}

TEST(MetafileResolutionTest, DivisionsTruncateAndRoundingGoesToEven)
{
    const struct {
        std::int32_t FrameRight, Device, Millimeters;
        int Dpi;
        std::int32_t Right, NewMillimeters;
    } cases[] = {
        // 10583 × 1920 / 508 = 39998.7 truncates to 39998, / 100 to 399 px: round(10556.875).
        {10583, 1920, 508, 96, 10557, 508},
        // 3 px at 40 per inch: 190.5 goes down to the even 190; 1000 px: 635 mm.
        {77, 1000, 254, 40, 190, 635},
        // 1 px at 40 per inch: 63.5 goes up to the even 64.
        {26, 1000, 254, 40, 64, 635},
        // Reference sizes: 1000 × 25.4 / 80 = 317.5 goes to 318.
        {25400, 1000, 254, 80, 31750, 318},
    };
    for (const auto& k : cases) {
        THeaderFields f;
        f.Frame[2] = k.FrameRight;
        f.Device[0] = k.Device;
        f.Millimeters[0] = k.Millimeters;
        const QByteArray after = Rescaled(MetafileWith(f), k.Dpi, 96);
        EXPECT_EQ(Get(after, 32), k.Right) << k.FrameRight << " at " << k.Dpi;
        EXPECT_EQ(Get(after, 80), k.NewMillimeters) << k.FrameRight << " at " << k.Dpi;
    }
}

TEST(MetafileResolutionTest, HeaderWithoutMillimetresIsLeftAsItIs)
{
    for (const int axis : {0, 1}) {
        THeaderFields f;
        f.Millimeters[axis] = 0;
        const QByteArray before = MetafileWith(f);
        EXPECT_EQ(Rescaled(before, 96, 96), before) << "axis " << axis;
    }
}

TEST(MetafileResolutionTest, ZeroMeansTheScreenResolution)
{
    EXPECT_GT(ScreenDpiX(), 0);
    EXPECT_GT(ScreenDpiY(), 0);
    const QByteArray before = MetafileWith({});
    EXPECT_EQ(Rescaled(before, 0, 0), Rescaled(before, ScreenDpiX(), ScreenDpiY()));
    EXPECT_EQ(Rescaled(before, 0, 300), Rescaled(before, ScreenDpiX(), 300));
}

TEST(MetafileResolutionTest, DamagedBytesAndNegativeResolutionsAreRefusedUntouched)
{
    QByteArray cut = MetafileWith({});
    cut.chop(4);
    QByteArray notEmf = MetafileWith({});
    Put(notEmf, 40, 0);
    for (QByteArray bytes : {cut, notEmf, QByteArray("garbage")}) {
        const QByteArray before = bytes;
        EXPECT_FALSE(SetMetafileResolution(bytes, 96, 96).isEmpty());
        EXPECT_EQ(bytes, before);
    }
    QByteArray good = MetafileWith({});
    const QByteArray before = good;
    EXPECT_FALSE(SetMetafileResolution(good, -96, 96).isEmpty());
    EXPECT_EQ(good, before);
}

TEST(MetafileResolutionTest, WrittenPictureKeepsItsPixelSizeAtAnyResolution)
{
    TMetafile picture;
    picture.Width = 400;
    picture.Height = 300;
    TCanvas c = MakeMetafileCanvas(picture);
    c.Rectangle(0, 0, 400, 300);
    const QByteArray emf = WriteEmf(picture);
    QByteArray at96 = Rescaled(emf, 96, 96);
    EXPECT_EQ(Get(at96, 32), 10583);
    EXPECT_EQ(Get(at96, 36), 7938);
    QByteArray at384 = Rescaled(emf, 384, 384); // four times the pixels per inch: a quarter of the size
    EXPECT_EQ(Get(at384, 32), 2646);
    EXPECT_EQ(Get(at384, 36), 1984); // 1984.375
    // Only the header changed.
    const int headerSize = Get(emf, 4);
    EXPECT_EQ(at384.mid(headerSize), emf.mid(headerSize));
    EXPECT_EQ(at384.mid(0, 32), emf.mid(0, 32));
}

} // namespace
