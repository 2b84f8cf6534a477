#pragma once

#include "platform/ServiceSlot.h"

#include <QPoint>
#include <QString>
#include <Qt>

class QMimeData;
class QObject;

namespace platform {

// Opens a local file (the help pages, the manual) with the program the
// desktop associates with it.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    // False when the desktop could not open it.
    virtual bool openLocalFile(const QString& path) = 0;
};

// Moves the mouse pointer, as far as the window system allows: Wayland lets
// no program move it, so there the pointer stays where it is.
class PointerWarp {
public:
    virtual ~PointerWarp() = default;
    // globalPos in screen coordinates.
    virtual void warpPointer(QPoint globalPos) = 0;
};

// Starts a drag-and-drop operation from a widget. The real one runs the
// window system's own loop until the drop; the fake records the drag and
// returns at once, and the test delivers the drop events itself.
class DragStarter {
public:
    virtual ~DragStarter() = default;
    // Takes ownership of data. Returns the action the target took
    // (Qt::IgnoreAction when nothing accepted the drop).
    virtual Qt::DropAction startDrag(QObject& source, QMimeData* data, Qt::DropActions actions,
                                     Qt::DropAction defaultAction) = 0;
};

class QtDesktopOpener final : public DesktopOpener {
public:
    bool openLocalFile(const QString& path) override;
};

class QtPointerWarp final : public PointerWarp {
public:
    void warpPointer(QPoint globalPos) override;
};

class QtDragStarter final : public DragStarter {
public:
    Qt::DropAction startDrag(QObject& source, QMimeData* data, Qt::DropActions actions,
                             Qt::DropAction defaultAction) override;
};

// The installed services, else the window system's.
DesktopOpener& CurrentDesktopOpener();
PointerWarp& CurrentPointerWarp();
DragStarter& CurrentDragStarter();
using ScopedDesktopOpener = ScopedService<DesktopOpener>;
using ScopedPointerWarp = ScopedService<PointerWarp>;
using ScopedDragStarter = ScopedService<DragStarter>;

} // namespace platform
