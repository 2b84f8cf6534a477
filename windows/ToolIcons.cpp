// Every tool picture is drawn on a 16 x 16 grid and scaled to the pixmap's
// size; one-pixel lines lie on half units so that they fill whole pixels.
#include "windows/ToolIcons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <cmath>
#include <numbers>
#include <span>
#include <utility>

namespace {

const QColor Ink(0x30, 0x30, 0x30);
const QColor Accent(0x1E, 0x64, 0xC8);
const QColor Warning(0xC8, 0x28, 0x28);
const QColor Paper(0xFF, 0xFF, 0xFF);
const QColor Sky(0xBF, 0xDC, 0xF5);
const QColor Hill(0x4C, 0x9A, 0x4C);
const QColor Sun(0xF0, 0xB4, 0x1E);
const QColor Shade(0x1E, 0x64, 0xC8, 0x60);

QPen Stroke(const QColor& colour, qreal width = 1.0)
{
    return QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

void Line(QPainter& p, const QColor& colour, QPointF from, QPointF to, qreal width = 1.0)
{
    p.setPen(Stroke(colour, width));
    p.drawLine(from, to);
}

// A filled arrow head with its tip at `tip`, pointing along `angle` degrees
// (0 right, 90 down).
void ArrowHead(QPainter& p, const QColor& colour, QPointF tip, qreal angle, qreal length = 3.5)
{
    const qreal a = angle * std::numbers::pi / 180.0;
    const QPointF back(-std::cos(a) * length, -std::sin(a) * length);
    const QPointF side(-std::sin(a) * length * 0.75, std::cos(a) * length * 0.75);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF{tip, tip + back + side, tip + back - side});
    p.setBrush(Qt::NoBrush);
}

void Arrow(QPainter& p, const QColor& colour, QPointF from, QPointF to)
{
    const QPointF d = to - from;
    const qreal length = std::hypot(d.x(), d.y());
    const qreal angle = std::atan2(d.y(), d.x()) * 180.0 / std::numbers::pi;
    // The shaft stops inside the head so that the tip stays sharp.
    Line(p, colour, from, to - d / length * 2.0);
    ArrowHead(p, colour, to, angle);
}

void DrawMagnifier(QPainter& p, bool plus)
{
    p.setPen(Stroke(Ink, 1.5));
    p.setBrush(Paper);
    p.drawEllipse(QPointF(6.5, 6.5), 4.75, 4.75);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ink, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.2, 10.2), QPointF(14.2, 14.2));
    Line(p, Accent, QPointF(4.0, 6.5), QPointF(9.0, 6.5), 1.5);
    if (plus)
        Line(p, Accent, QPointF(6.5, 4.0), QPointF(6.5, 9.0), 1.5);
}

