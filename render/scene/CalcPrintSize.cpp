#include "render/scene/CalcPrintSize.h"

#include "model/Numeric.h"

#include <algorithm>
#include <cstdint>

namespace {

int RoundedRatio(long long a, long long b, long long c)
{
    return NearestInt(static_cast<long double>(a) * b / c);
}

} // namespace

QSize CalcPrintSize(QSize source, QSize page, int printSize, bool keepAspect)
{
    const long long w = std::max(1, source.width());
    const long long h = std::max(1, source.height());
    const long long pageHeight = std::max(1, page.height());
    long long width = static_cast<long long>(printSize) * std::max(0, page.width()) / 100;
    long long height = RoundedRatio(width, h, w);
    if (height > pageHeight) {
        height = pageHeight;
        width = RoundedRatio(height, w, h);
    }
    if (keepAspect) {
        const long long k = height == pageHeight ? height / h : width / w;
        // No whole multiple fits: printing nothing helps nobody.
        if (k > 0) {
            width = k * w;
            height = k * h;
        }
    }
    return {static_cast<int>(std::max(1LL, width)), static_cast<int>(std::max(1LL, height))};
}

TRect PrintPlacement(QSize printed, QSize page)
{
    const bool fits = static_cast<long double>(printed.height()) <= page.height() * 29.0L / 30.0L;
    const int top = fits ? page.height() / 30 : 0;
    const int left = (page.width() - printed.width()) / 2;
    return {left, top, left + printed.width(), top + printed.height()};
}
