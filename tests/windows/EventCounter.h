#pragma once

#include <QEvent>
#include <QObject>

// Counts the events of one type that reach the objects it is installed on;
// it lets every event pass.
class TEventCounter final : public QObject {
public:
    explicit TEventCounter(QEvent::Type type)
        : type_(type)
    {
    }
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        Count += event->type() == type_;
        return false;
    }

private:
    QEvent::Type type_;
};
