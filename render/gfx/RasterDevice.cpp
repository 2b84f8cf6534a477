// Drawing calls onto the pixels of an RGB32 image. One-pixel lines, solid
// wide lines and patterned fills combine their pixels by hand, where Qt's
// drawing differs from the Windows one; the rest goes through QPainter without
// antialiasing, so that Qt's raster operations give the bitwise pen modes.
#include "render/gfx/ColorConvert.h"
#include "render/gfx/Canvas.h"
#include "render/gfx/Fonts.h"
#include "render/gfx/ThinLines.h"
#include "render/gfx/WideLines.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

QRect ToQRect(const TRect& r)
{
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

QPainter::CompositionMode CompositionOf(TPenMode mode)
{
    switch (mode) {
    case TPenMode::Mask:
        return QPainter::RasterOp_SourceAndDestination;
    case TPenMode::Xor:
        return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::Merge:
        return QPainter::RasterOp_SourceOrDestination;
    case TPenMode::Copy:
        break;
    }
    return QPainter::CompositionMode_Source;
}

// One pixel combined by a pen mode; the alpha byte of RGB32 stays opaque.
QRgb Combine(TPenMode mode, QRgb src, QRgb dst)
{
    switch (mode) {
    case TPenMode::Mask:
        return (src & dst) | 0xFF000000u;
    case TPenMode::Xor:
        return ((src ^ dst) & 0x00FFFFFFu) | 0xFF000000u;
    case TPenMode::Merge:
        return src | dst | 0xFF000000u;
    case TPenMode::Copy:
        break;
    }
    return src | 0xFF000000u;
}

// Cosmetic dashes are in pixels; geometric ones in pen widths.
QVector<qreal> DashesOf(TPenStyle style, bool cosmetic)
{
    switch (style) {
    case TPenStyle::Dash:
        return cosmetic ? QVector<qreal>{18, 6} : QVector<qreal>{3, 1};
    case TPenStyle::Dot:
        return cosmetic ? QVector<qreal>{3, 3} : QVector<qreal>{1, 1};
    case TPenStyle::DashDot:
        return cosmetic ? QVector<qreal>{9, 6, 3, 6} : QVector<qreal>{3, 1, 1, 1};
    case TPenStyle::Solid:
    case TPenStyle::Clear:
        break;
    }
    return {};
}

QPen ToQPen(const TPen& pen)
{
    QPen q(ToQColor(pen.Color));
    if (pen.IsCosmetic()) {
        // A flat cap leaves out the last pixel of a one-pixel line.
        q.setWidth(0);
        q.setCapStyle(Qt::FlatCap);
    } else {
        q.setWidth(std::max(1, pen.Width));
        q.setCapStyle(pen.Geometric && pen.Cap == TPenCap::Flat ? Qt::FlatCap : Qt::RoundCap);
    }
    q.setJoinStyle(Qt::RoundJoin);
    // Wide pens that are not geometric always draw solid.
    const bool styled = pen.IsCosmetic() || pen.Geometric;
    const QVector<qreal> dashes = styled ? DashesOf(pen.Style, pen.IsCosmetic()) : QVector<qreal>{};
    if (!dashes.isEmpty())
        q.setDashPattern(dashes);
    return q;
}

bool HatchBit(TBrushStyle style, int x, int y)
{
    const bool horizontal = (y & 7) == 0;
    const bool vertical = (x & 7) == 0;
    const bool falling = ((x - y) & 7) == 0;
    const bool rising = ((x + y) & 7) == 7;
    switch (style) {
    case TBrushStyle::Horizontal:
        return horizontal;
    case TBrushStyle::Vertical:
        return vertical;
    case TBrushStyle::FDiagonal:
        return falling;
    case TBrushStyle::BDiagonal:
        return rising;
    case TBrushStyle::Cross:
        return horizontal || vertical;
    case TBrushStyle::DiagCross:
        return falling || rising;
    default:
        return false;
    }
}

int PositiveMod(int a, int n)
{
    const int m = a % n;
    return m < 0 ? m + n : m;
}

// The outline of a Windows box: the pen runs through the last pixel inside.
QRectF OutlineRect(const TRect& box)
{
    return QRectF(box.Left, box.Top, box.Width() - 1, box.Height() - 1);
}

// The angle in degrees, counter-clockwise with y downwards, of the ray from
// the box's centre through p.
qreal RayAngle(const QRectF& r, const QPoint& p)
{
    const QPointF c = r.center();
    return std::atan2(-(p.y() - c.y()), p.x() - c.x()) * 180.0 / std::numbers::pi;
}

QPainterPath ShapePath(const TDrawCommand& c)
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    const QRectF r = OutlineRect(c.Box);
    switch (c.Op) {
    case TDrawOp::Polygon: {
        QPolygonF polygon;
        for (const QPoint& p : c.Points)
            polygon << QPointF(p);
        path.addPolygon(polygon);
        path.closeSubpath();
        break;
    }
    case TDrawOp::PolyBezier:
        path.moveTo(c.Points.front());
        for (size_t i = 0; i + 3 < c.Points.size(); i += 3)
            path.cubicTo(c.Points[i + 1], c.Points[i + 2], c.Points[i + 3]);
        break;
    case TDrawOp::Ellipse:
        path.addEllipse(r);
        break;
    case TDrawOp::Rectangle:
        path.addRect(r);
        break;
    case TDrawOp::RoundRect:
        path.addRoundedRect(r, c.Corner.width() / 2.0, c.Corner.height() / 2.0);
        break;
    case TDrawOp::Pie:
    case TDrawOp::Chord:
    case TDrawOp::Arc: {
        const qreal start = RayAngle(r, c.Points[0]);
        qreal span = RayAngle(r, c.Points[1]) - start;
        if (span <= 0)
            span += 360;
        if (c.Op == TDrawOp::Pie)
            path.moveTo(r.center());
        else
            path.arcMoveTo(r, start);
        path.arcTo(r, start, span);
        if (c.Op != TDrawOp::Arc)
            path.closeSubpath();
        break;
    }
    default:
        break;
    }
    return path;
}

