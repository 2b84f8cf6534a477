#pragma once

// What the enhanced and the Windows metafile writers share: turning the
// recorded drawing calls into the records of a Windows device context. The
// tools become pen, brush and font objects, made, selected and deleted as
// they change; pen modes become raster operations; clips are saved and
// restored states. A writer of one format supplies the records themselves.
#include "render/gfx/DrawCommand.h"
#include "render/gfx/GfxTypes.h"
#include "render/gfx/Metafile.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>
#include <uemf.h>
#include <span>
#include <utility>
#include <vector>

inline U_COLORREF ColorRef(TColor c)
{
    return colorref3_set(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// The records' codes, in the order of our enumerations (both formats share
// them).
inline constexpr std::uint32_t RopOfMode[] = {U_R2_COPYPEN, U_R2_MASKPEN, U_R2_XORPEN, U_R2_MERGEPEN};
inline constexpr std::uint32_t PenStyleOf[] = {U_PS_SOLID, U_PS_DASH, U_PS_DOT, U_PS_DASHDOT, U_PS_NULL};
// Every brush style; only hatches have a hatch of their own.
inline constexpr std::uint32_t HatchOf[] = {
    0, 0, U_HS_HORIZONTAL, U_HS_VERTICAL, U_HS_FDIAGONAL, U_HS_BDIAGONAL, U_HS_CROSS, U_HS_DIAGCROSS, 0};

std::uint32_t Code(const auto& codes, auto value)
{
    return codes[static_cast<int>(value)];
}

// An image as a bottom-up 24-bit device-independent bitmap, at 96 pixels
// per inch.
struct TDib {
    U_BITMAPINFO Info{};
    std::vector<char> Bits;

    explicit TDib(const QImage& image);
    std::uint32_t Size() const { return static_cast<std::uint32_t>(Bits.size()); }
};

// For an image drawn white-transparent: the mask that an AND leaves the
// background through (white where the image is white, black elsewhere), and
// the image with its white made black for the OR that follows.
std::pair<QImage, QImage> TransparencyPair(const QImage& image);

// How far each character of the text advances with the installed text
// metrics (a surrogate pair on its first half, 0 on its second), and the
// text's whole width.
struct TTextAdvances {
    std::vector<int> Advances;
    int Width = 0;
};
TTextAdvances TextAdvances(const QString& text, const TFont& font);

class TGdiRecordWriter {
public:
    virtual ~TGdiRecordWriter() = default;

protected:
    // Object handles count from firstHandle: enhanced metafiles keep 0 for
    // the metafile itself, Windows metafiles number their table from 0.
    explicit TGdiRecordWriter(std::uint32_t firstHandle);

    // Every call of the picture, with its tools and clip; the clip is
    // taken off at the end.
    void WriteCalls(const TMetafile& metafile);

    // The object handles in use; the size of the table a player needs.
    std::uint32_t HandleTableSize() const;

    // The records of one format.
    virtual void PenRecord(std::uint32_t handle, const TPen& pen) = 0;
    virtual void BrushRecord(std::uint32_t handle, const TBrush& brush) = 0;
    virtual void FontRecord(std::uint32_t handle, const TFont& font) = 0;
    virtual void SelectRecord(std::uint32_t handle) = 0;
    virtual void DeleteRecord(std::uint32_t handle) = 0;
    virtual void RopRecord(TPenMode mode) = 0;
    virtual void TextColorRecord(TColor color) = 0;
    virtual void SaveDcRecord() = 0;
    virtual void RestoreDcRecord() = 0;
    virtual void IntersectClipRecord(const TRect& clip) = 0;
    // Polyline, Polygon or PolyBezier (whole cubic pieces only).
    virtual void PolyRecord(TDrawOp op, std::span<const QPoint> points) = 0;
    // Ellipse, Rectangle, RoundRect, Pie, Chord or Arc, with the call's own
    // box: right and bottom exclusive.
    virtual void ShapeRecord(const TDrawCommand& shape) = 0;
    virtual void PixelRecord(QPoint at, TColor color) = 0;
    virtual void RectangleRecord(const TRect& box) = 0;
    virtual void TextRecord(const TDrawCommand& text, const TFont& font) = 0;
    // rop: U_SRCCOPY, U_SRCAND or U_SRCPAINT.
    virtual void ImageRecord(const TRect& box, const QImage& image, std::uint32_t rop) = 0;

    // The tool an object was made for, and its handle (0: none of ours).
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
    // The state the records have left the device context in.
    TDcState& DcState() { return dc_; }
    // Deletes an object of ours that is selected no more.
    void DeleteObject(std::uint32_t handle);

private:
    class THandleTable {
    public:
        explicit THandleTable(std::uint32_t first)
            : first_(first)
        {
        }
        std::uint32_t Create();
        void Delete(std::uint32_t handle) { used_[handle - first_] = false; }
        std::uint32_t TableSize() const { return static_cast<std::uint32_t>(used_.size()) + first_; }

    private:
        std::uint32_t first_;
        std::vector<bool> used_;
    };

    void SetClip(const std::optional<TRect>& clip);
    void RestoreDc();
    void DeleteUnlessSaved(std::uint32_t handle, std::uint32_t saved);
    template <class T>
    void Select(TSelection<T>& selection, std::uint32_t handle, const T& tool, std::uint32_t savedHandle);
    template <class T>
    void Use(TSelection<T>& selection, const T& tool, std::uint32_t savedHandle,
             void (TGdiRecordWriter::*record)(std::uint32_t, const T&));
    void UsePen(const TPen& pen);
    void UseBrush(const TBrush& brush);
    void UseFont(const TFont& font);
    void UseRop(TPenMode mode);
    void UseTextColor(TColor color);

    void Draw(const TDrawCommand& c, const TDrawState& s);
    bool Stroke(const TPen& pen);
    bool Outline(const TDrawState& s);
    void DrawPolyline(const std::vector<QPoint>& points, const TPen& pen);
    void DrawBezier(const std::vector<QPoint>& points, const TPen& pen);
    void FillRect(const TRect& area, const TBrush& brush);
    void DrawText(const TDrawCommand& c, const TFont& font);
    void DrawImage(const TDrawCommand& c);

    THandleTable handles_;
    TDcState dc_;
    TDcState saved_; // while a clip is set: the state before it
    std::optional<TRect> clip_;
};
