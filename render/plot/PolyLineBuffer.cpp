#include "render/plot/PolyLineBuffer.h"

TVPolyLine PolyLineBuffer;

void ResetPolyLineBuffer()
{
    PolyLineBuffer.Reset();
}

void TVPolyLine::Reset()
{
    Init(nullptr, nullptr, false, false, 0, TPolyFill::None, 0, 0, TPenSettings{});
}

void TVPolyLine::Init(TCanvas* first, TCanvas* second, bool onSecond, bool skipMain, std::uint8_t drawFlags,
                      TPolyFill fillMode, int baseX, int baseY, const TPenSettings& settings)
{
    count_ = 0;
    canvases_ = {first, second, onSecond, skipMain};
    drawFlags_ = drawFlags;
    fillMode_ = fillMode;
    baseX_ = baseX;
    baseY_ = baseY;
    settings_ = settings;
}

void TVPolyLine::AddPoint(int x, int y)
{
    if (count_ < Capacity)
        points_[static_cast<size_t>(count_++)] = QPoint(x, y);
}

void TVPolyLine::Add(int x, int y)
{
    Flush();
    AddPoint(x, y);
}

void TVPolyLine::Flush()
{
    if (count_ == 0)
        return;
    if (count_ == 1) {
        // A zero-length line: a dot of the pen's width and ends.
        points_[1] = points_[0];
        count_ = 2;
    }
    if (TCanvas* main = canvases_.Main())
        Draw(*main);
    if (TCanvas* trace = canvases_.Trace()) {
        if (settings_.AimgOfArea)
            Draw(*trace);
        else
            DrawPolyline(*trace, Points(), settings_);
    }
    count_ = 0;
}

bool TVPolyLine::BrushShows(const TBrush& brush)
{
    if (brush.Style == TBrushStyle::Bitmap)
        return !brush.Pattern.isNull();
    return brush.Style != TBrushStyle::Clear && !IsWhiteColor(brush.Color);
}

int TVPolyLine::CloseForFill()
{
    const QPoint first = points_[0];
    const QPoint last = points_[static_cast<size_t>(count_ - 1)];
    auto* end = points_.data() + count_;
    switch (fillMode_) {
    case TPolyFill::Fan:
        *end++ = QPoint(baseX_, baseY_);
        break;
    case TPolyFill::ToBaseY:
        *end++ = QPoint(last.x(), baseY_);
        *end++ = QPoint(first.x(), baseY_);
        break;
    case TPolyFill::ToBaseX:
        *end++ = QPoint(baseX_, last.y());
        *end++ = QPoint(baseX_, first.y());
        break;
    case TPolyFill::None:
        break;
    }
    return static_cast<int>(end - points_.data());
}

void TVPolyLine::Draw(TCanvas& canvas)
{
    if (count_ == 0)
        return;
    if (drawFlags_ & DrawOutline)
        DrawPolyline(canvas, Points(), settings_); // nothing with a clear or white pen
    if ((drawFlags_ & DrawFill) && BrushShows(canvas.Brush)) {
        const TPenStyle style = canvas.Pen.Style;
        canvas.Pen.Style = TPenStyle::Clear;
        const int n = CloseForFill();
        canvas.Polygon(std::span<const QPoint>(points_.data(), static_cast<size_t>(n)));
        canvas.Pen.Style = style;
    }
}