bool IsClosedShape(TDrawOp op)
{
    return op != TDrawOp::Polyline && op != TDrawOp::PolyBezier && op != TDrawOp::Arc;
}

class TRasterDevice final : public TDrawDevice {
public:
    TRasterDevice(QImage& image, QPoint patternOrigin)
        : image_(image)
        , patternOrigin_(patternOrigin)
    {
    }

    TRect Bounds() const override { return {0, 0, image_.width(), image_.height()}; }

    bool SetPixelDirectly(int x, int y, TColor color, const std::optional<TRect>& clip) override
    {
        if (image_.isNull() || image_.format() != QImage::Format_RGB32)
            return false;
        if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height() || (clip && !clip->Contains(x, y)))
            return true;
        reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = ToQRgb(color);
        return true;
    }

    void Execute(const TDrawCommand& c, const TDrawState& s) override
    {
        if (image_.isNull())
            return;
        if (image_.format() != QImage::Format_RGB32)
            image_ = image_.convertToFormat(QImage::Format_RGB32);
        const TRect clip = s.Clip ? IntersectRects(*s.Clip, Bounds()) : Bounds();
        if (clip.IsEmpty())
            return;
        switch (c.Op) {
        case TDrawOp::Pixel:
            if (clip.Contains(c.At.x(), c.At.y()))
                image_.setPixel(c.At, ToQRgb(c.Color));
            return;
        case TDrawOp::FillRect:
            FillRect(c.Box, s.Brush, clip);
            return;
        case TDrawOp::Text:
            DrawText(c, s.Font, clip);
            return;
        case TDrawOp::Image:
            DrawImage(c, clip);
            return;
        case TDrawOp::Polyline:
            DrawPolyline(c.Points, s.Pen, clip);
            return;
        default:
            DrawShape(c, s, clip);
            return;
        }
    }

