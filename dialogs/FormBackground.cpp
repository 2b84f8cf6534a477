#include "dialogs/FormBackground.h"
#include "render/gfx/ColorConvert.h"

#include <QPalette>
#include <QWidget>

void FillBackground(QWidget& widget, TColor color)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}
