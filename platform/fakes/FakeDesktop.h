#pragma once

#include "platform/Desktop.h"

#include <QStringList>
#include <vector>

namespace platform {

// Test fakes of the desktop: each records what it was asked.
class FakeDesktopOpener final : public DesktopOpener {
public:
    bool openLocalFile(const QString& path) override
    {
        opened_.push_back(path);
        return succeed_;
    }
    void setSucceed(bool succeed) { succeed_ = succeed; }
    const QStringList& opened() const { return opened_; }

private:
    QStringList opened_;
    bool succeed_ = true;
};

class FakePointerWarp final : public PointerWarp {
public:
    void warpPointer(QPoint globalPos) override { warps_.push_back(globalPos); }
    const std::vector<QPoint>& warps() const { return warps_; }

private:
    std::vector<QPoint> warps_;
};

// Records each drag and answers with a set action; the test delivers the
// drop events itself.
class FakeDragStarter final : public DragStarter {
public:
    struct Drag {
        QString sourceName;  // the source's object name
        QStringList formats; // of the dragged data
        QString text;        // the data's text
        Qt::DropActions actions;
        Qt::DropAction defaultAction;
    };

    Qt::DropAction startDrag(QObject& source, QMimeData* data, Qt::DropActions actions,
                             Qt::DropAction defaultAction) override;

    void setResult(Qt::DropAction result) { result_ = result; }
    const std::vector<Drag>& drags() const { return drags_; }

private:
    std::vector<Drag> drags_;
    Qt::DropAction result_ = Qt::IgnoreAction;
};

} // namespace platform
