#pragma once

#include "platform/ModalRunner.h"

#include <QString>
#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace platform {

// Test fake: opens each dialog without blocking, plays the answer queued
// for the dialog's object name and returns its result. A dialog still open
// after its answer is ended with that result; a dialog without an answer is
// ended with the default result (rejected) and recorded as unanswered.
class FakeModalRunner final : public ModalRunner {
public:
    // Works the open dialog (types, clicks) and returns its result: the
    // dialog's own when the answer ended it, else the one to end it with.
    using Answer = std::function<int(QObject& dialog)>;

    int run(QObject& dialog) override;

    // Answers are played in the order queued, per object name.
    void queueAnswer(const QString& objectName, Answer answer);
    // Ends the next dialog of that name with the result.
    void queueResult(const QString& objectName, int result);
    void setDefaultResult(int result) { defaultResult_ = result; }

    // The object names of the dialogs run, in order.
    const std::vector<QString>& dialogsRun() const { return runs_; }
    const std::vector<QString>& unanswered() const { return unanswered_; }
    // Answers queued and not played.
    int pendingAnswers() const;

private:
    std::map<QString, std::deque<Answer>> answers_;
    std::vector<QString> runs_;
    std::vector<QString> unanswered_;
    int defaultResult_ = 0;
};

} // namespace platform
