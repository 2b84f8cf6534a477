// Windows-metafile records are laid out by libuemf's record constructors;
// the shared record writer decides which records a recorded picture becomes.
#include "render/gfx/WmfWriter.h"

#include "model/Windows1252.h"
#include "render/gfx/GdiRecordWriter.h"
#include "render/gfx/Metafile.h"

#include <QPainterPath>
#include <QtEndian>
#include <algorithm>
#include <bit>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <uwmf.h>

// libuemf builds records in the machine's byte order and only swaps them when
// it writes a file itself; the bytes here are used as built.
static_assert(std::endian::native == std::endian::little);

namespace {

// The most points one polyline or polygon record holds: its count is a
// signed 16-bit number.
constexpr std::size_t MaxRecordPoints = INT16_MAX;

std::int16_t Clamp16(int v)
{
    return static_cast<std::int16_t>(std::clamp(v, INT16_MIN, INT16_MAX));
}

U_POINT16 Point16(const QPoint& p)
{
    return {Clamp16(p.x()), Clamp16(p.y())};
}

U_RECT16 Rect16(const TRect& r)
{
    return U_RECT16_set({Clamp16(r.Left), Clamp16(r.Top)}, {Clamp16(r.Right), Clamp16(r.Bottom)});
}

// The Bézier pieces as the polyline that follows them, as Qt flattens
// curves for drawing.
std::vector<QPoint> FlattenedBezier(std::span<const QPoint> points)
{
    QPainterPath path;
    path.moveTo(points.front());
    for (std::size_t i = 0; i + 3 < points.size(); i += 3)
        path.cubicTo(points[i + 1], points[i + 2], points[i + 3]);
    std::vector<QPoint> line;
    for (const QPolygonF& piece : path.toSubpathPolygons())
        for (const QPointF& p : piece) {
            const QPoint q = p.toPoint();
            if (line.empty() || line.back() != q)
                line.push_back(q);
        }
    // A curve that closes on its start still draws its last point.
    if (line.size() == 1)
        line.push_back(line.front());
    return line;
}

// The placeable header: the picture's box and resolution, checked by an XOR
// of its first ten words.
QByteArray PlaceableHeader(int width, int height, int unitsPerInch)
{
    QByteArray header(wmf_file::PlaceableSize, '\0');
    char* h = header.data();
    qToLittleEndian<quint32>(wmf_file::PlaceableKeyValue, h + wmf_file::PlaceableKey);
    const std::int16_t bounds[] = {0, 0, Clamp16(width), Clamp16(height)};
    for (int i = 0; i < 4; ++i)
        qToLittleEndian<qint16>(bounds[i], h + wmf_file::PlaceableBounds + 2 * i);
    qToLittleEndian<quint16>(static_cast<quint16>(std::clamp(unitsPerInch, 1, 65535)), h + wmf_file::PlaceableInch);
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= qFromLittleEndian<quint16>(h + 2 * i);
    qToLittleEndian<quint16>(checksum, h + wmf_file::PlaceableChecksum);
    return header;
}

class TWmfWriter final : public TGdiRecordWriter {
public:
    TWmfWriter(const TMetafile& metafile, int unitsPerInch)
        : TGdiRecordWriter(0)
        , metafile_(metafile)
        , unitsPerInch_(unitsPerInch)
    {
    }

    QByteArray Write()
    {
        bytes_ = PlaceableHeader(metafile_.Width, metafile_.Height, unitsPerInch_);
        char* header = U_WMRHEADER_set(nullptr, 0);
        bytes_.append(header, U_SIZE_WMRHEADER);
        std::free(header);
        WriteDefaults();
        WriteCalls(metafile_);
        Append(U_WMREOF_set());
        PatchHeader();
        return bytes_;
    }

private:
    // Takes a record that libuemf allocated; its first field is its size
    // in 16-bit words.
    void Append(char* record)
    {
        if (!record)
            return;
        const std::uint32_t words = qFromLittleEndian<quint32>(record);
        bytes_.append(record, static_cast<qsizetype>(words) * 2);
        std::free(record);
        largestRecord_ = std::max(largestRecord_, words);
    }

