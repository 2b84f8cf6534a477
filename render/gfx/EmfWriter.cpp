// Enhanced-metafile records are laid out by libuemf's record constructors;
// this file decides which records a recorded picture becomes.
#include "render/gfx/EmfWriter.h"

#include "render/gfx/EmfRecords.h"
#include "render/gfx/GdiRecordWriter.h"
#include "render/gfx/Metafile.h"
#include "render/gfx/TextMetrics.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <span>
#include <uemf.h>
#include <vector>

// libuemf builds records in the machine's byte order and only swaps them when
// it writes a file itself; the bytes here are used as built.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr int PixelsPerInch = 96;
constexpr int HundredthsOfMmPerInch = 2540;

// a × b / c rounded up, for positive c.
std::int32_t CeilMulDiv(std::int64_t a, std::int64_t b, std::int64_t c)
{
    const std::int64_t p = a * b;
    const std::int64_t q = p / c;
    return static_cast<std::int32_t>(q * c < p ? q + 1 : q);
}

U_RECTL RectL(const TRect& r)
{
    return {r.Left, r.Top, r.Right, r.Bottom};
}

U_POINTL PointL(const QPoint& p)
{
    return {p.x(), p.y()};
}

// The inclusive bounds of points.
U_RECTL PointBounds(std::span<const QPoint> points)
{
    U_RECTL r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const QPoint& p : points) {
        r.left = std::min<std::int32_t>(r.left, p.x());
        r.top = std::min<std::int32_t>(r.top, p.y());
        r.right = std::max<std::int32_t>(r.right, p.x());
        r.bottom = std::max<std::int32_t>(r.bottom, p.y());
    }
    return r;
}

bool Fits16(const U_RECTL& r)
{
    return r.left >= INT16_MIN && r.top >= INT16_MIN && r.right <= INT16_MAX && r.bottom <= INT16_MAX;
}

char* EmfPenRecord(std::uint32_t handle, const TPen& pen)
{
    if (pen.Geometric && pen.Style != TPenStyle::Clear) {
        const std::uint32_t style = U_PS_GEOMETRIC | Code(PenStyleOf, pen.Style) |
                                    (pen.Cap == TPenCap::Flat ? U_PS_ENDCAP_FLAT : U_PS_ENDCAP_ROUND) | U_PS_JOIN_ROUND;
        PU_EXTLOGPEN elp = extlogpen_set(style, std::max(1, pen.Width), U_BS_SOLID, ColorRef(pen.Color), 0, 0, nullptr);
        char* record = U_EMREXTCREATEPEN_set(handle, nullptr, 0, nullptr, elp);
        std::free(elp);
        return record;
    }
    // Wide pens that are not geometric draw solid.
    const std::uint32_t style =
        pen.IsCosmetic() || pen.Style == TPenStyle::Clear ? Code(PenStyleOf, pen.Style) : U_PS_SOLID;
    const U_POINT width{std::max(0, pen.Width), 0};
    return U_EMRCREATEPEN_set(handle, logpen_set(style, width, ColorRef(pen.Color)));
}

char* EmfBrushRecord(std::uint32_t handle, const TBrush& brush)
{
    if (brush.Style == TBrushStyle::Bitmap) {
        TDib dib(brush.Pattern);
        return U_EMRCREATEDIBPATTERNBRUSHPT_set(handle, U_DIB_RGB_COLORS, &dib.Info, dib.Size(), dib.Bits.data());
    }
    const std::uint32_t style = brush.Style == TBrushStyle::Clear ? U_BS_NULL
                                : brush.IsHatch()                 ? U_BS_HATCHED
                                                                  : U_BS_SOLID;
    const auto hatch = static_cast<std::int32_t>(Code(HatchOf, brush.Style));
    return U_EMRCREATEBRUSHINDIRECT_set(handle, logbrush_set(style, ColorRef(brush.Color), hatch));
}

// Fonts go by their stored names; a reader substitutes what it lacks.
char* EmfFontRecord(std::uint32_t handle, const TFont& font)
{
    std::array<std::uint16_t, U_LF_FACESIZE> face{};
    const qsizetype length = std::min<qsizetype>(font.Name.size(), U_LF_FACESIZE - 1);
    std::copy_n(font.Name.utf16(), length, face.begin());
    const U_LOGFONT lf =
        logfont_set(font.Height, std::max(0, font.Width), 0, 0, font.Bold ? U_FW_BOLD : U_FW_NORMAL, font.Italic,
                    font.Underline, 0, U_DEFAULT_CHARSET, U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS,
                    U_DEFAULT_QUALITY, U_DEFAULT_PITCH, face.data());
    return U_EMREXTCREATEFONTINDIRECTW_set(handle, reinterpret_cast<const char*>(&lf), nullptr);
}

