#pragma once

#include "platform/InputState.h"

#include <bitset>
#include <functional>
#include <vector>

namespace platform {

// Test fake: keys are set by the test; each event round is recorded and can
// run a test's action (for instance advancing a fake clock).
class FakeInputState final : public InputState {
public:
    bool isKeyDown(int virtualKey) const override;
    void processEvents(int maxWaitMs) override;

    void setKeyDown(int virtualKey, bool down = true);
    void releaseAll() { down_.reset(); }
    // The maxWaitMs of every processEvents call so far.
    const std::vector<int>& eventRounds() const { return rounds_; }
    void onProcessEvents(std::function<void(int maxWaitMs)> action) { action_ = std::move(action); }

private:
    std::bitset<VirtualKeyCount> down_;
    std::vector<int> rounds_;
    std::function<void(int)> action_;
};

} // namespace platform
