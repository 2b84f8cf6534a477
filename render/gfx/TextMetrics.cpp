#include "render/gfx/TextMetrics.h"

#include "render/gfx/Fonts.h"

#include <QFontMetrics>
#include <QHash>
#include <memory>

namespace {

QString FontKey(const TFont& font)
{
    return font.Name + QChar(u'|') + QString::number(font.Height) + QChar(font.Bold ? u'b' : u'-') +
           QChar(font.Italic ? u'i' : u'-') + QChar(font.Underline ? u'u' : u'-') +
           (font.Width > 0 ? QChar(u'w') + QString::number(font.Width) : QString());
}

// A font's metrics and the widths of the texts measured in it: the axes
// measure the same tick labels at every redraw, and shaping them is most of
// the cost of drawing the axes.
struct TFontMeasures {
    std::shared_ptr<QFontMetrics> Metrics;
    QHash<QString, int> Widths;
};
// More texts than a view ever labels; past it the widths start again.
constexpr qsizetype MaxKeptWidths = 4096;

TFontMeasures& MeasuresOf(const TFont& font)
{
    static QHash<QString, std::shared_ptr<TFontMeasures>> cache;
    // Runs of text in one font are the rule: the last font is kept at hand.
    static TFont lastFont;
    static TFontMeasures* last = nullptr;
    if (last && font == lastFont)
        return *last;
    const QString key = FontKey(font);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, std::make_shared<TFontMeasures>(
                                   TFontMeasures{std::make_shared<QFontMetrics>(ToQFont(font)), {}}));
    lastFont = font;
    last = it->get();
    return *last;
}

const QFontMetrics& MetricsOf(const TFont& font)
{
    return *MeasuresOf(font).Metrics;
}

// The fake's em: a cell height holds an em and a quarter of it.
int FakeEm(const TFont& font)
{
    if (font.Height < 0)
        return -font.Height;
    return font.Height * 4 / 5;
}

} // namespace

int QtTextMetrics::TextWidth(const TFont& font, const QString& text)
{
    TFontMeasures& m = MeasuresOf(font);
    if (const auto known = m.Widths.constFind(text); known != m.Widths.cend())
        return *known;
    if (m.Widths.size() >= MaxKeptWidths)
        m.Widths.clear();
    const int width = m.Metrics->horizontalAdvance(text);
    m.Widths.insert(text, width);
    return width;
}

int QtTextMetrics::TextHeight(const TFont& font, const QString&)
{
    return MetricsOf(font).height();
}

int QtTextMetrics::Ascent(const TFont& font)
{
    return MetricsOf(font).ascent();
}

int FakeTextMetrics::TextWidth(const TFont& font, const QString& text)
{
    const int advance = (FakeEm(font) + 1) / 2 + (font.Bold ? 1 : 0);
    return static_cast<int>(text.size()) * advance;
}

int FakeTextMetrics::TextHeight(const TFont& font, const QString&)
{
    const int em = FakeEm(font);
    return em + em / 4;
}

int FakeTextMetrics::Ascent(const TFont& font)
{
    return FakeEm(font);
}

TTextMetrics& CurrentTextMetrics()
{
    return platform::InstalledOr<TTextMetrics, QtTextMetrics>();
}
