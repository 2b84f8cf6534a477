// The placeable Windows metafile: its headers, its records and their
// objects read back field by field, and the whole file read by libwmf's
// wmf2svg.
#include "render/gfx/Canvas.h"
#include "render/gfx/Metafile.h"
#include "render/gfx/TextMetrics.h"
#include "render/gfx/WmfWriter.h"
#include "MetafileSamples.h"
#include "SvgConverters.h"

#include <QStringList>
#include <QtEndian>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

using namespace metafile_samples;

// Record functions the tests look for.
enum : std::uint16_t {
    MetaEof = 0x0000,
    MetaSaveDc = 0x001E,
    MetaRestoreDc = 0x0127,
    MetaSelectObject = 0x012D,
    MetaDeleteObject = 0x01F0,
    MetaCreatePen = 0x02FA,
    MetaCreateFont = 0x02FB,
    MetaCreateBrush = 0x02FC,
    MetaDibCreatePatternBrush = 0x0142,
    MetaPolygon = 0x0324,
    MetaPolyline = 0x0325,
    MetaExtTextOut = 0x0A32,
};

struct TWmfRecord {
    std::uint16_t Function = 0;
    QByteArrayView Bytes; // the whole record

    std::uint16_t U16(qsizetype offset) const { return qFromLittleEndian<quint16>(Bytes.data() + offset); }
    std::int16_t I16(qsizetype offset) const { return qFromLittleEndian<qint16>(Bytes.data() + offset); }
    // The points of a polyline or polygon.
    std::vector<QPoint> Points() const
    {
        std::vector<QPoint> points(U16(6));
        for (std::size_t i = 0; i < points.size(); ++i)
            points[i] = {I16(8 + 4 * static_cast<qsizetype>(i)), I16(10 + 4 * static_cast<qsizetype>(i))};
        return points;
    }
};

// The records after the headers; fails the test when one is cut or the
// last is not the end-of-file record.
std::vector<TWmfRecord> Records(const QByteArray& wmf)
{
    std::vector<TWmfRecord> records;
    qsizetype at = wmf_file::FirstRecord;
    while (at + 6 <= wmf.size()) {
        const qsizetype size = 2 * static_cast<qsizetype>(qFromLittleEndian<quint32>(wmf.constData() + at));
        EXPECT_GE(size, 6) << "record at " << at;
        EXPECT_LE(at + size, wmf.size()) << "record at " << at;
        if (size < 6 || at + size > wmf.size())
            break;
        records.push_back({qFromLittleEndian<quint16>(wmf.constData() + at + 4), QByteArrayView(wmf).sliced(at, size)});
        at += size;
    }
    EXPECT_EQ(at, wmf.size()) << "bytes after the last record";
    EXPECT_FALSE(records.empty());
    if (!records.empty()) {
        EXPECT_EQ(records.back().Function, MetaEof);
    }
    return records;
}
std::vector<TWmfRecord> Records(QByteArray&&) = delete;

QByteArray SampleWmf(int unitsPerInch = 96)
{
    FakeTextMetrics metrics;
    ScopedTextMetrics scoped(metrics);
    return WriteWmf(SampleScene(), unitsPerInch);
}