class TEmfWriter final : public TGdiRecordWriter {
public:
    explicit TEmfWriter(const TMetafile& metafile)
        : TGdiRecordWriter(1)
        , metafile_(metafile)
    {
    }

    QByteArray Write()
    {
        bytes_.reserve(EstimatedSize());
        WriteHeader();
        WriteDefaults();
        WriteCalls(metafile_);
        ReleaseObjects();
        EMFTRACK track{};
        Append(U_EMREOF_set(0, nullptr, &track));
        PatchHeader();
        return bytes_;
    }

private:
    qsizetype EstimatedSize() const
    {
        qsizetype size = 1024;
        for (const TMetafile::TEntry& e : metafile_.Entries)
            size += 64 + 8 * static_cast<qsizetype>(e.Command.Points.size());
        return size;
    }

    // Takes a record that libuemf allocated.
    void Append(char* record)
    {
        if (!record)
            return;
        std::uint32_t size = 0;
        std::memcpy(&size, record + 4, sizeof size);
        bytes_.append(record, size);
        std::free(record);
        ++records_;
    }

    void WriteHeader()
    {
        // The description: the program's name, then an empty picture name.
        std::array<std::uint16_t, 8> description = {u'K', u'a', u'v', u'i', u'r', u'o', 0, 0};
        const U_RECTL bounds{0, 0, metafile_.Width, metafile_.Height};
        const U_RECTL frame{0, 0, CeilMulDiv(metafile_.Width, HundredthsOfMmPerInch, PixelsPerInch),
                            CeilMulDiv(metafile_.Height, HundredthsOfMmPerInch, PixelsPerInch)};
        Append(U_EMRHEADER_set(bounds, frame, nullptr, description.size(), description.data(),
                               sizel_set(EmfReferenceWidthPixels, EmfReferenceHeightPixels),
                               sizel_set(EmfReferenceWidthMillimeters, EmfReferenceHeightMillimeters), 0));
    }

