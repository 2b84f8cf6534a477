#include "model/Figures.h"

#include <algorithm>

TSegments Segments;

int UsedVertexCount(const Tsegment& figure)
{
    switch (figure.Kind) {
    case FigureSegment:
    case FigureLine:
    case FigureArrow:
    case FigureRectangle:
    case FigureHalfLine:
    case FigureBrace:
        return 2;
    case FigureAngle:
    case FigureArc:
    case FigureRightAngle:
        return 3;
    case FigurePolyline:
    case FigurePolygon:
    case FigureBezier: {
        int n = 0;
        while (n < FigureVertexCount && figure.Vertices[n + 1] != 0)
            ++n;
        return std::max(n, 3);
    }
    default:
        return 0;
    }
}

void ShiftFigureColoursDown(TFigureColours& colours, int s)
{
    if (!TFigureColours::inRange(s))
        return;
    for (int i = s; i < SegmentCount; ++i)
        colours[i] = colours[i + 1];
    colours[SegmentCount] = NoTraceColor;
}

Tsegment TSegments::GetItem(int s) const
{
    if (s < 1 || s > Data.Count)
        return Tsegment{};
    return Data.Items[s];
}

int TSegments::FindLastUsing(int k) const
{
    for (int s = Data.Count; s >= 1; --s) {
        if (CountVertexRefs(k, Data.Items[s].Vertices) > 0)
            return s;
    }
    return 0;
}

bool TSegments::Append(int k1, int k2, TColor color, int width, int lineStyle)
{
    if (Data.Count >= SegmentCount)
        return false;
    Tsegment& f = Data.Items[++Data.Count];
    f = Tsegment{};
    f.Vertices[1] = static_cast<std::uint8_t>(k1);
    f.Vertices[2] = static_cast<std::uint8_t>(k2);
    f.Kind = FigureSegment;
    f.Color = color;
    f.Width = static_cast<std::uint8_t>(std::clamp(width, 0, 255));
    f.LineStyle = static_cast<std::uint8_t>(std::clamp(lineStyle, 0, 255));
    return true;
}

bool TSegments::Remove(int s)
{
    if (s < 1 || s > Data.Count)
        return false;
    for (int i = s; i < Data.Count; ++i)
        Data.Items[i] = Data.Items[i + 1];
    Data.Items[Data.Count] = Tsegment{};
    --Data.Count;
    return true;
}

void TSegments::TakeTraceColours(const TFigureColours& colours, const TFigureColours& fills)
{
    for (int s = 1; s <= Data.Count; ++s) {
        Tsegment& f = Data.Items[s];
        f.AfterImage = IsWhiteColor(colours[s]) ? 0 : 1;
        f.Color = colours[s];
        f.InsideColor = fills[s];
    }
}
