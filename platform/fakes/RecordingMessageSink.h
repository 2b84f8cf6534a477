#pragma once

#include "platform/MessageSink.h"

#include <QString>
#include <deque>
#include <vector>

namespace platform {

// Test fake: records every message and answers from a script.
class RecordingMessageSink final : public MessageSink {
public:
    struct Message {
        QString text;
        int kind;
        int buttons;
    };

    bool show(const QString& text, int kind, int buttons) override;

    // Queues the answers of the next messages; once the queue is empty
    // every message is answered with defaultAnswer.
    void scriptAnswers(std::initializer_list<bool> answers);
    void setDefaultAnswer(bool answer) { defaultAnswer_ = answer; }

    const std::vector<Message>& messages() const { return messages_; }
    const Message& last() const { return messages_.back(); }
    bool empty() const { return messages_.empty(); }
    void clear() { messages_.clear(); }

private:
    std::vector<Message> messages_;
    std::deque<bool> answers_;
    bool defaultAnswer_ = true;
};

} // namespace platform
