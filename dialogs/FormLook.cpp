#include "dialogs/FormLook.h"
#include "render/gfx/ColorConvert.h"

#include <QPalette>
#include <QWidget>

QFont FormFont(int pointSize)
{
    return QFont(QStringLiteral("Arial Unicode MS"), pointSize);
}

void FillBackground(QWidget& widget, TColor color)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}
