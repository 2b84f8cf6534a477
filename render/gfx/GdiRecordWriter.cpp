#include "render/gfx/GdiRecordWriter.h"

#include "render/gfx/TextMetrics.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::int32_t PixelsPerMeter = 3780; // 96 per inch

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

} // namespace

TDib::TDib(const QImage& image)
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
    Info.bmiHeader = bitmapinfoheader_set(w, h, 1, U_BCBM_COLOR24, U_BI_RGB, static_cast<std::uint32_t>(Bits.size()),
                                          PixelsPerMeter, PixelsPerMeter, 0, 0);
}

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

// Each character advances by what it adds to the text's width.
TTextAdvances TextAdvances(const QString& text, const TFont& font)
{
    TTextMetrics& metrics = CurrentTextMetrics();
    TTextAdvances result;
    result.Advances.assign(static_cast<std::size_t>(text.size()), 0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const int width = metrics.TextWidth(font, text.left(i + (pair ? 2 : 1)));
        result.Advances[static_cast<std::size_t>(i)] = std::max(0, width - result.Width);
        result.Width = width;
        if (pair)
            ++i;
    }
    return result;
}

std::uint32_t TGdiRecordWriter::THandleTable::Create()
{
    const auto free = std::find(used_.begin(), used_.end(), false);
    const auto index = static_cast<std::uint32_t>(free - used_.begin());
    if (free == used_.end())
        used_.push_back(true);
    else
        *free = true;
    return index + first_;
}

TGdiRecordWriter::TGdiRecordWriter(std::uint32_t firstHandle)
    : handles_(firstHandle)
{
}

std::uint32_t TGdiRecordWriter::HandleTableSize() const
{
    return handles_.TableSize();
}

void TGdiRecordWriter::WriteCalls(const TMetafile& metafile)
{
    for (const TMetafile::TEntry& e : metafile.Entries) {
        const TDrawState& s = metafile.States[e.State];
        SetClip(s.Clip);
        Draw(e.Command, s);
    }
    SetClip(std::nullopt);
}

// --- clip -----------------------------------------------------------------

void TGdiRecordWriter::SetClip(const std::optional<TRect>& clip)
{
    if (clip == clip_)
        return;
    if (clip_)
        RestoreDc();
    clip_ = clip;
    if (!clip_)
        return;
    SaveDcRecord();
    saved_ = dc_;
    IntersectClipRecord(*clip_);
}

// Objects made since SAVEDC that RESTOREDC deselects are deleted.
void TGdiRecordWriter::RestoreDc()
{
    RestoreDcRecord();
    DeleteUnlessSaved(dc_.Pen.Handle, saved_.Pen.Handle);
    DeleteUnlessSaved(dc_.Brush.Handle, saved_.Brush.Handle);
    DeleteUnlessSaved(dc_.Font.Handle, saved_.Font.Handle);
    dc_ = saved_;
}

void TGdiRecordWriter::DeleteUnlessSaved(std::uint32_t handle, std::uint32_t saved)
{
    if (handle != 0 && handle != saved)
        DeleteObject(handle);
}

// --- objects --------------------------------------------------------------

void TGdiRecordWriter::DeleteObject(std::uint32_t handle)
{
    DeleteRecord(handle);
    handles_.Delete(handle);
}

// Selects a new object; the one it replaces is deleted unless a saved state
// still holds it (RESTOREDC selects it again).
template <class T>
void TGdiRecordWriter::Select(TSelection<T>& selection, std::uint32_t handle, const T& tool, std::uint32_t savedHandle)
{
    SelectRecord(handle);
    const std::uint32_t old = selection.Handle;
    selection = {handle, tool};
    if (old != 0 && !(clip_ && old == savedHandle))
        DeleteObject(old);
}

// Makes and selects an object for the tool unless it is selected already.
template <class T>
void TGdiRecordWriter::Use(TSelection<T>& selection, const T& tool, std::uint32_t savedHandle,
                           void (TGdiRecordWriter::*record)(std::uint32_t, const T&))
{
    if (selection.Handle != 0 && selection.Tool == tool)
        return;
    const std::uint32_t handle = handles_.Create();
    (this->*record)(handle, tool);
    Select(selection, handle, tool, savedHandle);
}

void TGdiRecordWriter::UsePen(const TPen& pen)
{
    Use(dc_.Pen, PenObjectOf(pen), saved_.Pen.Handle, &TGdiRecordWriter::PenRecord);
}

void TGdiRecordWriter::UseBrush(const TBrush& brush)
{
    Use(dc_.Brush, BrushObjectOf(brush), saved_.Brush.Handle, &TGdiRecordWriter::BrushRecord);
}

