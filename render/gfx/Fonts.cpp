#include "render/gfx/Fonts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

struct TSubstitution {
    const char16_t* Family;
    const char16_t* Replacements[2];
};

constexpr TSubstitution Substitutions[] = {
    {u"Times New Roman", {u"Liberation Serif", u"DejaVu Serif"}},
    {u"Arial Unicode MS", {u"DejaVu Sans", u"Liberation Sans"}},
    {u"Arial", {u"Liberation Sans", u"DejaVu Sans"}},
    {u"Courier New", {u"Liberation Mono", u"DejaVu Sans Mono"}},
};

QFont BaseQFont(const TFont& font)
{
    QFont q(font.Name);
    q.setBold(font.Bold);
    q.setItalic(font.Italic);
    q.setUnderline(font.Underline);
    return q;
}

// Cell height over em height of the family, measured once per face.
double CellToEmRatio(const TFont& font)
{
    static QHash<QString, double> cache;
    const QString key = font.Name + QChar(u'|') + QChar(font.Bold ? u'b' : u'-') + QChar(font.Italic ? u'i' : u'-');
    auto it = cache.find(key);
    if (it != cache.end())
        return *it;
    constexpr int ReferenceSize = 1000;
    QFont q = BaseQFont(font);
    q.setPixelSize(ReferenceSize);
    const QFontMetricsF m(q);
    double ratio = (m.ascent() + m.descent()) / ReferenceSize;
    if (!(ratio > 0.5 && ratio < 3.0))
        ratio = 1.2;
    cache.insert(key, ratio);
    return ratio;
}

// The stretch (percent) that gives the face the font's average character
// width at its em size, measured once per face and size.
int StretchForWidth(const TFont& font, int em)
{
    static QHash<QString, double> cache;
    const QString key = font.Name + QChar(u'|') + QString::number(em) + QChar(font.Bold ? u'b' : u'-') +
                        QChar(font.Italic ? u'i' : u'-');
    auto it = cache.find(key);
    if (it == cache.end()) {
        QFont q = BaseQFont(font);
        q.setPixelSize(em);
        it = cache.insert(key, QFontMetricsF(q).averageCharWidth());
    }
    if (!(*it > 0.0))
        return 100;
    return std::clamp(static_cast<int>(std::lround(100.0 * font.Width / *it)), 1, 4000);
}

} // namespace

void InstallFontSubstitutions()
{
    static const bool installed = [] {
        for (const TSubstitution& s : Substitutions) {
            const QString family = QString::fromUtf16(s.Family);
            QStringList replacements;
            for (const char16_t* r : s.Replacements)
                replacements << QString::fromUtf16(r);
            QFont::insertSubstitutions(family, replacements);
        }
        return true;
    }();
    (void)installed;
}

int EmPixelSize(const TFont& font)
{
    InstallFontSubstitutions();
    if (font.Height < 0)
        return -font.Height;
    if (font.Height == 0)
        return 13;
    return std::max(1, static_cast<int>(std::lround(font.Height / CellToEmRatio(font))));
}

QFont ToQFont(const TFont& font)
{
    InstallFontSubstitutions();
    QFont q = BaseQFont(font);
    const int em = EmPixelSize(font);
    q.setPixelSize(em);
    if (font.Width > 0)
        q.setStretch(StretchForWidth(font, em));
    return q;
}
