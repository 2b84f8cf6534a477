#pragma once

#include <QObject>
#include <functional>

// Watches one widget's events with a function (true: the event is taken).
// Owned by the widget it watches.
class TEventHook final : public QObject {
public:
    using Handler = std::function<bool(QEvent* event)>;
    static void Install(QObject* watched, Handler handler)
    {
        watched->installEventFilter(new TEventHook(watched, std::move(handler)));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return handler_(event); }

private:
    TEventHook(QObject* owner, Handler handler)
        : QObject(owner)
        , handler_(std::move(handler))
    {
    }
    Handler handler_;
};