    // The picture's logical box, and the device context modes every call
    // relies on.
    void WriteDefaults()
    {
        Append(U_WMRSETWINDOWORG_set({0, 0}));
        Append(U_WMRSETWINDOWEXT_set({Clamp16(metafile_.Width), Clamp16(metafile_.Height)}));
        Append(U_WMRSETBKMODE_set(U_TRANSPARENT)); // hatches and text leave the background
        Append(U_WMRSETPOLYFILLMODE_set(U_ALTERNATE));
        Append(U_WMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT | U_TA_NOUPDATECP));
        Append(U_WMRSETSTRETCHBLTMODE_set(U_COLORONCOLOR));
    }

    void PatchHeader()
    {
        char* h = bytes_.data();
        const auto words = static_cast<quint32>((bytes_.size() - wmf_file::PlaceableSize) / 2);
        // The size is two 16-bit words, the low one first: little-endian.
        qToLittleEndian<quint32>(words, h + wmf_file::HeaderSizeWords);
        qToLittleEndian<quint16>(static_cast<quint16>(HandleTableSize()), h + wmf_file::HeaderObjects);
        qToLittleEndian<quint32>(largestRecord_, h + wmf_file::HeaderMaxRecord);
    }

    // --- records ----------------------------------------------------------

    // Pens that are not geometric draw solid when wide; geometric ones keep
    // their dashes and give their end cap.
    void PenRecord(std::uint32_t, const TPen& pen) override
    {
        std::uint32_t style = pen.IsCosmetic() || pen.Geometric || pen.Style == TPenStyle::Clear
                                  ? Code(PenStyleOf, pen.Style)
                                  : U_PS_SOLID;
        if (pen.Geometric && pen.Cap == TPenCap::Flat)
            style |= U_PS_ENDCAP_FLAT;
        const auto width = static_cast<std::uint16_t>(std::clamp(pen.Width, 0, INT16_MAX));
        Append(U_WMRCREATEPENINDIRECT_set(U_PEN_set(static_cast<std::uint16_t>(style), width, ColorRef(pen.Color))));
    }

    void BrushRecord(std::uint32_t, const TBrush& brush) override
    {
        if (brush.Style == TBrushStyle::Bitmap) {
            TDib dib(brush.Pattern);
            Append(U_WMRDIBCREATEPATTERNBRUSH_set(U_BS_DIBPATTERNPT, U_DIB_RGB_COLORS, &dib.Info, dib.Size(),
                                                  dib.Bits.data(), nullptr));
            return;
        }
        const std::uint16_t style = brush.Style == TBrushStyle::Clear ? U_BS_NULL
                                    : brush.IsHatch()                 ? U_BS_HATCHED
                                                                      : U_BS_SOLID;
        const auto hatch = static_cast<std::uint16_t>(Code(HatchOf, brush.Style));
        Append(U_WMRCREATEBRUSHINDIRECT_set(U_WLOGBRUSH_set(style, ColorRef(brush.Color), hatch)));
    }

    // Fonts go by their stored names, in the code page; a reader substitutes
    // what it lacks.
    void FontRecord(std::uint32_t, const TFont& font) override
    {
        QByteArray face = EncodeWindows1252(font.Name).left(U_LF_FACESIZE - 1);
        U_FONT* record = U_FONT_set(Clamp16(font.Height), Clamp16(std::max(0, font.Width)), 0, 0,
                                    font.Bold ? U_FW_BOLD : U_FW_NORMAL, font.Italic, font.Underline, 0,
                                    U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS, U_DEFAULT_QUALITY,
                                    U_DEFAULT_PITCH, face.data());
        Append(U_WMRCREATEFONTINDIRECT_set(record));
        std::free(record);
    }

    void SelectRecord(std::uint32_t handle) override
    {
        Append(U_WMRSELECTOBJECT_set(static_cast<std::uint16_t>(handle)));
    }
    void DeleteRecord(std::uint32_t handle) override
    {
        Append(U_WMRDELETEOBJECT_set(static_cast<std::uint16_t>(handle)));
    }
    void RopRecord(TPenMode mode) override
    {
        Append(U_WMRSETROP2_set(static_cast<std::uint16_t>(Code(RopOfMode, mode))));
    }
    void TextColorRecord(TColor color) override { Append(U_WMRSETTEXTCOLOR_set(ColorRef(color))); }
    void SaveDcRecord() override { Append(U_WMRSAVEDC_set()); }
    void RestoreDcRecord() override { Append(U_WMRRESTOREDC_set(-1)); }
    void IntersectClipRecord(const TRect& clip) override { Append(U_WMRINTERSECTCLIPRECT_set(Rect16(clip))); }
    void PixelRecord(QPoint at, TColor color) override { Append(U_WMRSETPIXEL_set(ColorRef(color), Point16(at))); }
    void RectangleRecord(const TRect& box) override { Append(U_WMRRECTANGLE_set(Rect16(box))); }

