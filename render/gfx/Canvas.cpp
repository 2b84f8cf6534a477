#include "render/gfx/Canvas.h"

#include "render/gfx/Metafile.h"
#include "render/gfx/TextMetrics.h"

#include <algorithm>
#include <utility>

namespace {

// Boxes are taken either way round, as Windows takes them.
TRect NormalizedBox(int left, int top, int right, int bottom)
{
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

} // namespace

TCanvas::TCanvas(std::unique_ptr<TDrawDevice> device)
    : device_(std::move(device))
{
}

TCanvas::~TCanvas() = default;
TCanvas::TCanvas(TCanvas&&) noexcept = default;
TCanvas& TCanvas::operator=(TCanvas&&) noexcept = default;

void TCanvas::RestoreTools(const TTools& tools)
{
    Pen = tools.Pen;
    Brush = tools.Brush;
    Font = tools.Font;
}

TRect TCanvas::Bounds() const
{
    return device_->Bounds();
}

void TCanvas::Execute(const TDrawCommand& command, TDrawState state)
{
    if (clip_)
        state.Clip = state.Clip ? IntersectRects(*state.Clip, *clip_) : *clip_;
    device_->Execute(command, state);
}

void TCanvas::Submit(TDrawCommand&& command)
{
    device_->Execute(command, TDrawState{Pen, Brush, Font, clip_});
}

void TCanvas::SubmitPoints(TDrawOp op, std::span<const QPoint> points)
{
    if (points.empty())
        return;
    TDrawCommand c;
    c.Op = op;
    c.Points.assign(points.begin(), points.end());
    Submit(std::move(c));
}

void TCanvas::SubmitShape(TDrawOp op, int left, int top, int right, int bottom)
{
    TDrawCommand c;
    c.Op = op;
    c.Box = NormalizedBox(left, top, right, bottom);
    Submit(std::move(c));
}

void TCanvas::SubmitArcShape(TDrawOp op, int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    TDrawCommand c;
    c.Op = op;
    c.Box = NormalizedBox(left, top, right, bottom);
    c.Points = {QPoint(x3, y3), QPoint(x4, y4)};
    Submit(std::move(c));
}

void TCanvas::LineTo(int x, int y)
{
    const QPoint line[2] = {PenPos, QPoint(x, y)};
    SubmitPoints(TDrawOp::Polyline, line);
    PenPos = QPoint(x, y);
}

void TCanvas::Polyline(std::span<const QPoint> points)
{
    SubmitPoints(TDrawOp::Polyline, points);
}

void TCanvas::Polygon(std::span<const QPoint> points)
{
    SubmitPoints(TDrawOp::Polygon, points);
}

void TCanvas::PolyBezier(std::span<const QPoint> points)
{
    SubmitPoints(TDrawOp::PolyBezier, points);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    SubmitShape(TDrawOp::Ellipse, left, top, right, bottom);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    SubmitShape(TDrawOp::Rectangle, left, top, right, bottom);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    TDrawCommand c;
    c.Op = TDrawOp::RoundRect;
    c.Box = NormalizedBox(left, top, right, bottom);
    c.Corner = QSize(cornerWidth, cornerHeight);
    Submit(std::move(c));
}

void TCanvas::Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    SubmitArcShape(TDrawOp::Pie, left, top, right, bottom, x3, y3, x4, y4);
}

void TCanvas::Chord(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    SubmitArcShape(TDrawOp::Chord, left, top, right, bottom, x3, y3, x4, y4);
}

void TCanvas::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4)
{
    SubmitArcShape(TDrawOp::Arc, left, top, right, bottom, x3, y3, x4, y4);
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    if (device_->SetPixelDirectly(x, y, color, clip_))
        return;
    TDrawCommand c;
    c.Op = TDrawOp::Pixel;
    c.At = QPoint(x, y);
    c.Color = color;
    Submit(std::move(c));
}

void TCanvas::FillRect(const TRect& rect)
{
    TDrawCommand c;
    c.Op = TDrawOp::FillRect;
    c.Box = rect;
    Submit(std::move(c));
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    if (text.isEmpty())
        return;
    TDrawCommand c;
    c.Op = TDrawOp::Text;
    c.At = QPoint(x, y);
    c.Text = text;
    Submit(std::move(c));
}

int TCanvas::TextWidth(const QString& text) const
{
    return CurrentTextMetrics().TextWidth(Font, text);
}

int TCanvas::TextHeight(const QString& text) const
{
    return CurrentTextMetrics().TextHeight(Font, text);
}

void TCanvas::SubmitImage(const TRect& dest, const QImage& image, TImageMode mode)
{
    if (image.isNull() || dest.IsEmpty())
        return;
    TDrawCommand c;
    c.Op = TDrawOp::Image;
    c.Box = dest;
    c.Image = image;
    c.ImageMode = mode;
    Submit(std::move(c));
}

void TCanvas::Draw(int x, int y, const QImage& image)
{
    StretchDraw({x, y, x + image.width(), y + image.height()}, image);
}

void TCanvas::StretchDraw(const TRect& dest, const QImage& image)
{
    SubmitImage(dest, image, CopyMode == TCopyMode::SrcAnd ? TImageMode::And : TImageMode::Copy);
}

void TCanvas::DrawTransparent(int x, int y, const QImage& image)
{
    SubmitImage({x, y, x + image.width(), y + image.height()}, image, TImageMode::WhiteTransparent);
}

void TCanvas::Draw(int x, int y, const TMetafile& metafile)
{
    PlayMetafile(metafile, *this, {x, y, x + metafile.Width + 1, y + metafile.Height + 1});
}

void TCanvas::StretchDraw(const TRect& dest, const TMetafile& metafile)
{
    PlayMetafile(metafile, *this, dest);
}
