#include "platform/ScreenFont.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

namespace platform {

QString DefaultScreenFontName()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return QStringLiteral("Sans Serif");
}

} // namespace platform