private:
    void Begin(QPainter& p, const TRect& clip)
    {
        p.begin(&image_);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (clip != Bounds())
            p.setClipRect(ToQRect(clip));
    }

    void DrawPolyline(const std::vector<QPoint>& points, const TPen& pen, const TRect& clip)
    {
        if (pen.Style == TPenStyle::Clear)
            return;
        if (std::all_of(points.begin(), points.end(), [&](const QPoint& p) { return p == points.front(); })) {
            DrawDot(points.front(), pen, clip);
            return;
        }
        if (pen.IsCosmetic()) {
            DrawThinPolyline(points, pen, clip);
            return;
        }
        if (!pen.Geometric || pen.Style == TPenStyle::Solid) {
            DrawStroke(pen, clip, [&](TSpanRows& spans) { AddWidePolyline(spans, points, std::max(1, pen.Width), RoundEnds(pen)); });
            return;
        }
        QPainter p;
        Begin(p, clip);
        p.setCompositionMode(CompositionOf(pen.Mode));
        p.setPen(ToQPen(pen));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(points.data(), static_cast<int>(points.size()));
    }

    // Qt leaves out the last pixel of a thin line at its lower right end
    // whichever way it runs; Windows leaves out the end it runs to.
    void DrawThinPolyline(std::span<const QPoint> points, const TPen& pen, const TRect& clip)
    {
        image_.detach();
        const QRgb color = ToQRgb(pen.Color);
        const QVector<qreal> dashes = DashesOf(pen.Style, true);
        std::vector<int> runs(dashes.begin(), dashes.end());
        uchar* bits = image_.bits();
        const qsizetype stride = image_.bytesPerLine();
        RasterizeThinPolyline(points, runs, clip, [&](int x, int y) {
            auto* pixel = reinterpret_cast<QRgb*>(bits + y * stride) + x;
            *pixel = Combine(pen.Mode, color, *pixel);
        });
    }

    // A line of no length: one pixel for a thin pen, a disc for a wide
    // round-ended one, nothing for flat ends.
    void DrawDot(const QPoint& at, const TPen& pen, const TRect& clip)
    {
        if (pen.IsCosmetic()) {
            if (clip.Contains(at.x(), at.y()))
                image_.setPixel(at, Combine(pen.Mode, ToQRgb(pen.Color), image_.pixel(at)));
            return;
        }
        if (!RoundEnds(pen))
            return;
        DrawStroke(pen, clip, [&](TSpanRows& spans) { AddDisc(spans, at, pen.Width); });
    }

    static bool RoundEnds(const TPen& pen) { return !(pen.Geometric && pen.Cap == TPenCap::Flat); }

    // The pixels add(spans) puts into the span rows, combined by the pen.
    template <class AddStroke>
    void DrawStroke(const TPen& pen, const TRect& clip, AddStroke&& add)
    {
        const QRgb color = ToQRgb(pen.Color);
        switch (pen.Mode) {
        case TPenMode::Copy:
            return DrawStrokeIn<TPenMode::Copy>(clip, color, add);
        case TPenMode::Mask:
            return DrawStrokeIn<TPenMode::Mask>(clip, color, add);
        case TPenMode::Xor:
            return DrawStrokeIn<TPenMode::Xor>(clip, color, add);
        case TPenMode::Merge:
            return DrawStrokeIn<TPenMode::Merge>(clip, color, add);
        }
    }

    // One loop per pen mode, so that the mode is not decided at every pixel.
    template <TPenMode Mode, class AddStroke>
    void DrawStrokeIn(const TRect& clip, QRgb color, AddStroke& add)
    {
        spans_.Reset(clip);
        add(spans_);
        uchar* bits = image_.bits(); // detaches
        const qsizetype stride = image_.bytesPerLine();
        spans_.ForEach([&](int y, int x0, int x1) {
            auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
            for (int x = x0; x < x1; ++x)
                row[x] = Combine(Mode, color, row[x]);
        });
    }

    void DrawShape(const TDrawCommand& c, const TDrawState& s, const TRect& clip)
    {
        const bool byPoints = c.Op == TDrawOp::Polygon || c.Op == TDrawOp::PolyBezier;
        if (byPoints ? c.Points.empty() : c.Box.IsEmpty())
            return;
        const QPainterPath path = ShapePath(c);
        if (IsClosedShape(c.Op))
            FillPath(path, s.Brush, s.Pen.Mode, clip);
        if (s.Pen.Style == TPenStyle::Clear)
            return;
        if (c.Op == TDrawOp::Polygon && s.Pen.IsCosmetic()) {
            std::vector<QPoint> closed = c.Points;
            closed.push_back(c.Points.front());
            DrawThinPolyline(closed, s.Pen, clip);
            return;
        }
        QPainter p;
        Begin(p, clip);
        p.setCompositionMode(CompositionOf(s.Pen.Mode));
        p.setPen(ToQPen(s.Pen));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }

    void FillPath(const QPainterPath& path, const TBrush& brush, TPenMode mode, const TRect& clip)
    {
        if (brush.Style == TBrushStyle::Clear)
            return;
        if (brush.Style == TBrushStyle::Solid) {
            QPainter p;
            Begin(p, clip);
            p.setCompositionMode(CompositionOf(mode));
            p.setPen(Qt::NoPen);
            p.setBrush(ToQColor(brush.Color));
            p.drawPath(path);
            return;
        }
        FillPatterned(path, brush, mode, clip);
    }

    // Hatches and pattern bitmaps: the shape's pixels are found on a mask,
    // then each pixel the pattern sets is combined by hand, so that hatches
    // stay transparent and follow the pen mode.
    void FillPatterned(const QPainterPath& path, const TBrush& brush, TPenMode mode, const TRect& clip)
    {
        if (brush.Style == TBrushStyle::Bitmap && brush.Pattern.isNull())
            return;
        const QRect box = path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1) & ToQRect(clip);
        if (box.isEmpty())
            return;
        QImage mask(box.size(), QImage::Format_Grayscale8);
        mask.fill(0);
        {
            QPainter m(&mask);
            m.setRenderHint(QPainter::Antialiasing, false);
            m.translate(-box.left(), -box.top());
            m.setPen(Qt::NoPen);
            m.setBrush(Qt::white);
            m.drawPath(path);
        }
        const QImage pattern =
            brush.Style == TBrushStyle::Bitmap ? brush.Pattern.convertToFormat(QImage::Format_RGB32) : QImage();
        const QRgb hatchColor = ToQRgb(brush.Color);
        for (int y = 0; y < box.height(); ++y) {
            const uchar* inside = mask.constScanLine(y);
            const int dy = box.top() + y;
            auto* row = reinterpret_cast<QRgb*>(image_.scanLine(dy));
            for (int x = 0; x < box.width(); ++x) {
                if (!inside[x])
                    continue;
                const int dx = box.left() + x;
                const int px = dx + patternOrigin_.x();
                const int py = dy + patternOrigin_.y();
                QRgb src;
                if (pattern.isNull()) {
                    if (!HatchBit(brush.Style, px, py))
                        continue;
                    src = hatchColor;
                } else {
                    src = pattern.pixel(PositiveMod(px, pattern.width()), PositiveMod(py, pattern.height()));
                }
                row[dx] = Combine(mode, src, row[dx]);
            }
        }
    }

    void FillRect(const TRect& rect, const TBrush& brush, const TRect& clip)
    {
        const TRect area = IntersectRects(rect, clip);
        if (area.IsEmpty() || brush.Style == TBrushStyle::Clear)
            return;
        if (brush.Style == TBrushStyle::Solid) {
            image_.detach();
            const QRgb color = ToQRgb(brush.Color);
            for (int y = area.Top; y < area.Bottom; ++y) {
                auto* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
                std::fill(row + area.Left, row + area.Right, color);
            }
            return;
        }
        QPainterPath path;
        path.addRect(ToQRect(area));
        FillPatterned(path, brush, TPenMode::Copy, clip);
    }

    void DrawText(const TDrawCommand& c, const TFont& font, const TRect& clip)
    {
        const QFont q = ToQFont(font);
        QPainter p;
        Begin(p, clip);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setFont(q);
        p.setPen(ToQColor(font.Color));
        p.drawText(QPoint(c.At.x(), c.At.y() + QFontMetrics(q).ascent()), c.Text);
    }

    void DrawImage(const TDrawCommand& c, const TRect& clip)
    {
        QImage source;
        QPainter::CompositionMode composition = QPainter::CompositionMode_Source;
        switch (c.ImageMode) {
        case TImageMode::Copy:
            source = c.Image.convertToFormat(QImage::Format_RGB32);
            break;
        case TImageMode::And:
            source = c.Image.convertToFormat(QImage::Format_RGB32);
            composition = QPainter::RasterOp_SourceAndDestination;
            break;
        case TImageMode::WhiteTransparent:
            source = WhiteToTransparent(c.Image);
            composition = QPainter::CompositionMode_SourceOver;
            break;
        }
        QPainter p;
        Begin(p, clip);
        p.setCompositionMode(composition);
        p.drawImage(ToQRect(c.Box), source);
    }

    static QImage WhiteToTransparent(const QImage& image)
    {
        QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(argb.scanLine(y));
            for (int x = 0; x < argb.width(); ++x)
                if ((row[x] & 0x00FFFFFFu) == 0x00FFFFFFu)
                    row[x] = 0;
        }
        return argb;
    }

    QImage& image_;
    QPoint patternOrigin_;
    TSpanRows spans_; // reused between calls
};

} // namespace

TCanvas MakeImageCanvas(QImage& image, QPoint patternOrigin)
{
    return TCanvas(std::make_unique<TRasterDevice>(image, patternOrigin));
}
