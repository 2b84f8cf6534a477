#include "render/markup/TextAdvance.h"

#include "render/gfx/TextMetrics.h"

#include <QHash>
#include <typeinfo>

namespace {

// A font, and for widths the text measured in it.
struct MetricsKey {
    QString Name;
    QString Text;
    int Height = 0;
    int Width = 0;
    unsigned Style = 0;
    bool operator==(const MetricsKey&) const = default;
};

size_t qHash(const MetricsKey& k, size_t seed = 0)
{
    return qHashMulti(seed, k.Name, k.Text, k.Height, k.Width, k.Style);
}

MetricsKey KeyOf(const TFont& font, const QString& text = QString())
{
    return {font.Name, text, font.Height, font.Width,
            (font.Bold ? 1u : 0u) | (font.Italic ? 2u : 0u) | (font.Underline ? 4u : 0u)};
}

struct FontMeasures {
    int Height = 0;
    int Ascent = 0;
};

// The measures of one metrics implementation; they start again when
// another is installed.
class MetricsCache {
public:
    int Width(const TFont& font, const QString& text)
    {
        TTextMetrics& metrics = Current();
        MetricsKey key = KeyOf(font, text);
        const auto it = widths_.constFind(key);
        if (it != widths_.cend())
            return *it;
        if (widths_.size() > MaxWidths)
            widths_.clear();
        const int w = metrics.TextWidth(font, text);
        widths_.insert(std::move(key), w);
        return w;
    }

    const FontMeasures& Measures(const TFont& font)
    {
        TTextMetrics& metrics = Current();
        MetricsKey key = KeyOf(font);
        auto it = fonts_.find(key);
        if (it == fonts_.end())
            it = fonts_.insert(std::move(key), {metrics.TextHeight(font, QString()), metrics.Ascent(font)});
        return *it;
    }

private:
    TTextMetrics& Current()
    {
        TTextMetrics& metrics = CurrentTextMetrics();
        // Another implementation may come to lie where the last one did.
        if (&metrics != owner_ || typeid(metrics) != *ownerType_) {
            widths_.clear();
            fonts_.clear();
            owner_ = &metrics;
            ownerType_ = &typeid(metrics);
        }
        return metrics;
    }

    static constexpr qsizetype MaxWidths = 4096;
    QHash<MetricsKey, int> widths_;
    QHash<MetricsKey, FontMeasures> fonts_;
    const TTextMetrics* owner_ = nullptr;
    const std::type_info* ownerType_ = &typeid(void);
};

MetricsCache& Cache()
{
    static MetricsCache cache;
    return cache;
}

} // namespace

int GetTextWidth(const QString& text, const TFont& font, const TDrawContext& context)
{
    const int m = UsableMagnification(context.Magnification);
    if (m == 1)
        return Cache().Width(font, text);
    TFont screen = font;
    screen.Height = font.Height / m;
    screen.Width = font.Width / m;
    if (screen.Height == 0)
        screen.Height = font.Height < 0 ? -1 : 1;
    return Cache().Width(screen, text) * m;
}

int CellHeight(const TFont& font)
{
    return Cache().Measures(font).Height;
}

int CellAscent(const TFont& font)
{
    return Cache().Measures(font).Ascent;
}
