#include "render/scene/Stickers.h"

#include "engine/Compiler.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/gfx/ColorConvert.h"
#include "render/markup/MarkupDraw.h"
#include "render/markup/MarkupTranslate.h"
#include "render/markup/TextAdvance.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int TextMargin = 7;   // left and right of the text
constexpr int FrameCorner = 14; // the rounded frame's corner size
constexpr int GraphInset = 7;   // a sticker on the graph keeps this far from its edges

// One line translated once: its fields are evaluated for this rendering
// only, and measuring and drawing read the same values.
struct TStickerLine {
    QString Translated;
    int Top = 0;    // above the base line, negative
    int Bottom = 0; // below it
    int Right = 0;  // from the left margin
};

// The lines laid out at the look's size and the context's magnification:
// each line's base line, and the box they need.
struct TStickerLayout {
    std::vector<TStickerLine> Lines;
    std::vector<int> BaseLines; // from the box's top
    QSize Box;
};

TColor GreyOf(TColor c)
{
    const int v = (3 * ColorRed(c) + 5 * ColorGreen(c) + 2 * ColorBlue(c)) / 10;
    return static_cast<TColor>(v) * 0x010101;
}

void SetStickerFont(TCanvas& canvas, const TStickerLook& look, const TDrawContext& context)
{
    canvas.Font = TFont{};
    canvas.Font.Name = ProgramState.SctickerLarge;
    canvas.Font.SetSize(context.Magnify(look.Size));
    canvas.Font.Color = look.TextColor;
    canvas.Brush.Style = TBrushStyle::Clear;
}

TMarkupOptions LineOptions(const TStickerLook& look, const TDrawContext& context, bool draw)
{
    TMarkupOptions options;
    options.Draw = draw;
    options.BaseColor = look.TextColor;
    options.CompileMode = ModePlain;
    options.Context = context;
    return options;
}

// Measures every line: after the first line a gap of half the height of
// "A", after later ones a sixth of one and a half times it; the box has
// the text margin on either side and a quarter of that height above and
// below.
TStickerLayout LayOut(TCanvas& canvas, const QStringList& lines, const TStickerLook& look,
                      const TDrawContext& context)
{
    TStickerLayout layout;
    const int heightOfA = canvas.TextHeight(QStringLiteral("A"));
    const int firstGap = NearestInt(heightOfA / 2.0L);
    const int laterGap = NearestInt(heightOfA * 1.5L / 6.0L);
    const TMarkupOptions measure = LineOptions(look, context, false);
    int y = laterGap;
    int right = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        TStickerLine line;
        // A comment line shows nothing, as on a label.
        if (!lines[i].startsWith(QStringLiteral("//")))
            line.Translated = TranslateMarkup(ModePlain, lines[i]);
        const TMarkupExtent extent = DrawTranslatedMarkup(canvas, line.Translated, 0, 0, measure);
        line.Top = extent.Top;
        line.Bottom = extent.Bottom;
        line.Right = extent.Right;
        right = std::max(right, extent.Right);
        const int baseLine = y - line.Top;
        layout.BaseLines.push_back(baseLine);
        y = baseLine + line.Bottom + (i + 1 < lines.size() ? (i == 0 ? firstGap : laterGap) : laterGap);
        layout.Lines.push_back(std::move(line));
    }
    const int margin = context.Magnify(TextMargin);
    layout.Box = QSize(margin + right + margin, y);
    return layout;
}

// The frame and the text of one sticker with its top-left at origin.
void DrawSticker(TCanvas& canvas, const TStickerLayout& layout, QPoint origin, const TStickerLook& look,
                 const TDrawContext& context)
{
    if (look.Style >= 2) {
        const TCanvas::TTools tools = canvas.SaveTools();
        canvas.Pen = TPen{};
        canvas.Pen.Width = std::max(1, context.Magnification / 2);
        canvas.Pen.Color = look.Style == 4 ? look.FillColor : look.FrameColor;
        canvas.Brush = TBrush{};
        canvas.Brush.Color = look.FillColor;
        canvas.Brush.Style = look.Style == 2 ? TBrushStyle::Clear : TBrushStyle::Solid;
        const int corner = context.Magnify(FrameCorner);
        canvas.RoundRect(origin.x(), origin.y(), origin.x() + layout.Box.width(), origin.y() + layout.Box.height(),
                         corner, corner);
        canvas.RestoreTools(tools);
    }
    const TMarkupOptions draw = LineOptions(look, context, true);
    const int left = origin.x() + context.Magnify(TextMargin);
    for (std::size_t i = 0; i < layout.Lines.size(); ++i)
        DrawTranslatedMarkup(canvas, layout.Lines[i].Translated, left, origin.y() + layout.BaseLines[i], draw);
}

// A place on the graph keeps the sticker inside it.
QPoint PlaceOnGraph(QPoint place, QSize size, QSize graph)
{
    int left = place.x();
    int top = place.y();
    if (left + size.width() > graph.width())
        left = graph.width() - size.width() - GraphInset;
    top = std::min(top, graph.height() - size.height() - GraphInset);
    return {std::max(left, GraphInset), std::max(top, GraphInset)};
}

} // namespace

TStickerLook CurrentStickerLook()
{
    const TDocumentOptions& o = Options;
    TStickerLook look;
    look.Style = o.PetaMemoStyle;
    look.Size = o.PetaMemoSize;
    const std::size_t entry = std::min<std::size_t>(o.PetaMemoBGcolor, ColorScheme.MemoBGColors.size() - 1);
    look.FrameColor = ColorScheme.MemoTextColors[entry];
    look.FillColor = ColorScheme.MemoBGColors[entry];
    look.TextColor = ColorScheme.Monochrome ? GreyOf(o.PetaMemoColor) : ColorRGBPart(o.PetaMemoColor);
    return look;
}

std::optional<TStickerPicture> RenderSticker(const QStringList& lines, QPoint place, bool onGraph, QSize graph,
                                             const TStickerLook& look)
{
    if (lines.isEmpty() || look.Style == 0)
        return std::nullopt;
    const TDrawContext screen;
    QImage measuring(1, 1, QImage::Format_RGB32);
    TCanvas measure = MakeImageCanvas(measuring);
    SetStickerFont(measure, look, screen);
    const TStickerLayout layout = LayOut(measure, lines, look, screen);

    TStickerPicture sticker;
    sticker.Image = QImage(layout.Box.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    sticker.Image.fill(ToQColor(StickerSeeThroughColor));
    TCanvas canvas = MakeImageCanvas(sticker.Image);
    SetStickerFont(canvas, look, screen);
    DrawSticker(canvas, layout, QPoint(0, 0), look, screen);

    sticker.Place = QPoint(std::max(place.x(), 0), std::max(place.y(), 0));
    if (onGraph)
        sticker.Place = PlaceOnGraph(sticker.Place, layout.Box, graph);
    return sticker;
}

void DrawStickersTo(TCanvas& canvas, std::span<const TStickerOnGraph> stickers, const TStickerLook& look,
                    const TDrawContext& context)
{
    if (look.Style == 0)
        return;
    const TCanvas::TTools tools = canvas.SaveTools();
    for (const TStickerOnGraph& sticker : stickers) {
        if (sticker.Lines.isEmpty())
            continue;
        SetStickerFont(canvas, look, context);
        const TStickerLayout layout = LayOut(canvas, sticker.Lines, look, context);
        DrawSticker(canvas, layout, sticker.Place * context.Magnification, look, context);
    }
    canvas.RestoreTools(tools);
}
