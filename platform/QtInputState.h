#pragma once

#include "platform/InputState.h"

#include <QObject>
#include <array>
#include <bitset>

namespace platform {

// Follows the key and mouse-button events of the whole application through
// an application event filter.
class QtInputState final : public QObject, public InputState {
public:
    // Starts filtering when an application exists.
    explicit QtInputState(QObject* parent = nullptr);

    bool isKeyDown(int virtualKey) const override;
    void processEvents(int maxWaitMs) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setKey(int virtualKey, bool down);
    // The keys pressed in the window go up: hidden, it gets no releases.
    void releaseKeysOf(const QObject* window);

    std::bitset<VirtualKeyCount> down_;
    // The window each key was last pressed in.
    std::array<const QObject*, VirtualKeyCount> pressedIn_{};
    bool droppingUserInput_ = false;
};

// The virtual-key number of a Qt key code; 0 for a key without one.
int VirtualKeyOfQtKey(int qtKey);

} // namespace platform