void DrawMove(QPainter& p)
{
    Arrow(p, Ink, QPointF(8, 8), QPointF(8, 0.8));
    Arrow(p, Ink, QPointF(8, 8), QPointF(8, 15.2));
    Arrow(p, Ink, QPointF(8, 8), QPointF(0.8, 8));
    Arrow(p, Ink, QPointF(8, 8), QPointF(15.2, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawEllipse(QPointF(8, 8), 1.8, 1.8);
}

// "1:1" in strokes: two ones with a colon between them.
void DrawEqualScale(QPainter& p)
{
    for (qreal x : {3.5, 12.5}) {
        Line(p, Ink, QPointF(x, 3), QPointF(x, 13), 1.5);
        Line(p, Ink, QPointF(x - 2.2, 5.2), QPointF(x, 3), 1.5);
        Line(p, Ink, QPointF(x - 2, 13), QPointF(x + 2, 13), 1.0);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Accent);
    p.drawRect(QRectF(7, 5, 2, 2));
    p.drawRect(QRectF(7, 10, 2, 2));
}

// A curved arrow bending back to the left (undo) or on to the right (redo).
void DrawTurnArrow(QPainter& p, bool back)
{
    if (!back) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    QPainterPath path;
    path.moveTo(13.5, 13.0);
    path.cubicTo(14.5, 7.0, 10.0, 4.5, 4.5, 5.5);
    p.setPen(QPen(Accent, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    ArrowHead(p, Accent, QPointF(1.0, 6.0), 175.0, 5.0);
}

void DrawGear(QPainter& p)
{
    const QPointF centre(8, 8);
    QPolygonF outline;
    constexpr int Teeth = 8;
    for (int i = 0; i < Teeth * 4; ++i) {
        const qreal radius = (i % 4 < 2) ? 7.2 : 5.2;
        const qreal angle = (i - 0.5) * 2.0 * std::numbers::pi / (Teeth * 4);
        outline << centre + QPointF(std::cos(angle) * radius, std::sin(angle) * radius);
    }
    QPainterPath gear;
    gear.addPolygon(outline);
    gear.closeSubpath();
    gear.addEllipse(centre, 2.3, 2.3);
    p.setPen(Stroke(Ink, 1.0));
    p.setBrush(QColor(0x8C, 0x8C, 0x8C));
    p.drawPath(gear);
}

void DrawAxes(QPainter& p)
{
    Arrow(p, Ink, QPointF(3.5, 15), QPointF(3.5, 0.8));
    Arrow(p, Ink, QPointF(1, 12.5), QPointF(15.2, 12.5));
}

void DrawTicks(QPainter& p)
{
    Line(p, Ink, QPointF(7.5, 1), QPointF(7.5, 15));
    Line(p, Ink, QPointF(1, 8.5), QPointF(15, 8.5));
    for (qreal t : {2.5, 4.5, 10.5, 12.5}) {
        Line(p, Accent, QPointF(t + 1.0, 6.5), QPointF(t + 1.0, 11));
        Line(p, Accent, QPointF(5, t), QPointF(10, t));
    }
}

// A large and a small "A", for the size of the axis labels.
void DrawLabelSize(QPainter& p)
{
    p.setPen(QPen(Ink, 1.6, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolyline(QPolygonF{QPointF(1, 14.5), QPointF(5.5, 1.5), QPointF(10, 14.5)});
    p.drawLine(QPointF(2.8, 9.8), QPointF(8.2, 9.8));
    p.setPen(QPen(Accent, 1.2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawPolyline(QPolygonF{QPointF(10.5, 14.5), QPointF(13, 7.5), QPointF(15.5, 14.5)});
    p.drawLine(QPointF(11.5, 12), QPointF(14.5, 12));
}

// An axis with its marks; the arrows squeeze the marks closer or spread
// them wider.
void DrawDivisions(QPainter& p, bool closer, bool vertical)
{
    if (vertical) {
        p.translate(0, 16);
        p.rotate(-90);
    }
    Line(p, Ink, QPointF(0.5, 13.5), QPointF(15.5, 13.5));
    // Arrays that outlive the choice: a braced list's array would end with
    // the statement that made it.
    static constexpr qreal closeMarks[] = {1.5, 4.5, 7.5, 10.5, 13.5};
    static constexpr qreal wideMarks[] = {1.5, 14.5};
    const std::span<const qreal> marks = closer ? std::span<const qreal>(closeMarks) : std::span<const qreal>(wideMarks);
    for (qreal x : marks)
        Line(p, Ink, QPointF(x, 10.5), QPointF(x, 15.5));
    if (closer) {
        Arrow(p, Accent, QPointF(0.5, 5), QPointF(6.5, 5));
        Arrow(p, Accent, QPointF(15.5, 5), QPointF(9.5, 5));
    } else {
        Arrow(p, Accent, QPointF(6.5, 5), QPointF(0.5, 5));
        Arrow(p, Accent, QPointF(9.5, 5), QPointF(15.5, 5));
    }
}

// A framed landscape: the background picture.
void DrawPicture(QPainter& p, const QRectF& frame)
{
    p.setPen(Stroke(Ink));
    p.setBrush(Sky);
    p.drawRect(frame);
    p.setPen(Qt::NoPen);
    p.setBrush(Sun);
    p.drawEllipse(QPointF(frame.right() - 3.0, frame.top() + 3.0), 1.5, 1.5);
    p.setBrush(Hill);
    p.drawPolygon(QPolygonF{QPointF(frame.left() + 0.5, frame.bottom()),
                            QPointF(frame.left() + frame.width() * 0.4, frame.top() + frame.height() * 0.35),
                            QPointF(frame.right() - 0.5, frame.bottom())});
    p.setBrush(Qt::NoBrush);
}

void DrawFolder(QPainter& p)
{
    p.setPen(Stroke(Ink));
    p.setBrush(Sun);
    p.drawPolygon(QPolygonF{QPointF(8.5, 15.5), QPointF(8.5, 9.5), QPointF(11, 9.5), QPointF(12, 10.5),
                            QPointF(15.5, 10.5), QPointF(15.5, 15.5)});
}

void DrawClipboard(QPainter& p)
{
    p.setPen(Stroke(Ink));
    p.setBrush(QColor(0xC8, 0xA0, 0x6E));
    p.drawRect(QRectF(8.5, 8.5, 7, 7));
    p.setBrush(Paper);
    p.drawRect(QRectF(10.5, 10.5, 3, 4));
    p.setBrush(Ink);
    p.drawRect(QRectF(10.5, 7.5, 3, 1.5));
}

void DrawClearBackground(QPainter& p, bool down)
{
    if (down)
        p.translate(1, 1);
    DrawPicture(p, QRectF(0.5, 2.5, 13, 10));
    p.setPen(QPen(Warning, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.5, 8.5), QPointF(14, 14));
    p.drawLine(QPointF(14, 8.5), QPointF(8.5, 14));
}

// The picture with arrows to the edges it is stretched to.
void DrawStretch(QPainter& p, bool across, bool down)
{
    p.setPen(Stroke(Ink));
    p.setBrush(Sky);
    p.drawRect(QRectF(0.5, 0.5, 15, 15));
    if (across && down) {
        Arrow(p, Accent, QPointF(8, 8), QPointF(2.5, 2.5));
        Arrow(p, Accent, QPointF(8, 8), QPointF(13.5, 13.5));
        Arrow(p, Accent, QPointF(8, 8), QPointF(13.5, 2.5));
        Arrow(p, Accent, QPointF(8, 8), QPointF(2.5, 13.5));
    } else if (across) {
        Arrow(p, Accent, QPointF(8, 8), QPointF(2, 8));
        Arrow(p, Accent, QPointF(8, 8), QPointF(14, 8));
    } else {
        Arrow(p, Accent, QPointF(8, 8), QPointF(8, 2));
        Arrow(p, Accent, QPointF(8, 8), QPointF(8, 14));
    }
}

// Cross hairs on a point: the mouse position read-out.
void DrawPosition(QPainter& p)
{
    p.setPen(Stroke(Ink));
    p.drawEllipse(QPointF(8, 8), 5, 5);
    for (auto [from, to] : {std::pair{QPointF(8, 0.5), QPointF(8, 5.5)}, {QPointF(8, 10.5), QPointF(8, 15.5)},
                            {QPointF(0.5, 8), QPointF(5.5, 8)}, {QPointF(10.5, 8), QPointF(15.5, 8)}})
        Line(p, Ink, from, to, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(Warning);
    p.drawEllipse(QPointF(8, 8), 1.6, 1.6);
}

QPainterPath Wave()
{
    QPainterPath path;
    path.moveTo(0.5, 13);
    path.cubicTo(5, 13, 6, 4, 10, 5);
    path.cubicTo(13, 6, 14, 9, 15.5, 8);
    return path;
}

// A curve with a call-out "=" beside it: the equation under the mouse.
void DrawEquation(QPainter& p)
{
    p.setPen(QPen(Accent, 1.6));
    p.drawPath(Wave());
    p.setPen(Stroke(Ink));
    p.setBrush(Paper);
    p.drawRect(QRectF(0.5, 0.5, 7, 6));
    p.setBrush(Qt::NoBrush);
    Line(p, Ink, QPointF(2, 2.5), QPointF(6, 2.5));
    Line(p, Ink, QPointF(2, 4.5), QPointF(6, 4.5));
}

// A curve and the dashed guides that read its value at a point.
void DrawFunctionValue(QPainter& p)
{
    Line(p, Ink, QPointF(0.5, 15.5), QPointF(15.5, 15.5));
    Line(p, Ink, QPointF(0.5, 0.5), QPointF(0.5, 15.5));
    p.setPen(QPen(Accent, 1.6));
    p.drawPath(Wave());
    QPen dashed(Warning, 1.0, Qt::CustomDashLine);
    dashed.setDashPattern({1.5, 1.5});
    p.setPen(dashed);
    p.drawLine(QPointF(10.5, 15), QPointF(10.5, 5.5));
    p.drawLine(QPointF(1, 5.5), QPointF(10.5, 5.5));
    p.setPen(Qt::NoPen);
    p.setBrush(Warning);
    p.drawEllipse(QPointF(10.3, 5.2), 1.6, 1.6);
}

// The area under a curve between two limits.
void DrawIntegral(QPainter& p)
{
    QPainterPath area = Wave();
    area.lineTo(15.5, 15.5);
    area.lineTo(0.5, 15.5);
    area.closeSubpath();
    p.save();
    p.setClipRect(QRectF(4, 0, 9, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(Shade);
    p.drawPath(area);
    p.restore();
    Line(p, Ink, QPointF(0.5, 15.5), QPointF(15.5, 15.5));
    p.setPen(QPen(Accent, 1.6));
    p.drawPath(Wave());
    Line(p, Ink, QPointF(4, 9), QPointF(4, 15.5));
    Line(p, Ink, QPointF(13, 6), QPointF(13, 15.5));
}

void DrawCalculator(QPainter& p)
{
    p.setPen(Stroke(Ink));
    p.setBrush(QColor(0xD8, 0xD8, 0xD8));
    p.drawRect(QRectF(2.5, 0.5, 11, 15));
    p.setBrush(QColor(0xC8, 0xE6, 0xC8));
    p.drawRect(QRectF(4.5, 2.5, 7, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            p.drawRect(QRectF(4.5 + column * 2.5, 7.5 + row * 2.5, 1.5, 1.5));
}

void DrawPen(QPainter& p)
{
    p.translate(8, 8);
    p.rotate(45);
    p.setPen(Stroke(Ink));
    p.setBrush(Sun);
    p.drawRect(QRectF(-2, -8, 4, 10));
    p.setBrush(QColor(0xF0, 0xD2, 0xAA));
    p.drawPolygon(QPolygonF{QPointF(-2, 2), QPointF(2, 2), QPointF(0, 6.5)});
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawPolygon(QPolygonF{QPointF(-0.8, 4.6), QPointF(0.8, 4.6), QPointF(0, 6.5)});
}

void DrawPenColour(QPainter& p)
{
    p.setPen(Stroke(Ink));
    const QRectF swatch(0, 0, 8, 7);
    for (auto [colour, corner] : {std::pair{Warning, QPointF(0.5, 0.5)}, {Hill, QPointF(7.5, 4.5)},
                                  {Accent, QPointF(3.5, 8.5)}}) {
        p.setBrush(colour);
        p.drawRect(swatch.translated(corner));
    }
}

void DrawPenWidth(QPainter& p)
{
    Line(p, Ink, QPointF(1, 3.5), QPointF(15, 3.5), 1.0);
    Line(p, Ink, QPointF(1, 8), QPointF(15, 8), 2.0);
    Line(p, Ink, QPointF(1, 13), QPointF(15, 13), 3.0);
}

void DrawEraser(QPainter& p)
{
    p.translate(8, 8);
    p.rotate(-35);
    p.setPen(Stroke(Ink));
    p.setBrush(QColor(0xE8, 0x8C, 0xA0));
    p.drawRect(QRectF(-6.5, -3, 8, 6));
    p.setBrush(Paper);
    p.drawRect(QRectF(1.5, -3, 5, 6));
}

void DrawPrinter(QPainter& p)
{
    p.setPen(Stroke(Ink));
    p.setBrush(Paper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(0xA0, 0xA0, 0xA0));
    p.drawRect(QRectF(1.5, 6.5, 13, 5));
    p.setBrush(Paper);
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
    Line(p, Accent, QPointF(6, 12), QPointF(10, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(Hill);
    p.drawEllipse(QPointF(12.5, 8.5), 0.9, 0.9);
}

// A frame of film with a red dot: pictures are being recorded.
void DrawRecording(QPainter& p)
{
    p.setPen(Stroke(Ink));
    p.setBrush(Sky);
    p.drawRect(QRectF(1.5, 3.5, 13, 9));
    p.setPen(Qt::NoPen);
    p.setBrush(Warning);
    p.drawEllipse(QPointF(8, 8), 3.2, 3.2);
}

void DrawIcon(QPainter& p, ToolIcon icon)
{
    switch (icon) {
    case ToolIcon::BackgroundFromFile:
        DrawPicture(p, QRectF(0.5, 1.5, 13, 10));
        DrawFolder(p);
        break;
    case ToolIcon::BackgroundFromClipboard:
        DrawPicture(p, QRectF(0.5, 1.5, 13, 10));
        DrawClipboard(p);
        break;
    case ToolIcon::ClearBackground: DrawClearBackground(p, false); break;
    case ToolIcon::ClearBackgroundDown: DrawClearBackground(p, true); break;
    case ToolIcon::StretchWidth: DrawStretch(p, true, false); break;
    case ToolIcon::StretchHeight: DrawStretch(p, false, true); break;
    case ToolIcon::StretchWindow: DrawStretch(p, true, true); break;
    case ToolIcon::ZoomIn: DrawMagnifier(p, true); break;
    case ToolIcon::ZoomOut: DrawMagnifier(p, false); break;
    case ToolIcon::Move: DrawMove(p); break;
    case ToolIcon::EqualScale: DrawEqualScale(p); break;
    case ToolIcon::Undo: DrawTurnArrow(p, true); break;
    case ToolIcon::Redo: DrawTurnArrow(p, false); break;
    case ToolIcon::Options: DrawGear(p); break;
    case ToolIcon::Axes: DrawAxes(p); break;
    case ToolIcon::Ticks: DrawTicks(p); break;
    case ToolIcon::LabelSize: DrawLabelSize(p); break;
    case ToolIcon::XNarrower: DrawDivisions(p, true, false); break;
    case ToolIcon::XWider: DrawDivisions(p, false, false); break;
    case ToolIcon::YNarrower: DrawDivisions(p, true, true); break;
    case ToolIcon::YWider: DrawDivisions(p, false, true); break;
    case ToolIcon::Position: DrawPosition(p); break;
    case ToolIcon::Equation: DrawEquation(p); break;
    case ToolIcon::FunctionValue: DrawFunctionValue(p); break;
    case ToolIcon::Integral: DrawIntegral(p); break;
    case ToolIcon::Calculator: DrawCalculator(p); break;
    case ToolIcon::Pen: DrawPen(p); break;
    case ToolIcon::PenColor: DrawPenColour(p); break;
    case ToolIcon::PenWidth: DrawPenWidth(p); break;
    case ToolIcon::Eraser: DrawEraser(p); break;
    case ToolIcon::Printer: DrawPrinter(p); break;
    case ToolIcon::Recording: DrawRecording(p); break;
    }
}

QPixmap PaintIcon(ToolIcon icon, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    DrawIcon(p, icon);
    return pixmap;
}

bool HasPicture(int picture)
{
    return (picture >= 0 && picture <= 3) || (picture >= 10 && picture <= 12) ||
           (picture >= int(ToolIcon::ZoomIn) && picture <= int(ToolIcon::LastToolIcon));
}

} // namespace

QIcon ToolIconFor(ToolIcon icon)
{
    static QHash<int, QIcon> made;
    QIcon& cached = made[int(icon)];
    if (cached.isNull())
        for (int size : {16, 20, 32})
            cached.addPixmap(PaintIcon(icon, size));
    return cached;
}

QIcon ToolIconAt(int picture)
{
    return HasPicture(picture) ? ToolIconFor(static_cast<ToolIcon>(picture)) : QIcon();
}