void TGdiRecordWriter::UseFont(const TFont& font)
{
    Use(dc_.Font, FontObjectOf(font), saved_.Font.Handle, &TGdiRecordWriter::FontRecord);
}

void TGdiRecordWriter::UseRop(TPenMode mode)
{
    if (dc_.Rop == mode)
        return;
    RopRecord(mode);
    dc_.Rop = mode;
}

void TGdiRecordWriter::UseTextColor(TColor color)
{
    if (dc_.TextColor == color)
        return;
    TextColorRecord(color);
    dc_.TextColor = color;
}

// --- drawing --------------------------------------------------------------

void TGdiRecordWriter::Draw(const TDrawCommand& c, const TDrawState& s)
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
            PolyRecord(TDrawOp::Polygon, c.Points);
        return;
    case TDrawOp::Ellipse:
    case TDrawOp::Rectangle:
    case TDrawOp::RoundRect:
    case TDrawOp::Pie:
    case TDrawOp::Chord:
        if (!c.Box.IsEmpty() && Outline(s))
            ShapeRecord(c);
        return;
    case TDrawOp::Arc:
        if (!c.Box.IsEmpty() && Stroke(s.Pen))
            ShapeRecord(c);
        return;
    case TDrawOp::Pixel:
        PixelRecord(c.At, c.Color);
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
bool TGdiRecordWriter::Stroke(const TPen& pen)
{
    if (pen.Style == TPenStyle::Clear)
        return false;
    UsePen(pen);
    UseRop(pen.Mode);
    return true;
}

// Selects pen, brush and mode for a closed shape; false when neither its
// outline nor its inside shows.
bool TGdiRecordWriter::Outline(const TDrawState& s)
{
    if (s.Pen.Style == TPenStyle::Clear && BrushObjectOf(s.Brush).Style == TBrushStyle::Clear)
        return false;
    UsePen(s.Pen);
    UseBrush(s.Brush);
    UseRop(s.Pen.Mode);
    return true;
}

// A line of no length still draws its dot: one pixel for a thin pen (a line
// one pixel long, whose last pixel is left out), a disc for a wide one.
void TGdiRecordWriter::DrawPolyline(const std::vector<QPoint>& points, const TPen& pen)
{
    if (!Stroke(pen))
        return;
    const bool dot = std::all_of(points.begin(), points.end(), [&](const QPoint& p) { return p == points.front(); });
    if (!dot) {
        PolyRecord(TDrawOp::Polyline, points);
        return;
    }
    const QPoint p = points.front();
    const std::array<QPoint, 2> line = {p, pen.IsCosmetic() ? p + QPoint(1, 0) : p};
    PolyRecord(TDrawOp::Polyline, line);
}

// Whole cubic pieces only: the start point, then three per piece.
void TGdiRecordWriter::DrawBezier(const std::vector<QPoint>& points, const TPen& pen)
{
    const std::size_t used = points.empty() ? 0 : 1 + (points.size() - 1) / 3 * 3;
    if (used < 4 || !Stroke(pen))
        return;
    PolyRecord(TDrawOp::PolyBezier, std::span(points.data(), used));
}

// A rectangle without outline fills one pixel less to the right and below
// than its box, so the box grows by one; the brush always copies.
void TGdiRecordWriter::FillRect(const TRect& area, const TBrush& brush)
{
    if (area.IsEmpty() || BrushObjectOf(brush).Style == TBrushStyle::Clear)
        return;
    UsePen(TPen{ColorBlack, 0, TPenStyle::Clear});
    UseBrush(brush);
    UseRop(TPenMode::Copy);
    RectangleRecord({area.Left, area.Top, area.Right + 1, area.Bottom + 1});
}

void TGdiRecordWriter::DrawText(const TDrawCommand& c, const TFont& font)
{
    UseFont(font);
    UseTextColor(font.Color);
    TextRecord(c, font);
}

void TGdiRecordWriter::DrawImage(const TDrawCommand& c)
{
    switch (c.ImageMode) {
    case TImageMode::Copy:
        ImageRecord(c.Box, c.Image, U_SRCCOPY);
        return;
    case TImageMode::And:
        ImageRecord(c.Box, c.Image, U_SRCAND);
        return;
    case TImageMode::WhiteTransparent: {
        const auto [mask, ink] = TransparencyPair(c.Image);
        ImageRecord(c.Box, mask, U_SRCAND);
        ImageRecord(c.Box, ink, U_SRCPAINT);
        return;
    }
    }
}
