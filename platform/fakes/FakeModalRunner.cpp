#include "platform/fakes/FakeModalRunner.h"

#include <QMetaObject>
#include <QObject>
#include <QVariant>

namespace platform {

int FakeModalRunner::run(QObject& dialog)
{
    const QString name = dialog.objectName();
    runs_.push_back(name);
    // open() and done() are slots of every dialog: no widget type is needed here.
    QMetaObject::invokeMethod(&dialog, "open", Qt::DirectConnection);
    int result = defaultResult_;
    std::deque<Answer>& queue = answers_[name];
    if (queue.empty()) {
        unanswered_.push_back(name);
    } else {
        const Answer answer = std::move(queue.front());
        queue.pop_front();
        result = answer(dialog);
    }
    if (dialog.property("visible").toBool())
        QMetaObject::invokeMethod(&dialog, "done", Qt::DirectConnection, Q_ARG(int, result));
    return result;
}

void FakeModalRunner::queueAnswer(const QString& objectName, Answer answer)
{
    answers_[objectName].push_back(std::move(answer));
}

void FakeModalRunner::queueResult(const QString& objectName, int result)
{
    queueAnswer(objectName, [result](QObject&) { return result; });
}

int FakeModalRunner::pendingAnswers() const
{
    int n = 0;
    for (const auto& [name, queue] : answers_)
        n += static_cast<int>(queue.size());
    return n;
}

} // namespace platform
