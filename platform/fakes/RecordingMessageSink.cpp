#include "platform/fakes/RecordingMessageSink.h"

namespace platform {

bool RecordingMessageSink::show(const QString& text, int kind, int buttons)
{
    messages_.push_back({text, kind, buttons});
    if (answers_.empty())
        return defaultAnswer_;
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void RecordingMessageSink::scriptAnswers(std::initializer_list<bool> answers)
{
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

} // namespace platform
