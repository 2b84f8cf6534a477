#include "render/gfx/Metafile.h"

#include "model/Numeric.h"

#include <QStringList>
#include <algorithm>
#include <cstdint>

namespace {

class TRecordingDevice final : public TDrawDevice {
public:
    explicit TRecordingDevice(TMetafile& metafile)
        : metafile_(metafile)
    {
    }

    TRect Bounds() const override { return {0, 0, metafile_.Width + 1, metafile_.Height + 1}; }

    void Execute(const TDrawCommand& command, const TDrawState& state) override
    {
        if (metafile_.States.empty() || !(metafile_.States.back() == state))
            metafile_.States.push_back(state);
        metafile_.Entries.push_back({command, static_cast<int>(metafile_.States.size()) - 1});
    }

private:
    TMetafile& metafile_;
};

// Picture coordinates to target coordinates.
class TPlayMapping {
public:
    TPlayMapping(const TMetafile& metafile, const TRect& dest)
        : dest_(dest)
        , sx_(static_cast<long double>(dest.Width()) / (metafile.Width + 1))
        , sy_(static_cast<long double>(dest.Height()) / (metafile.Height + 1))
        , unitX_(dest.Width() == metafile.Width + 1)
        , unitY_(dest.Height() == metafile.Height + 1)
    {
    }

    // One to one at the origin: commands replay as they were recorded.
    bool IsIdentity() const { return unitX_ && unitY_ && dest_.Left == 0 && dest_.Top == 0; }
    int X(int x) const { return dest_.Left + (unitX_ ? x : NearestInt(x * sx_)); }
    int Y(int y) const { return dest_.Top + (unitY_ ? y : NearestInt(y * sy_)); }
    QPoint Point(const QPoint& p) const { return QPoint(X(p.x()), Y(p.y())); }
    TRect Rect(const TRect& r) const { return {X(r.Left), Y(r.Top), X(r.Right), Y(r.Bottom)}; }

    TDrawCommand Command(const TDrawCommand& c) const
    {
        TDrawCommand m = c;
        for (QPoint& p : m.Points)
            p = Point(p);
        m.Box = Rect(c.Box);
        m.At = Point(c.At);
        m.Corner = QSize(NearestInt(c.Corner.width() * sx_), NearestInt(c.Corner.height() * sy_));
        return m;
    }

    TDrawState State(const TDrawState& s) const
    {
        TDrawState m = s;
        if (!s.Pen.IsCosmetic())
            m.Pen.Width = std::max(1, NearestInt(s.Pen.Width * (sx_ + sy_) / 2.0L));
        if (s.Font.Height != 0) {
            const int height = NearestInt(s.Font.Height * sy_);
            m.Font.Height = height != 0 ? height : (s.Font.Height < 0 ? -1 : 1);
        }
        if (s.Font.Width > 0)
            m.Font.Width = std::max(1, NearestInt(s.Font.Width * sx_));
        m.Clip = s.Clip ? IntersectRects(Rect(*s.Clip), dest_) : dest_;
        return m;
    }

private:
    TRect dest_;
    long double sx_;
    long double sy_;
    bool unitX_; // one to one: no rounding per coordinate
    bool unitY_;
};

QString Hex6(TColor c)
{
    return QString::number(ColorRGBPart(c), 16).toUpper().rightJustified(6, u'0');
}

QString Num(int v)
{
    return QString::number(v);
}

QString PointText(const QPoint& p)
{
    return Num(p.x()) + u',' + Num(p.y());
}

QString RectText(const TRect& r)
{
    return Num(r.Left) + u' ' + Num(r.Top) + u' ' + Num(r.Right) + u' ' + Num(r.Bottom);
}

// FNV-1a over the pixels: a stable fingerprint of an image for the dump.
QString ImageFingerprint(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::uint32_t h = 2166136261u;
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* row = rgb.constScanLine(y);
        for (int i = 0; i < rgb.width() * 4; ++i) {
            h ^= row[i];
            h *= 16777619u;
        }
    }
    return Num(image.width()) + u'x' + Num(image.height()) + QStringLiteral(" #") +
           QString::number(h, 16).rightJustified(8, u'0');
}

QString PenText(const TPen& pen)
{
    static const char16_t* const Styles[] = {u"solid", u"dash", u"dot", u"dashdot", u"clear"};
    static const char16_t* const Modes[] = {u"copy", u"mask", u"xor", u"merge"};
    QString s = QStringLiteral("pen(") + Hex6(pen.Color) + u' ' + Num(pen.Width) + u' ' +
                QString::fromUtf16(Styles[static_cast<int>(pen.Style)]) + u' ' +
                QString::fromUtf16(Modes[static_cast<int>(pen.Mode)]);
    if (pen.Geometric)
        s += pen.Cap == TPenCap::Flat ? QStringLiteral(" geometric flat") : QStringLiteral(" geometric round");
    return s + u')';
}

QString BrushText(const TBrush& brush)
{
    static const char16_t* const Styles[] = {u"solid", u"clear",    u"horizontal", u"vertical", u"fdiagonal",
                                             u"bdiagonal", u"cross", u"diagcross", u"bitmap"};
    if (brush.Style == TBrushStyle::Clear)
        return QStringLiteral("brush(clear)");
    if (brush.Style == TBrushStyle::Bitmap)
        return QStringLiteral("brush(bitmap ") + ImageFingerprint(brush.Pattern) + u')';
    return QStringLiteral("brush(") + QString::fromUtf16(Styles[static_cast<int>(brush.Style)]) + u' ' +
           Hex6(brush.Color) + u')';
}

