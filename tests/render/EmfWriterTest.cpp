#include "render/gfx/Canvas.h"
#include "render/gfx/EmfRecords.h"
#include "render/gfx/EmfWriter.h"
#include "render/gfx/Metafile.h"
#include "render/gfx/TextMetrics.h"
#include "GoldenFiles.h"
#include "MetafileSamples.h"
#include "SvgConverters.h"

#include <QStringList>
#include <QtEndian>
#include <gtest/gtest.h>
#include <map>
#include <uemf.h>
#include <uemf_safe.h>
#include <vector>

namespace {

using namespace metafile_samples;

QByteArray SampleEmf()
{
    FakeTextMetrics metrics;
    ScopedTextMetrics scoped(metrics);
    return WriteEmf(SampleScene());
}

std::vector<TEmfRecord> Records(const QByteArray& emf)
{
    std::vector<TEmfRecord> records;
    TEmfRecordIterator it(emf);
    while (it.Next())
        records.push_back(it.Record());
    EXPECT_TRUE(it.Error().isEmpty()) << it.Error().toStdString();
    return records;
}
// The records point into the bytes: a temporary would leave them dangling.
std::vector<TEmfRecord> Records(QByteArray&&) = delete;

// Plays the object records back as a device context would, and fails on
// what a player would refuse: a handle created twice, a deleted or unknown
// object selected, an object deleted while selected or kept by SAVEDC, an
// object left at the end. Records the pen colour and raster operation of
// every line drawn.
struct TObjectPlayback {
    enum Kind { Pen, Brush, Font };
    std::map<std::uint32_t, std::pair<Kind, std::uint32_t>> Live; // kind and colour
    std::array<std::uint32_t, 3> Selected{};
    std::vector<std::array<std::uint32_t, 3>> Saved;
    std::uint32_t Rop = U_R2_COPYPEN;
    std::vector<std::uint32_t> RopStack;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> Lines; // pen colour, raster operation
    QStringList Faults;

    void Create(std::uint32_t handle, Kind kind, std::uint32_t color)
    {
        if (Live.count(handle))
            Faults << QStringLiteral("handle %1 created twice").arg(handle);
        Live[handle] = {kind, color};
    }
    void Select(std::uint32_t handle)
    {
        if (handle & U_STOCK_OBJECT) {
            const std::uint32_t stock = handle;
            Selected[stock == U_BLACK_PEN ? Pen : stock == U_WHITE_BRUSH ? Brush : Font] = 0;
            return;
        }
        const auto it = Live.find(handle);
        if (it == Live.end()) {
            Faults << QStringLiteral("handle %1 selected but not alive").arg(handle);
            return;
        }
        Selected[it->second.first] = handle;
    }
    void Delete(std::uint32_t handle)
    {
        const bool selected = std::find(Selected.begin(), Selected.end(), handle) != Selected.end();
        const bool saved = std::any_of(Saved.begin(), Saved.end(),
                                       [&](const auto& s) { return std::find(s.begin(), s.end(), handle) != s.end(); });
        if (!Live.count(handle) || selected || saved)
            Faults << QStringLiteral("handle %1 deleted while dead, selected or saved").arg(handle);
        Live.erase(handle);
    }

    void Play(const TEmfRecord& r)
    {
        switch (r.Type) {
        case U_EMR_CREATEPEN:
            Create(r.U32(8), Pen, r.U32(24));
            break;
        case U_EMR_EXTCREATEPEN:
            Create(r.U32(8), Pen, r.U32(40));
            break;
        case U_EMR_CREATEBRUSHINDIRECT:
        case U_EMR_CREATEDIBPATTERNBRUSHPT:
            Create(r.U32(8), Brush, 0);
            break;
        case U_EMR_EXTCREATEFONTINDIRECTW:
            Create(r.U32(8), Font, 0);
            break;
        case U_EMR_SELECTOBJECT:
            Select(r.U32(8));
            break;
        case U_EMR_DELETEOBJECT:
            Delete(r.U32(8));
            break;
        case U_EMR_SAVEDC:
            Saved.push_back(Selected);
            RopStack.push_back(Rop);
            break;
        case U_EMR_RESTOREDC:
            Selected = Saved.back();
            Saved.pop_back();
            Rop = RopStack.back();
            RopStack.pop_back();
            break;
        case U_EMR_SETROP2:
            Rop = r.U32(8);
            break;
        case U_EMR_POLYLINE16:
        case U_EMR_POLYLINE:
            Lines.push_back({Live.count(Selected[Pen]) ? Live[Selected[Pen]].second : 0xFFFFFFFFu, Rop});
            break;
        case U_EMR_EOF:
            if (!Live.empty())
                Faults << QStringLiteral("%1 objects left at the end").arg(Live.size());
            break;
        default:
            break;
        }
    }
};

TEST(EmfWriterTest, RecordDumpOfASceneMatchesItsGolden)
{
    EXPECT_TRUE(MatchesTextGolden(DumpEmfRecords(SampleEmf()), QStringLiteral("emf/scene.txt")));
}

TEST(EmfWriterTest, FileBeginsWithTheHeaderAndItsCountsAreExact)
{
    const QByteArray emf = SampleEmf();
    const std::vector<TEmfRecord> records = Records(emf);
    ASSERT_GE(records.size(), 3u);
    // Raw fields where the published layout puts them.
    const TEmfRecord& header = records.front();
    EXPECT_EQ(header.U32(0), 1u);
    EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));
    EXPECT_EQ(header.U32(48), static_cast<std::uint32_t>(emf.size()));
    EXPECT_EQ(header.U32(52), records.size());
    EXPECT_EQ(records.back().Type, 14u);
    EXPECT_EQ(records.back().Bytes.data() + records.back().Size(), emf.constData() + emf.size());
    // Bounds in pixels; frame in 0.01 mm at 96 per inch (200 px = 5291.67, 150 px = 3968.75).
    EXPECT_EQ(header.I32(16), 200);
    EXPECT_EQ(header.I32(20), 150);
    EXPECT_EQ(header.I32(32), 5292);
    EXPECT_EQ(header.I32(36), 3969);
    // The reference device is exactly 96 per inch.
    EXPECT_EQ(header.I32(72) * 254, header.I32(80) * 960);
    EXPECT_EQ(header.I32(76) * 254, header.I32(84) * 960);
    // Every object handle fits the table the header declares.
    std::uint32_t highest = 0;
    for (const TEmfRecord& r : records)
        if (r.Type == U_EMR_CREATEPEN || r.Type == U_EMR_EXTCREATEPEN || r.Type == U_EMR_CREATEBRUSHINDIRECT ||
            r.Type == U_EMR_CREATEDIBPATTERNBRUSHPT || r.Type == U_EMR_EXTCREATEFONTINDIRECTW)
            highest = std::max(highest, r.U32(8));
    EXPECT_EQ(header.U16(56), highest + 1);
    // Each record is sound as libuemf's reader checks it.
    for (const TEmfRecord& r : records)
        EXPECT_NE(U_emf_record_safe(r.Bytes.data()), 0) << EmfRecordName(r.Type).toStdString();
}