    // The device context modes every call relies on.
    void WriteDefaults()
    {
        Append(U_EMRSETMAPMODE_set(U_MM_TEXT));
        Append(U_EMRSETBKMODE_set(U_TRANSPARENT)); // hatches and text leave the background
        Append(U_EMRSETPOLYFILLMODE_set(U_ALTERNATE));
        Append(U_EMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT | U_TA_NOUPDATECP));
        Append(U_EMRSETSTRETCHBLTMODE_set(U_COLORONCOLOR));
    }

    void PatchHeader()
    {
        char* header = bytes_.data();
        qToLittleEndian<quint32>(static_cast<quint32>(bytes_.size()), header + emf_header::Bytes);
        qToLittleEndian<quint32>(records_, header + emf_header::Records);
        qToLittleEndian<quint16>(static_cast<quint16>(HandleTableSize()), header + emf_header::Handles);
    }

    // Stock objects replace ours, which can then be deleted.
    void ReleaseObjects()
    {
        TDcState& dc = DcState();
        const auto release = [&](std::uint32_t& handle, std::uint32_t stock) {
            if (handle == 0)
                return;
            Append(U_EMRSELECTOBJECT_set(stock));
            DeleteObject(handle);
            handle = 0;
        };
        release(dc.Pen.Handle, U_BLACK_PEN);
        release(dc.Brush.Handle, U_WHITE_BRUSH);
        release(dc.Font.Handle, U_SYSTEM_FONT);
    }

    // --- records ----------------------------------------------------------

    void PenRecord(std::uint32_t handle, const TPen& pen) override { Append(EmfPenRecord(handle, pen)); }
    void BrushRecord(std::uint32_t handle, const TBrush& brush) override { Append(EmfBrushRecord(handle, brush)); }
    void FontRecord(std::uint32_t handle, const TFont& font) override { Append(EmfFontRecord(handle, font)); }
    void SelectRecord(std::uint32_t handle) override { Append(U_EMRSELECTOBJECT_set(handle)); }
    void DeleteRecord(std::uint32_t handle) override { Append(U_EMRDELETEOBJECT_set(handle)); }
    void RopRecord(TPenMode mode) override { Append(U_EMRSETROP2_set(Code(RopOfMode, mode))); }
    void TextColorRecord(TColor color) override { Append(U_EMRSETTEXTCOLOR_set(ColorRef(color))); }
    void SaveDcRecord() override { Append(U_EMRSAVEDC_set()); }
    void RestoreDcRecord() override { Append(U_EMRRESTOREDC_set(-1)); }
    void IntersectClipRecord(const TRect& clip) override { Append(U_EMRINTERSECTCLIPRECT_set(RectL(clip))); }
    void PixelRecord(QPoint at, TColor color) override { Append(U_EMRSETPIXELV_set(PointL(at), ColorRef(color))); }
    void RectangleRecord(const TRect& box) override { Append(U_EMRRECTANGLE_set(RectL(box))); }

    void PolyRecord(TDrawOp op, std::span<const QPoint> points) override
    {
        switch (op) {
        case TDrawOp::Polygon:
            AppendPoly(points, U_EMRPOLYGON_set, U_EMRPOLYGON16_set);
            return;
        case TDrawOp::PolyBezier:
            AppendPoly(points, U_EMRPOLYBEZIER_set, U_EMRPOLYBEZIER16_set);
            return;
        default:
            AppendPoly(points, U_EMRPOLYLINE_set, U_EMRPOLYLINE16_set);
            return;
        }
    }

    using TPolySet = char* (*)(const U_RECTL, const uint32_t, const U_POINTL*);
    using TPoly16Set = char* (*)(const U_RECTL, const uint32_t, const U_POINT16*);

    // 16-bit points whenever they fit, as Windows itself records them.
    void AppendPoly(std::span<const QPoint> points, TPolySet set32, TPoly16Set set16)
    {
        const U_RECTL bounds = PointBounds(points);
        const auto count = static_cast<std::uint32_t>(points.size());
        if (Fits16(bounds)) {
            points16_.resize(points.size());
            for (std::size_t i = 0; i < points.size(); ++i)
                points16_[i] = {static_cast<std::int16_t>(points[i].x()), static_cast<std::int16_t>(points[i].y())};
            Append(set16(bounds, count, points16_.data()));
            return;
        }
        points32_.resize(points.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            points32_[i] = PointL(points[i]);
        Append(set32(bounds, count, points32_.data()));
    }

    // Boxes keep the drawing call's own corners: right and bottom exclusive.
    void ShapeRecord(const TDrawCommand& c) override
    {
        const U_RECTL box = RectL(c.Box);
        switch (c.Op) {
        case TDrawOp::Ellipse:
            Append(U_EMRELLIPSE_set(box));
            return;
        case TDrawOp::Rectangle:
            Append(U_EMRRECTANGLE_set(box));
            return;
        case TDrawOp::RoundRect:
            Append(U_EMRROUNDRECT_set(box, sizel_set(c.Corner.width(), c.Corner.height())));
            return;
        case TDrawOp::Pie:
            Append(U_EMRPIE_set(box, PointL(c.Points[0]), PointL(c.Points[1])));
            return;
        case TDrawOp::Chord:
            Append(U_EMRCHORD_set(box, PointL(c.Points[0]), PointL(c.Points[1])));
            return;
        case TDrawOp::Arc:
            Append(U_EMRARC_set(box, PointL(c.Points[0]), PointL(c.Points[1])));
            return;
        default:
            return;
        }
    }

    void TextRecord(const TDrawCommand& c, const TFont& font) override
    {
        const TTextAdvances advances = TextAdvances(c.Text, font);
        std::vector<std::uint32_t> dx(advances.Advances.begin(), advances.Advances.end());
        const int height = CurrentTextMetrics().TextHeight(font, c.Text);
        const U_RECTL bounds{c.At.x(), c.At.y(), c.At.x() + std::max(0, advances.Width - 1),
                             c.At.y() + std::max(0, height - 1)};
        char* text = emrtext_set(PointL(c.At), static_cast<std::uint32_t>(c.Text.size()), 2,
                                 const_cast<void*>(static_cast<const void*>(c.Text.utf16())), 0, U_RECTL{0, 0, -1, -1},
                                 dx.data());
        // Page units to 0.01 mm, for players that scale text by the reference device.
        const float scale = static_cast<float>(HundredthsOfMmPerInch) / PixelsPerInch;
        Append(U_EMREXTTEXTOUTW_set(bounds, U_GM_COMPATIBLE, scale, scale, reinterpret_cast<PU_EMRTEXT>(text)));
        std::free(text);
    }

    void ImageRecord(const TRect& box, const QImage& image, std::uint32_t rop) override
    {
        TDib dib(image);
        const U_RECTL bounds{box.Left, box.Top, box.Right - 1, box.Bottom - 1};
        Append(U_EMRSTRETCHDIBITS_set(bounds, point32_set(box.Left, box.Top), point32_set(box.Width(), box.Height()),
                                      point32_set(0, 0), point32_set(image.width(), image.height()), U_DIB_RGB_COLORS,
                                      rop, &dib.Info, dib.Size(), dib.Bits.data()));
    }

    const TMetafile& metafile_;
    QByteArray bytes_;
    std::uint32_t records_ = 0;
    std::vector<U_POINT16> points16_; // reused between records
    std::vector<U_POINTL> points32_;
};

} // namespace

QByteArray WriteEmf(const TMetafile& metafile)
{
    return TEmfWriter(metafile).Write();
}
