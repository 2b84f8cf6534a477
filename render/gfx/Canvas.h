#pragma once

#include "render/gfx/DrawCommand.h"
#include "render/gfx/GfxTypes.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <memory>
#include <optional>
#include <span>

struct TMetafile;

// Where a canvas's drawing calls end: pixels of an image, or a recording.
class TDrawDevice {
public:
    virtual ~TDrawDevice() = default;
    // The state's clip is already the canvas's.
    virtual void Execute(const TDrawCommand& command, const TDrawState& state) = 0;
    // The area that can be drawn on.
    virtual TRect Bounds() const = 0;
    // Sets one pixel without a command, where the device can (a hatch sets
    // tens of thousands of them a redraw); false leaves it to Execute.
    virtual bool SetPixelDirectly(int x, int y, TColor color, const std::optional<TRect>& clip)
    {
        (void)x, (void)y, (void)color, (void)clip;
        return false;
    }
};

// A drawing surface in the manner of the Windows canvas: pen, brush, font,
// copy mode, pen position and clip rectangle persist between calls. Boxes
// have exclusive right and bottom edges. The pen mode applies to lines and to
// the outlines and fills of shapes; FillRect, SetPixel and text always copy.
class TCanvas {
public:
    explicit TCanvas(std::unique_ptr<TDrawDevice> device);
    ~TCanvas();
    TCanvas(TCanvas&&) noexcept;
    TCanvas& operator=(TCanvas&&) noexcept;

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TCopyMode CopyMode = TCopyMode::SrcCopy;
    QPoint PenPos;

    // The tools that drawing code saves and restores around its own.
    struct TTools {
        TPen Pen;
        TBrush Brush;
        TFont Font;
    };
    TTools SaveTools() const { return {Pen, Brush, Font}; }
    void RestoreTools(const TTools& tools);

    void SetClipRect(const TRect& clip) { clip_ = clip; }
    void ClearClipRect() { clip_.reset(); }
    const std::optional<TRect>& ClipRect() const { return clip_; }
    TRect Bounds() const;

    void MoveTo(int x, int y) { PenPos = QPoint(x, y); }
    // A line from the pen position; the pen position moves to (x, y).
    void LineTo(int x, int y);
    void Polyline(std::span<const QPoint> points);
    // Filled with the odd-even rule, then outlined.
    void Polygon(std::span<const QPoint> points);
    // Cubic pieces: the start point, then three points per piece.
    void PolyBezier(std::span<const QPoint> points);
    void Ellipse(int left, int top, int right, int bottom);
    void Rectangle(int left, int top, int right, int bottom);
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    // The arc runs counter-clockwise from the ray through (x3, y3) to the ray
    // through (x4, y4); equal rays make a whole ellipse.
    void Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    void Chord(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    void Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    void SetPixel(int x, int y, TColor color);
    void FillRect(const TRect& rect);
    // (x, y) is the top-left of the character cell; the background stays.
    void TextOut(int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

    // Images go down by the copy mode (SrcCopy or SrcAnd).
    void Draw(int x, int y, const QImage& image);
    void StretchDraw(const TRect& dest, const QImage& image);
    // White pixels of the image leave the canvas as it is.
    void DrawTransparent(int x, int y, const QImage& image);
    // A picture of Width × Height spans Width + 1 × Height + 1 pixels, so
    // (x, y, x + Width + 1, y + Height + 1) replays it one to one.
    void Draw(int x, int y, const TMetafile& metafile);
    void StretchDraw(const TRect& dest, const TMetafile& metafile);

    // Replays a command with its own tools; the canvas's clip still applies.
    void Execute(const TDrawCommand& command, TDrawState state);

private:
    void Submit(TDrawCommand&& command);
    void SubmitShape(TDrawOp op, int left, int top, int right, int bottom);
    void SubmitArcShape(TDrawOp op, int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    void SubmitPoints(TDrawOp op, std::span<const QPoint> points);
    void SubmitImage(const TRect& dest, const QImage& image, TImageMode mode);

    std::unique_ptr<TDrawDevice> device_;
    std::optional<TRect> clip_;
};

// A canvas that draws into the image, which must outlive it. The image is
// used in Format_RGB32 (converted when it is not). Hatches and pattern
// brushes are aligned to the device origin; an image that is one band of a
// larger picture passes its own position in that picture as patternOrigin.
TCanvas MakeImageCanvas(QImage& image, QPoint patternOrigin = QPoint());
