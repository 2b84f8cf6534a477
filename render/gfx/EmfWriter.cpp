// Enhanced-metafile records are laid out by libuemf's record constructors;
// this file decides which records a recorded picture becomes.
#include "render/gfx/EmfWriter.h"

#include "render/gfx/EmfRecords.h"
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
constexpr std::int32_t PixelsPerMeter = 3780; // 96 per inch

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

U_COLORREF ColorRef(TColor c)
{
    return colorref3_set(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
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

// An image as a bottom-up 24-bit device-independent bitmap.
struct TDib {
    U_BITMAPINFO Info{};
    std::vector<char> Bits;

    explicit TDib(const QImage& image)
    {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        const int w = rgb.width();
        const int h = rgb.height();
        const int stride = (w * 3 + 3) & ~3;
        Bits.assign(static_cast<std::size_t>(stride) * h, 0);
        for (int y = 0; y < h; ++y) {
            const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            char* row = Bits.data() + static_cast<std::size_t>(h - 1 - y) * stride;
            for (int x = 0; x < w; ++x) {
                row[3 * x] = static_cast<char>(qBlue(src[x]));
                row[3 * x + 1] = static_cast<char>(qGreen(src[x]));
                row[3 * x + 2] = static_cast<char>(qRed(src[x]));
            }
        }
        Info.bmiHeader =
            bitmapinfoheader_set(w, h, 1, U_BCBM_COLOR24, U_BI_RGB, static_cast<std::uint32_t>(Bits.size()),
                                 PixelsPerMeter, PixelsPerMeter, 0, 0);
    }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(Bits.size()); }
};

// For an image drawn white-transparent: the mask that an AND leaves the
// background through (white where the image is white, black elsewhere), and
// the image with its white made black for the OR that follows.
std::pair<QImage, QImage> TransparencyPair(const QImage& image)
{
    QImage mask = image.convertToFormat(QImage::Format_RGB32);
    QImage ink = mask.copy();
    for (int y = 0; y < mask.height(); ++y) {
        auto* m = reinterpret_cast<QRgb*>(mask.scanLine(y));
        auto* i = reinterpret_cast<QRgb*>(ink.scanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            const bool white = (m[x] & 0x00FFFFFFu) == 0x00FFFFFFu;
            m[x] = white ? 0xFFFFFFFFu : 0xFF000000u;
            if (white)
                i[x] = 0xFF000000u;
        }
    }
    return {mask, ink};
}

// Object handles in use; 0 is the metafile itself, so they start at 1.
class THandleTable {
public:
    std::uint32_t Create()
    {
        const auto free = std::find(used_.begin(), used_.end(), false);
        const auto index = static_cast<std::uint32_t>(free - used_.begin());
        if (free == used_.end())
            used_.push_back(true);
        else
            *free = true;
        return index + 1;
    }
    void Delete(std::uint32_t handle) { used_[handle - 1] = false; }
    // The size of the table a player needs, entry 0 included.
    std::uint16_t TableSize() const { return static_cast<std::uint16_t>(used_.size() + 1); }

private:
    std::vector<bool> used_;
};

// The tool an object was made for, and its handle (0: a stock object).
template <class T>
struct TSelection {
    std::uint32_t Handle = 0;
    T Tool{};
};

// What SAVEDC keeps and RESTOREDC brings back.
struct TDcState {
    TSelection<TPen> Pen;
    TSelection<TBrush> Brush;
    TSelection<TFont> Font;
    TPenMode Rop = TPenMode::Copy;
    std::optional<TColor> TextColor;
};

// The tools as objects are made of them: the pen's mode is a raster
// operation of its own, a font's colour is the text colour, and invisible
// pens and brushes are all alike.
TPen PenObjectOf(TPen pen)
{
    pen.Mode = TPenMode::Copy;
    return pen.Style == TPenStyle::Clear ? TPen{ColorBlack, 0, TPenStyle::Clear} : pen;
}

TBrush BrushObjectOf(const TBrush& brush)
{
    const bool invisible =
        brush.Style == TBrushStyle::Clear || (brush.Style == TBrushStyle::Bitmap && brush.Pattern.isNull());
    return invisible ? TBrush{TBrushStyle::Clear, ColorBlack, {}} : brush;
}

TFont FontObjectOf(TFont font)
{
    font.Color = ColorBlack;
    return font;
}

// The records' codes, in the order of our enumerations.
constexpr std::uint32_t RopOfMode[] = {U_R2_COPYPEN, U_R2_MASKPEN, U_R2_XORPEN, U_R2_MERGEPEN};
constexpr std::uint32_t PenStyleOf[] = {U_PS_SOLID, U_PS_DASH, U_PS_DOT, U_PS_DASHDOT, U_PS_NULL};
// Every brush style; only hatches have a hatch of their own.
constexpr std::uint32_t HatchOf[] = {
    0, 0, U_HS_HORIZONTAL, U_HS_VERTICAL, U_HS_FDIAGONAL, U_HS_BDIAGONAL, U_HS_CROSS, U_HS_DIAGCROSS, 0};

std::uint32_t Code(const auto& codes, auto value)
{
    return codes[static_cast<int>(value)];
}

char* PenRecord(std::uint32_t handle, const TPen& pen)
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

char* BrushRecord(std::uint32_t handle, const TBrush& brush)
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
char* FontRecord(std::uint32_t handle, const TFont& font)
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

class TEmfWriter {
public:
    explicit TEmfWriter(const TMetafile& metafile)
        : metafile_(metafile)
    {
    }

    QByteArray Write()
    {
        bytes_.reserve(EstimatedSize());
        WriteHeader();
        WriteDefaults();
        for (const TMetafile::TEntry& e : metafile_.Entries) {
            const TDrawState& s = metafile_.States[e.State];
            SetClip(s.Clip);
            Draw(e.Command, s);
        }
        SetClip(std::nullopt);
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
        qToLittleEndian<quint16>(handles_.TableSize(), header + emf_header::Handles);
    }

    // --- clip -----------------------------------------------------------

    void SetClip(const std::optional<TRect>& clip)
    {
        if (clip == clip_)
            return;
        if (clip_)
            RestoreDc();
        clip_ = clip;
        if (!clip_)
            return;
        Append(U_EMRSAVEDC_set());
        saved_ = dc_;
        Append(U_EMRINTERSECTCLIPRECT_set(RectL(*clip_)));
    }

    // Objects made since SAVEDC that RESTOREDC deselects are deleted.
    void RestoreDc()
    {
        Append(U_EMRRESTOREDC_set(-1));
        DeleteUnlessSaved(dc_.Pen.Handle, saved_.Pen.Handle);
        DeleteUnlessSaved(dc_.Brush.Handle, saved_.Brush.Handle);
        DeleteUnlessSaved(dc_.Font.Handle, saved_.Font.Handle);
        dc_ = saved_;
    }

    void DeleteUnlessSaved(std::uint32_t handle, std::uint32_t saved)
    {
        if (handle != 0 && handle != saved)
            DeleteObject(handle);
    }

    // --- objects --------------------------------------------------------

    void DeleteObject(std::uint32_t handle)
    {
        Append(U_EMRDELETEOBJECT_set(handle));
        handles_.Delete(handle);
    }

    // Selects a new object; the one it replaces is deleted unless a saved
    // state still holds it (RESTOREDC selects it again).
    template <class T>
    void Select(TSelection<T>& selection, std::uint32_t handle, const T& tool, std::uint32_t savedHandle)
    {
        Append(U_EMRSELECTOBJECT_set(handle));
        const std::uint32_t old = selection.Handle;
        selection = {handle, tool};
        if (old != 0 && !(clip_ && old == savedHandle))
            DeleteObject(old);
    }

    // Makes and selects an object for the tool unless it is selected already.
    template <class T>
    void Use(TSelection<T>& selection, const T& tool, std::uint32_t savedHandle,
             char* (*record)(std::uint32_t, const T&))
    {
        if (selection.Handle != 0 && selection.Tool == tool)
            return;
        const std::uint32_t handle = handles_.Create();
        Append(record(handle, tool));
        Select(selection, handle, tool, savedHandle);
    }

    void UsePen(const TPen& pen) { Use(dc_.Pen, PenObjectOf(pen), saved_.Pen.Handle, PenRecord); }
    void UseBrush(const TBrush& brush) { Use(dc_.Brush, BrushObjectOf(brush), saved_.Brush.Handle, BrushRecord); }
    void UseFont(const TFont& font) { Use(dc_.Font, FontObjectOf(font), saved_.Font.Handle, FontRecord); }

    void UseRop(TPenMode mode)
    {
        if (dc_.Rop == mode)
            return;
        Append(U_EMRSETROP2_set(Code(RopOfMode, mode)));
        dc_.Rop = mode;
    }

    void UseTextColor(TColor color)
    {
        if (dc_.TextColor == color)
            return;
        Append(U_EMRSETTEXTCOLOR_set(ColorRef(color)));
        dc_.TextColor = color;
    }

    // Stock objects replace ours, which can then be deleted.
    void ReleaseObjects()
    {
        const auto release = [&](std::uint32_t& handle, std::uint32_t stock) {
            if (handle == 0)
                return;
            Append(U_EMRSELECTOBJECT_set(stock));
            DeleteObject(handle);
            handle = 0;
        };
        release(dc_.Pen.Handle, U_BLACK_PEN);
        release(dc_.Brush.Handle, U_WHITE_BRUSH);
        release(dc_.Font.Handle, U_SYSTEM_FONT);
    }

    // --- drawing --------------------------------------------------------

    void Draw(const TDrawCommand& c, const TDrawState& s)
    {
        switch (c.Op) {
        case TDrawOp::Polyline:
            DrawPolyline(c.Points, s.Pen);
            return;
        case TDrawOp::PolyBezier:
            DrawBezier(c.Points, s.Pen);
            return;
        case TDrawOp::Polygon:
            if (c.Points.size() >= 2 && Outline(s))
                AppendPoly(c.Points, U_EMRPOLYGON_set, U_EMRPOLYGON16_set);
            return;
        case TDrawOp::Ellipse:
        case TDrawOp::Rectangle:
        case TDrawOp::RoundRect:
        case TDrawOp::Pie:
        case TDrawOp::Chord:
            if (!c.Box.IsEmpty() && Outline(s))
                AppendShape(c);
            return;
        case TDrawOp::Arc:
            if (!c.Box.IsEmpty() && Stroke(s.Pen))
                AppendShape(c);
            return;
        case TDrawOp::Pixel:
            Append(U_EMRSETPIXELV_set(PointL(c.At), ColorRef(c.Color)));
            return;
        case TDrawOp::FillRect:
            FillRect(c.Box, s.Brush);
            return;
        case TDrawOp::Text:
            DrawText(c, s.Font);
            return;
        case TDrawOp::Image:
            DrawImage(c);
            return;
        }
    }

    // Selects the pen and its mode; false when it draws nothing.
    bool Stroke(const TPen& pen)
    {
        if (pen.Style == TPenStyle::Clear)
            return false;
        UsePen(pen);
        UseRop(pen.Mode);
        return true;
    }

    // Selects pen, brush and mode for a closed shape; false when neither
    // its outline nor its inside shows.
    bool Outline(const TDrawState& s)
    {
        if (s.Pen.Style == TPenStyle::Clear && BrushObjectOf(s.Brush).Style == TBrushStyle::Clear)
            return false;
        UsePen(s.Pen);
        UseBrush(s.Brush);
        UseRop(s.Pen.Mode);
        return true;
    }

    // A line of no length still draws its dot: one pixel for a thin pen
    // (a line one pixel long, whose last pixel is left out), a disc for a
    // wide one.
    void DrawPolyline(const std::vector<QPoint>& points, const TPen& pen)
    {
        if (!Stroke(pen))
            return;
        const bool dot =
            std::all_of(points.begin(), points.end(), [&](const QPoint& p) { return p == points.front(); });
        if (!dot) {
            AppendPoly(points, U_EMRPOLYLINE_set, U_EMRPOLYLINE16_set);
            return;
        }
        const QPoint p = points.front();
        const std::array<QPoint, 2> line = {p, pen.IsCosmetic() ? p + QPoint(1, 0) : p};
        AppendPoly(line, U_EMRPOLYLINE_set, U_EMRPOLYLINE16_set);
    }

    // Whole cubic pieces only: the start point, then three per piece.
    void DrawBezier(const std::vector<QPoint>& points, const TPen& pen)
    {
        const std::size_t used = points.empty() ? 0 : 1 + (points.size() - 1) / 3 * 3;
        if (used < 4 || !Stroke(pen))
            return;
        AppendPoly(std::span(points.data(), used), U_EMRPOLYBEZIER_set, U_EMRPOLYBEZIER16_set);
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
    void AppendShape(const TDrawCommand& c)
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

    // A rectangle without outline fills one pixel less to the right and
    // below than its box, so the box grows by one; the brush always copies.
    void FillRect(const TRect& area, const TBrush& brush)
    {
        if (area.IsEmpty() || BrushObjectOf(brush).Style == TBrushStyle::Clear)
            return;
        UsePen(TPen{ColorBlack, 0, TPenStyle::Clear});
        UseBrush(brush);
        UseRop(TPenMode::Copy);
        Append(U_EMRRECTANGLE_set({area.Left, area.Top, area.Right + 1, area.Bottom + 1}));
    }

    void DrawText(const TDrawCommand& c, const TFont& font)
    {
        UseFont(font);
        UseTextColor(font.Color);
        TTextMetrics& metrics = CurrentTextMetrics();
        // Each character advances by what it adds to the text's width; a
        // surrogate pair advances on its first half.
        std::vector<std::uint32_t> dx(c.Text.size(), 0);
        int before = 0;
        for (qsizetype i = 0; i < c.Text.size(); ++i) {
            const bool pair = c.Text[i].isHighSurrogate() && i + 1 < c.Text.size() && c.Text[i + 1].isLowSurrogate();
            const int width = metrics.TextWidth(font, c.Text.left(i + (pair ? 2 : 1)));
            dx[i] = static_cast<std::uint32_t>(std::max(0, width - before));
            before = width;
            if (pair)
                ++i;
        }
        const int height = metrics.TextHeight(font, c.Text);
        const U_RECTL bounds{c.At.x(), c.At.y(), c.At.x() + std::max(0, before - 1),
                             c.At.y() + std::max(0, height - 1)};
        char* text = emrtext_set(PointL(c.At), static_cast<std::uint32_t>(c.Text.size()), 2,
                                 const_cast<void*>(static_cast<const void*>(c.Text.utf16())), 0, U_RECTL{0, 0, -1, -1},
                                 dx.data());
        // Page units to 0.01 mm, for players that scale text by the reference device.
        const float scale = static_cast<float>(HundredthsOfMmPerInch) / PixelsPerInch;
        Append(U_EMREXTTEXTOUTW_set(bounds, U_GM_COMPATIBLE, scale, scale, reinterpret_cast<PU_EMRTEXT>(text)));
        std::free(text);
    }

    void DrawImage(const TDrawCommand& c)
    {
        switch (c.ImageMode) {
        case TImageMode::Copy:
            AppendImage(c.Box, c.Image, U_SRCCOPY);
            return;
        case TImageMode::And:
            AppendImage(c.Box, c.Image, U_SRCAND);
            return;
        case TImageMode::WhiteTransparent: {
            const auto [mask, ink] = TransparencyPair(c.Image);
            AppendImage(c.Box, mask, U_SRCAND);
            AppendImage(c.Box, ink, U_SRCPAINT);
            return;
        }
        }
    }

    void AppendImage(const TRect& box, const QImage& image, std::uint32_t rop)
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
    THandleTable handles_;
    TDcState dc_;
    TDcState saved_; // while a clip is set: the state before it
    std::optional<TRect> clip_;
    std::vector<U_POINT16> points16_; // reused between records
    std::vector<U_POINTL> points32_;
};

} // namespace

QByteArray WriteEmf(const TMetafile& metafile)
{
    return TEmfWriter(metafile).Write();
}
