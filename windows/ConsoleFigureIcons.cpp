#include "windows/ConsoleFigureIcons.h"

#include "dialogs/FormLook.h"
#include "render/gfx/Bitmap.h"
#include "render/gfx/ColorConvert.h"
#include "render/plot/BrushPattern.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace {

constexpr QPoint IconOrigin{10, 1};
constexpr int IconWidth = 40;
constexpr int IconHeight = 16;

// The icon's outline in a 40 × 16 box, one shape per figure kind.
QPainterPath IconPath(std::uint8_t kind)
{
    QPainterPath path;
    switch (kind) {
    case FigureSegment:
    case FigureLine:
    case FigureHalfLine:
        path.moveTo(kind == FigureSegment ? 6 : 0, 13);
        path.lineTo(kind == FigureLine || kind == FigureHalfLine ? 40 : 34, 3);
        break;
    case FigureArrow:
        path.moveTo(4, 13);
        path.lineTo(34, 3);
        path.moveTo(26, 2);
        path.lineTo(34, 3);
        path.lineTo(29, 9);
        break;
    case FigureRectangle:
        path.addRect(6, 3, 28, 10);
        break;
    case FigurePolyline:
        path.moveTo(2, 13);
        path.lineTo(12, 3);
        path.lineTo(24, 11);
        path.lineTo(38, 2);
        break;
    case FigurePolygon:
        path.moveTo(4, 13);
        path.lineTo(14, 2);
        path.lineTo(34, 4);
        path.lineTo(30, 14);
        path.closeSubpath();
        break;
    case FigureAngle:
        path.moveTo(34, 2);
        path.lineTo(6, 13);
        path.lineTo(36, 13);
        path.moveTo(6, 13);
        path.arcTo(-10, -3, 32, 32, 0, 22);
        path.closeSubpath();
        break;
    case FigureArc:
        path.moveTo(20, 14);
        path.arcTo(6, 2, 28, 24, 0, 180);
        path.closeSubpath();
        break;
    case FigureBezier:
        path.moveTo(2, 13);
        path.cubicTo(12, -6, 28, 22, 38, 3);
        break;
    default:
        path.moveTo(4, 3);
        path.quadTo(0, 8, 4, 13);
        path.moveTo(36, 3);
        path.quadTo(40, 8, 36, 13);
        break;
    }
    return path;
}

} // namespace

QImage FigureRowPicture(const TFigureRowModel& row, QSize size)
{
    const QSize area = size.expandedTo(QSize(1, 1));
    TBitmap bitmap(area.width(), area.height());
    const QPainterPath path = IconPath(row.Kind);
    // The inside in the figure's fill colour and pattern, as the graph fills it.
    if (row.Filled) {
        TCanvas& canvas = bitmap.Canvas();
        canvas.Pen.Style = TPenStyle::Clear;
        canvas.Brush.Color = row.InsideColor;
        SetBrushPattern(canvas.Brush, row.Pattern);
        const QPolygon inside = path.toFillPolygon().toPolygon().translated(IconOrigin);
        canvas.Polygon(std::span<const QPoint>(inside.constData(), static_cast<std::size_t>(inside.size())));
    }
    QImage image = bitmap.Image();
    QPainter painter(&image);
    painter.translate(IconOrigin);
    painter.setClipRect(0, 0, IconWidth, IconHeight);
    // A wide figure shows a double line in its colour; a thin one a single
    // line with white beside it.
    painter.setPen(QPen(ToQColor(row.SecondLineColor), 3));
    painter.drawPath(path);
    painter.setPen(QPen(ToQColor(row.Color), 1));
    painter.drawPath(path);
    painter.resetTransform();
    painter.setClipping(false);
    QFont font = FormFont();
    font.setBold(true);
    font.setPixelSize(std::max(10, size.height() - 6));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(60, 2, std::max(0, size.width() - 60), size.height() - 2), Qt::AlignLeft | Qt::AlignTop,
                     row.VertexLetters);
    return image;
}
