#include "render/plot/CoordinateText.h"

#include "model/NumberText.h"
#include "model/Options.h"

#include <algorithm>
#include <cmath>

QString FormatCoordValue(const ScaleSubT& axis, int width, long double value)
{
    const int digits = std::clamp(axis.Decimals, 0, 9);
    const long double e = value == 0.0L ? 0.0L : std::log10(std::fabs(value));
    const QChar decimal = Separators.DecimalChar;
    QString text = e > -7.0L && e <= 10.0L ? FormatFixed(value, 10, digits, decimal)
                                           : FormatGeneral(value, 6, decimal);
    if (!text.startsWith(u'-'))
        text.prepend(u' ');
    if (width > 0)
        text = text.leftJustified(width, u' ', true);
    return text;
}

QString FormatPixelCoord(int pixel, const ScaleSubT& axis, int width)
{
    return FormatCoordValue(axis, width, axis.PixelToValue(pixel));
}

QString AxisRangeText(const ScaleSubT& axis)
{
    return FormatCoordValue(axis, 0, axis.Low) + QStringLiteral(" < ") + axis.PlainCaption + QStringLiteral(" < ") +
           FormatCoordValue(axis, 0, axis.High);
}