    void PolyRecord(TDrawOp op, std::span<const QPoint> points) override
    {
        if (op == TDrawOp::PolyBezier) {
            const std::vector<QPoint> line = FlattenedBezier(points);
            AppendPolyline(line);
            return;
        }
        if (op == TDrawOp::Polygon) {
            const std::vector<U_POINT16> corners = Points16(points.first(std::min(points.size(), MaxRecordPoints)));
            Append(U_WMRPOLYGON_set(static_cast<std::uint16_t>(corners.size()), corners.data()));
            return;
        }
        AppendPolyline(points);
    }

    std::vector<U_POINT16> Points16(std::span<const QPoint> points) const
    {
        std::vector<U_POINT16> converted(points.size());
        std::transform(points.begin(), points.end(), converted.begin(), Point16);
        return converted;
    }

    // Long lines go in pieces that share their joints.
    void AppendPolyline(std::span<const QPoint> points)
    {
        std::size_t start = 0;
        do {
            const std::size_t count = std::min(points.size() - start, MaxRecordPoints);
            const std::vector<U_POINT16> piece = Points16(points.subspan(start, count));
            Append(U_WMRPOLYLINE_set(static_cast<std::uint16_t>(piece.size()), piece.data()));
            start += count - 1;
        } while (start + 1 < points.size());
    }

    // Boxes keep the drawing call's own corners: right and bottom exclusive.
    void ShapeRecord(const TDrawCommand& c) override
    {
        const U_RECT16 box = Rect16(c.Box);
        switch (c.Op) {
        case TDrawOp::Ellipse:
            Append(U_WMRELLIPSE_set(box));
            return;
        case TDrawOp::Rectangle:
            Append(U_WMRRECTANGLE_set(box));
            return;
        case TDrawOp::RoundRect:
            Append(U_WMRROUNDRECT_set(Clamp16(c.Corner.width()), Clamp16(c.Corner.height()), box));
            return;
        case TDrawOp::Pie:
            Append(U_WMRPIE_set(Point16(c.Points[0]), Point16(c.Points[1]), box));
            return;
        case TDrawOp::Chord:
            Append(U_WMRCHORD_set(Point16(c.Points[0]), Point16(c.Points[1]), box));
            return;
        case TDrawOp::Arc:
            Append(U_WMRARC_set(Point16(c.Points[0]), Point16(c.Points[1]), box));
            return;
        default:
            return;
        }
    }

    // One byte per character of the text, each with its advance.
    void TextRecord(const TDrawCommand& c, const TFont& font) override
    {
        if (c.Text.isEmpty())
            return;
        const TTextAdvances advances = TextAdvances(c.Text, font);
        const QByteArray text = EncodeWindows1252(c.Text).left(INT16_MAX);
        std::vector<std::int16_t> dx(static_cast<std::size_t>(text.size()));
        for (std::size_t i = 0; i < dx.size(); ++i)
            dx[i] = Clamp16(advances.Advances[i]);
        Append(U_WMREXTTEXTOUT_set(Point16(c.At), static_cast<std::int16_t>(text.size()), 0, text.constData(),
                                   dx.data(), U_RECT16{}));
    }

    void ImageRecord(const TRect& box, const QImage& image, std::uint32_t rop) override
    {
        TDib dib(image);
        Append(U_WMRSTRETCHDIB_set(Point16({box.Left, box.Top}), Point16({box.Width(), box.Height()}), {0, 0},
                                   Point16({image.width(), image.height()}), U_DIB_RGB_COLORS, rop, &dib.Info,
                                   dib.Size(), dib.Bits.data()));
    }

    const TMetafile& metafile_;
    int unitsPerInch_;
    QByteArray bytes_;
    std::uint32_t largestRecord_ = U_SIZE_WMRHEADER / 2;
};

} // namespace

QByteArray WriteWmf(const TMetafile& metafile, int unitsPerInch)
{
    return TWmfWriter(metafile, unitsPerInch).Write();
}
