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

const QFontMetrics& MetricsOf(const TFont& font)
{
    static QHash<QString, std::shared_ptr<QFontMetrics>> cache;
    const QString key = FontKey(font);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, std::make_shared<QFontMetrics>(ToQFont(font)));
    return **it;
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
    return MetricsOf(font).horizontalAdvance(text);
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
