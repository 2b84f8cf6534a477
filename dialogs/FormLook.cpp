#include "dialogs/FormLook.h"
#include "render/gfx/ColorConvert.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace {

constexpr QPalette::ColorRole TextRoles[] = {QPalette::WindowText, QPalette::Text, QPalette::ButtonText};

} // namespace

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

// Qt's own greyed text is nearly the colour of the silver face, so that
// greyed labels vanish on it.
void InstallFormPalette()
{
    QPalette palette = QApplication::palette();
    for (const QPalette::ColorRole role : TextRoles)
        palette.setColor(QPalette::Disabled, role, ToQColor(DisabledTextColor));
    QApplication::setPalette(palette);
}

void KeepTextWhenDisabled(QWidget& widget)
{
    QPalette palette = widget.palette();
    for (const QPalette::ColorRole role : TextRoles)
        palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
    widget.setPalette(palette);
}
