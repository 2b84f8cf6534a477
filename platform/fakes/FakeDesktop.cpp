#include "platform/fakes/FakeDesktop.h"

#include <QMimeData>
#include <memory>

namespace platform {

Qt::DropAction FakeDragStarter::startDrag(QObject& source, QMimeData* data, Qt::DropActions actions,
                                          Qt::DropAction defaultAction)
{
    const std::unique_ptr<QMimeData> owned(data);
    Drag drag{source.objectName(), {}, {}, actions, defaultAction};
    if (owned) {
        drag.formats = owned->formats();
        drag.text = owned->text();
    }
    drags_.push_back(drag);
    return result_;
}

} // namespace platform
