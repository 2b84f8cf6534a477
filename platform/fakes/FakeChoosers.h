#pragma once

#include "platform/Choosers.h"

#include <deque>
#include <vector>

namespace platform {

// Test fake: records what each chooser was asked and answers from a queue;
// with the queue empty the user cancels.
class FakeFileChooser final : public FileChooser {
public:
    std::optional<QString> chooseOpenFile(const FileChoice& choice) override { return answer(choice); }
    std::optional<QString> chooseSaveFile(const FileChoice& choice) override { return answer(choice); }
    // The filter queued with the answer, else the one it started with.
    std::optional<SavedFileChoice> chooseSaveFileOfType(const FileChoice& choice) override
    {
        const TAnswer next = take(choice);
        if (!next.path)
            return std::nullopt;
        return SavedFileChoice{*next.path, next.filterIndex.value_or(choice.filterIndex)};
    }

    // nullopt: the user cancels.
    void queueAnswer(std::optional<QString> answer) { answers_.push_back({std::move(answer), std::nullopt}); }
    // An answer of a typed save chooser: the name and the filter selected.
    void queueAnswer(const QString& answer, int filterIndex) { answers_.push_back({answer, filterIndex}); }
    const std::vector<FileChoice>& requests() const { return requests_; }

private:
    struct TAnswer {
        std::optional<QString> path;
        std::optional<int> filterIndex;
    };

    TAnswer take(const FileChoice& choice)
    {
        requests_.push_back(choice);
        TAnswer next;
        if (!answers_.empty()) {
            next.path.swap(answers_.front().path);
            next.filterIndex = answers_.front().filterIndex;
            answers_.pop_front();
        }
        return next;
    }
    std::optional<QString> answer(const FileChoice& choice) { return take(choice).path; }

    std::deque<TAnswer> answers_;
    std::vector<FileChoice> requests_;
};

class FakeColorChooser final : public ColorChooser {
public:
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override
    {
        initials_.push_back(initial);
        if (answers_.empty())
            return std::nullopt;
        const std::optional<std::uint32_t> next = answers_.front();
        answers_.pop_front();
        return next;
    }

    void queueAnswer(std::optional<std::uint32_t> answer) { answers_.push_back(answer); }
    // The colour each request started from.
    const std::vector<std::uint32_t>& initials() const { return initials_; }

private:
    std::deque<std::optional<std::uint32_t>> answers_;
    std::vector<std::uint32_t> initials_;
};

} // namespace platform