std::uint16_t U16At(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}
std::uint32_t U32At(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

TEST(WmfWriterTest, TheHeadersDescribeThePictureExactly)
{
    const struct {
        int Width, Height, UnitsPerInch;
    } cases[] = {{200, 150, 96}, {6404, 4804, 96}, {801, 601, 120}, {3, 2, 384}};
    for (const auto& c : cases) {
        TMetafile picture;
        picture.Width = c.Width;
        picture.Height = c.Height;
        TCanvas canvas = MakeMetafileCanvas(picture);
        const QPoint corners[] = {{0, 0}, {c.Width, c.Height}};
        canvas.Polyline(corners);
        const QByteArray wmf = WriteWmf(picture, c.UnitsPerInch);
        SCOPED_TRACE(testing::Message() << c.Width << "x" << c.Height << " at " << c.UnitsPerInch);
        EXPECT_EQ(U32At(wmf, wmf_file::PlaceableKey), 0x9AC6CDD7u);
        EXPECT_EQ(U16At(wmf, wmf_file::PlaceableBounds), 0);
        EXPECT_EQ(U16At(wmf, wmf_file::PlaceableBounds + 2), 0);
        EXPECT_EQ(U16At(wmf, wmf_file::PlaceableBounds + 4), c.Width);
        EXPECT_EQ(U16At(wmf, wmf_file::PlaceableBounds + 6), c.Height);
        EXPECT_EQ(U16At(wmf, wmf_file::PlaceableInch), c.UnitsPerInch);
        std::uint16_t checksum = 0;
        for (int i = 0; i < 10; ++i)
            checksum ^= U16At(wmf, 2 * i);
        EXPECT_EQ(U16At(wmf, wmf_file::PlaceableChecksum), checksum);
        // The metafile header: on disk, 9 words long, version 3.
        EXPECT_EQ(U16At(wmf, wmf_file::PlaceableSize + 2), 9);
        EXPECT_EQ(U16At(wmf, wmf_file::PlaceableSize + 4), 0x0300);
        EXPECT_EQ(U32At(wmf, wmf_file::HeaderSizeWords) * 2, static_cast<std::uint32_t>(wmf.size() - 22));
        std::uint32_t largest = 9;
        for (const TWmfRecord& r : Records(wmf))
            largest = std::max(largest, static_cast<std::uint32_t>(r.Bytes.size() / 2));
        EXPECT_EQ(U32At(wmf, wmf_file::HeaderMaxRecord), largest);
        // The line's far corner lies on the picture's.
        for (const TWmfRecord& r : Records(wmf))
            if (r.Function == MetaPolyline) {
                EXPECT_EQ(r.Points().back(), QPoint(c.Width, c.Height));
            }
    }
}

// Plays the object records as a Windows metafile player does: each object
// takes the lowest free slot of the table. Fails on a selection of an empty
// slot or of another object than the one just made, on a deletion of a
// selected or saved object, and on a table larger than the header says.
TEST(WmfWriterTest, ObjectsTakeTheLowestFreeSlotAndAreSelectedSoundly)
{
    const QByteArray wmf = SampleWmf();
    std::map<std::uint16_t, std::uint16_t> live; // slot, kind of record
    std::map<std::uint16_t, std::uint16_t> selected; // kind, slot
    std::vector<std::map<std::uint16_t, std::uint16_t>> saved;
    std::optional<std::uint16_t> justMade;
    std::uint16_t highest = 0;
    QStringList faults;
    for (const TWmfRecord& r : Records(wmf)) {
        switch (r.Function) {
        case MetaCreatePen:
        case MetaCreateBrush:
        case MetaDibCreatePatternBrush:
        case MetaCreateFont: {
            std::uint16_t slot = 0;
            while (live.count(slot))
                ++slot;
            const std::uint16_t kind =
                r.Function == MetaDibCreatePatternBrush ? std::uint16_t{MetaCreateBrush} : r.Function;
            live[slot] = kind;
            highest = std::max(highest, slot);
            justMade = slot;
            break;
        }
        case MetaSelectObject: {
            const std::uint16_t slot = r.U16(6);
            if (!live.count(slot) || (justMade && *justMade != slot))
                faults << QStringLiteral("slot %1 selected").arg(slot);
            else
                selected[live[slot]] = slot;
            justMade.reset();
            break;
        }
        case MetaDeleteObject: {
            const std::uint16_t slot = r.U16(6);
            const auto holds = [&](const auto& state) {
                return std::any_of(state.begin(), state.end(), [&](const auto& e) { return e.second == slot; });
            };
            if (!live.count(slot) || holds(selected) ||
                std::any_of(saved.begin(), saved.end(), [&](const auto& s) { return holds(s); }))
                faults << QStringLiteral("slot %1 deleted while dead, selected or saved").arg(slot);
            live.erase(slot);
            break;
        }
        case MetaSaveDc:
            saved.push_back(selected);
            break;
        case MetaRestoreDc:
            selected = saved.back();
            saved.pop_back();
            break;
        default:
            break;
        }
    }
    EXPECT_TRUE(faults.empty()) << faults.join(u'\n').toStdString();
    EXPECT_TRUE(saved.empty());
    EXPECT_EQ(U16At(wmf, wmf_file::HeaderObjects), highest + 1);
}

TEST(WmfWriterTest, TheOlderFormatGetsWhatItLacksMadeOfWhatItHas)
{
    const QByteArray wmf = SampleWmf();
    std::vector<std::vector<QPoint>> lines;
    QByteArrayList texts;
    for (const TWmfRecord& r : Records(wmf)) {
        EXPECT_NE(r.Function & 0xFF, 0x38) << "a polypolygon or curve record the writer never makes";
        if (r.Function == MetaPolyline)
            lines.push_back(r.Points());
        if (r.Function == MetaExtTextOut)
            texts << r.Bytes.sliced(14, r.I16(10)).toByteArray();
    }
    // The Bézier (0,0) (10,20) (20,20) (30,0) as a polyline from its start to
    // its end, through its middle (15, 15).
    const auto bezier = std::find_if(lines.begin(), lines.end(), [](const std::vector<QPoint>& l) {
        return l.size() > 4 && l.front() == QPoint(0, 0) && l.back() == QPoint(30, 0);
    });
    ASSERT_NE(bezier, lines.end());
    EXPECT_TRUE(std::any_of(bezier->begin(), bezier->end(), [](QPoint p) { return p == QPoint(15, 15); }));
    // The line to x = 40000 stops at the 16-bit bound.
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::vector<QPoint>& l) {
        return l.size() == 2 && l.back() == QPoint(32767, 5);
    }));
    // Text in Latin-1: "x²" is two bytes.
    EXPECT_EQ(texts, (QByteArrayList{QByteArray("x\xB2"), QByteArray("ab")}));
}