QString FontText(const TFont& font)
{
    QString s = QStringLiteral("font(\"") + font.Name + QStringLiteral("\" ") + Num(font.Height);
    if (font.Bold)
        s += QStringLiteral(" bold");
    if (font.Italic)
        s += QStringLiteral(" italic");
    if (font.Underline)
        s += QStringLiteral(" underline");
    if (font.Width > 0)
        s += QStringLiteral(" width ") + Num(font.Width);
    return s + u' ' + Hex6(font.Color) + u')';
}

QString PointsText(const std::vector<QPoint>& points)
{
    QStringList parts;
    for (const QPoint& p : points)
        parts << PointText(p);
    return parts.join(u' ');
}

QString CommandText(const TDrawCommand& c, const TDrawState& s)
{
    // Lines show their pen; shapes that fill also their brush.
    const auto outlined = [&](const QString& name) { return name + u' ' + PenText(s.Pen) + u' '; };
    const auto filled = [&](const QString& name) { return outlined(name) + BrushText(s.Brush) + u' '; };
    switch (c.Op) {
    case TDrawOp::Polyline:
        return outlined(QStringLiteral("polyline")) + PointsText(c.Points);
    case TDrawOp::Polygon:
        return filled(QStringLiteral("polygon")) + PointsText(c.Points);
    case TDrawOp::PolyBezier:
        return outlined(QStringLiteral("bezier")) + PointsText(c.Points);
    case TDrawOp::Ellipse:
        return filled(QStringLiteral("ellipse")) + RectText(c.Box);
    case TDrawOp::Rectangle:
        return filled(QStringLiteral("rectangle")) + RectText(c.Box);
    case TDrawOp::RoundRect:
        return filled(QStringLiteral("roundrect")) + RectText(c.Box) + QStringLiteral(" corner ") +
               Num(c.Corner.width()) + u'x' + Num(c.Corner.height());
    case TDrawOp::Pie:
        return filled(QStringLiteral("pie")) + RectText(c.Box) + QStringLiteral(" from ") + PointsText(c.Points);
    case TDrawOp::Chord:
        return filled(QStringLiteral("chord")) + RectText(c.Box) + QStringLiteral(" from ") + PointsText(c.Points);
    case TDrawOp::Arc:
        return outlined(QStringLiteral("arc")) + RectText(c.Box) + QStringLiteral(" from ") + PointsText(c.Points);
    case TDrawOp::Pixel:
        return QStringLiteral("pixel ") + PointText(c.At) + u' ' + Hex6(c.Color);
    case TDrawOp::FillRect:
        return QStringLiteral("fillrect ") + BrushText(s.Brush) + u' ' + RectText(c.Box);
    case TDrawOp::Text:
        return QStringLiteral("text ") + PointText(c.At) + u' ' + FontText(s.Font) + QStringLiteral(" \"") + c.Text + u'"';
    case TDrawOp::Image: {
        static const char16_t* const Modes[] = {u"copy", u"and", u"transparent"};
        return QStringLiteral("image ") + QString::fromUtf16(Modes[static_cast<int>(c.ImageMode)]) + u' ' + RectText(c.Box) + u' ' +
               ImageFingerprint(c.Image);
    }
    }
    return {};
}

} // namespace

TCanvas MakeMetafileCanvas(TMetafile& metafile)
{
    return TCanvas(std::make_unique<TRecordingDevice>(metafile));
}

namespace {

template <class EachEntry>
void PlayEntries(const TMetafile& metafile, TCanvas& target, const TRect& dest, EachEntry&& eachEntry)
{
    if (dest.IsEmpty() || metafile.IsEmpty())
        return;
    const TPlayMapping mapping(metafile, dest);
    std::vector<TDrawState> states;
    states.reserve(metafile.States.size());
    for (const TDrawState& s : metafile.States)
        states.push_back(mapping.State(s));
    const bool identity = mapping.IsIdentity();
    eachEntry([&](const TMetafile::TEntry& e) {
        if (identity)
            target.Execute(e.Command, states[e.State]);
        else
            target.Execute(mapping.Command(e.Command), states[e.State]);
    });
}

} // namespace

void PlayMetafile(const TMetafile& metafile, TCanvas& target, const TRect& dest)
{
    PlayEntries(metafile, target, dest, [&](const auto& play) {
        for (const TMetafile::TEntry& e : metafile.Entries)
            play(e);
    });
}

void PlayMetafileEntries(const TMetafile& metafile, TCanvas& target, const TRect& dest, std::span<const size_t> entries)
{
    if (entries.empty())
        return;
    PlayEntries(metafile, target, dest, [&](const auto& play) {
        for (size_t i : entries)
            play(metafile.Entries[i]);
    });
}

QString DumpMetafile(const TMetafile& metafile)
{
    QString out = QStringLiteral("size ") + Num(metafile.Width) + QStringLiteral(" x ") + Num(metafile.Height) + u'\n';
    std::optional<TRect> clip;
    for (const TMetafile::TEntry& e : metafile.Entries) {
        const TDrawState& s = metafile.States[e.State];
        if (s.Clip != clip) {
            out += s.Clip ? QStringLiteral("clip ") + RectText(*s.Clip) : QStringLiteral("clip none");
            out += u'\n';
            clip = s.Clip;
        }
        out += CommandText(e.Command, s) + u'\n';
    }
    return out;
}
