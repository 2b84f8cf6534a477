#include "render/view/TickLabelAids.h"

#include "model/Colors.h"
#include "model/Numeric.h"
#include "model/Options.h"

void SetGridPen(int mode, TPen& pen)
{
    const TColor mesh = ColorScheme.MeshColor;
    pen.Color = mode == 1 || mode == 3 ? DarkenColor(mesh) : mesh;
    pen.Style = mode == 2 ? TPenStyle::Dot : TPenStyle::Solid;
}

void DrawStackedFraction(TCanvas& canvas, int& x, int y, const QString& denominator, const QString& numerator)
{
    if (denominator.isEmpty()) {
        canvas.TextOut(x, y, numerator);
        x += canvas.TextWidth(numerator);
        return;
    }
    const int h = canvas.TextHeight(QStringLiteral("8"));
    const int d = NearestInt(h * 0.4L);
    const int size = canvas.Font.Size();
    x += NearestInt(size / 10.0L);
    const int x0 = x;
    // The longer part goes first; on a tie the numerator goes second.
    const bool numeratorFirst = numerator.size() > denominator.size();
    const QString& first = numeratorFirst ? numerator : denominator;
    const QString& second = numeratorFirst ? denominator : numerator;
    const int firstY = numeratorFirst ? y - d : y + d;
    const int secondY = numeratorFirst ? y + d : y - d;
    canvas.TextOut(x0, firstY, first);
    const int x1 = x0 + canvas.TextWidth(first);
    canvas.TextOut((x1 + x0 - canvas.TextWidth(second)) / 2, secondY, second);

    const TPen saved = canvas.Pen;
    canvas.Pen.Color = ColorBlack;
    canvas.Pen.Style = TPenStyle::Solid;
    canvas.Pen.Width = NearestInt(size / 15.0L);
    const int barY = y + NearestInt(h * 0.5L);
    canvas.MoveTo(x0 - NearestInt(h / 20.0L), barY);
    canvas.LineTo(x1 + 1, barY);
    canvas.Pen = saved;
    x = x1 + 1;
}

QString TrimTrailingZeros(const QString& text)
{
    QString s = text.trimmed();
    const QChar decimal = Separators.DecimalChar;
    if (!s.contains(decimal))
        return s;
    while (s.endsWith(u'0'))
        s.chop(1);
    if (s.endsWith(decimal))
        s.chop(1);
    return s;
}
