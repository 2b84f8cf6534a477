#include "platform/Desktop.h"

#include <QCursor>
#include <QDesktopServices>
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace platform {

namespace {

bool HasGuiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

bool QtDesktopOpener::openLocalFile(const QString& path)
{
    return HasGuiApplication() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtPointerWarp::warpPointer(QPoint globalPos)
{
    // Wayland refuses pointer moves; asking would only print a warning.
    if (!HasGuiApplication() || QGuiApplication::platformName().startsWith(QStringLiteral("wayland")))
        return;
    QCursor::setPos(globalPos);
}

Qt::DropAction QtDragStarter::startDrag(QObject& source, QMimeData* data, Qt::DropActions actions,
                                        Qt::DropAction defaultAction)
{
    if (!HasGuiApplication()) {
        delete data;
        return Qt::IgnoreAction;
    }
    auto* drag = new QDrag(&source);
    drag->setMimeData(data);
    return drag->exec(actions, defaultAction);
}

DesktopOpener& CurrentDesktopOpener()
{
    return InstalledOr<DesktopOpener, QtDesktopOpener>();
}

PointerWarp& CurrentPointerWarp()
{
    return InstalledOr<PointerWarp, QtPointerWarp>();
}

DragStarter& CurrentDragStarter()
{
    return InstalledOr<DragStarter, QtDragStarter>();
}

} // namespace platform