TEST(EmfWriterTest, ObjectsAreCreatedSelectedAndDeletedSoundly)
{
    TObjectPlayback playback;
    const QByteArray emf = SampleEmf();
    for (const TEmfRecord& r : Records(emf))
        playback.Play(r);
    EXPECT_TRUE(playback.Faults.empty()) << playback.Faults.join(u'\n').toStdString();
}

TEST(EmfWriterTest, PenModesBecomeRasterOperationsAndSurviveClips)
{
    TMetafile picture;
    picture.Width = 50;
    picture.Height = 50;
    TCanvas c = MakeMetafileCanvas(picture);
    const QPoint line[] = {{0, 0}, {9, 9}};
    const struct {
        TPenMode Mode;
        TColor Color;
        bool Clipped;
        std::uint32_t Rop;
    } cases[] = {
        {TPenMode::Mask, Red, false, 9},   {TPenMode::Xor, Red, false, 7},     {TPenMode::Merge, Green, true, 15},
        {TPenMode::Copy, Green, true, 13}, {TPenMode::Copy, Green, false, 13}, {TPenMode::Mask, Blue, true, 9},
        {TPenMode::Mask, Blue, false, 9},
    };
    for (const auto& k : cases) {
        c.Pen = TPen{k.Color, 1, TPenStyle::Solid, k.Mode};
        if (k.Clipped)
            c.SetClipRect({0, 0, 5, 5});
        else
            c.ClearClipRect();
        c.Polyline(line);
    }
    TObjectPlayback playback;
    const QByteArray emf = WriteEmf(picture);
    for (const TEmfRecord& r : Records(emf))
        playback.Play(r);
    EXPECT_TRUE(playback.Faults.empty()) << playback.Faults.join(u'\n').toStdString();
    ASSERT_EQ(playback.Lines.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(playback.Lines[i].first, cases[i].Color) << "line " << i;
        EXPECT_EQ(playback.Lines[i].second, cases[i].Rop) << "line " << i;
    }
}

TEST(EmfWriterTest, IteratorRefusesDamagedBytes)
{
    const QByteArray good = SampleEmf();
    const auto withU32 = [&](int offset, std::uint32_t value) {
        QByteArray b = good;
        qToLittleEndian<quint32>(value, b.data() + offset);
        return b;
    };
    const int second = static_cast<int>(qFromLittleEndian<quint32>(good.constData() + 4)); // offset of record 2
    const struct {
        const char* What;
        QByteArray Bytes;
        bool Sound;
    } cases[] = {
        {"whole", good, true},
        {"bytes after the end-of-file record", good + QByteArray(12, 'x'), true},
        {"empty", QByteArray(), false},
        {"not a header first", withU32(0, 2), false},
        {"no signature", withU32(40, 0), false},
        {"size not a multiple of 4", withU32(second + 4, 10), false},
        {"size below 8", withU32(second + 4, 4), false},
        {"record past the end", withU32(second + 4, 0x7FFFFFF0), false},
        {"no end-of-file record", good.left(good.size() - 20), false},
        {"cut inside a record", good.left(good.size() - 7), false},
    };
    for (const auto& k : cases) {
        int count = 0;
        const QString error = EnumEmfRecords(k.Bytes, [&](const TEmfRecord&) { return ++count; });
        EXPECT_EQ(error.isEmpty(), k.Sound) << k.What << ": " << error.toStdString();
        if (k.Sound) {
            EXPECT_EQ(static_cast<std::uint32_t>(count), qFromLittleEndian<quint32>(good.constData() + 52)) << k.What;
        }
    }
    // A visitor that returns 0 stops the walk without an error.
    int visited = 0;
    EXPECT_TRUE(EnumEmfRecords(good, [&](const TEmfRecord&) { return ++visited < 3 ? 1 : 0; }).isEmpty());
    EXPECT_EQ(visited, 3);
}

TEST(EmfWriterTest, Emf2svgConvertsTheFile)
{
    const TSvgConversion svg = ConvertEmfToSvg(SampleEmf());
    if (!svg.Missing.isEmpty())
        GTEST_SKIP() << "run scripts/install-deps.sh (Debian package " << svg.Missing.toStdString() << ")";
    EXPECT_TRUE(svg.Converted) << svg.Error.toStdString();
}

} // namespace