TEST(WmfWriterTest, LongLinesGoInPiecesThatShareTheirJoints)
{
    TMetafile picture;
    picture.Width = 1000;
    picture.Height = 1000;
    TCanvas canvas = MakeMetafileCanvas(picture);
    std::vector<QPoint> zigzag;
    for (int i = 0; i < 70000; ++i)
        zigzag.emplace_back(i % 1000, i % 2);
    canvas.Polyline(zigzag);
    std::vector<QPoint> joined;
    const QByteArray wmf = WriteWmf(picture, 96);
    for (const TWmfRecord& r : Records(wmf))
        if (r.Function == MetaPolyline) {
            const std::vector<QPoint> piece = r.Points();
            if (!joined.empty()) {
                EXPECT_EQ(piece.front(), joined.back());
                joined.pop_back();
            }
            joined.insert(joined.end(), piece.begin(), piece.end());
        }
    EXPECT_EQ(joined, zigzag);
}

TEST(WmfWriterTest, Wmf2svgReadsTheFile)
{
    const TSvgConversion svg = ConvertWmfToSvg(SampleWmf());
    if (!svg.Missing.isEmpty())
        GTEST_SKIP() << "run scripts/install-deps.sh (Debian package " << svg.Missing.toStdString() << ")";
    ASSERT_TRUE(svg.Converted) << svg.Error.toStdString();
    // The lines, the shapes and the text came through.
    EXPECT_GE(svg.Svg.count("<polyline"), 8) << svg.Svg.left(2000).toStdString();
    EXPECT_TRUE(svg.Svg.contains("<ellipse"));
    EXPECT_TRUE(svg.Svg.contains("<polygon"));
    EXPECT_TRUE(svg.Svg.contains("<text"));
}

} // namespace
