#pragma once

#include "platform/InputState.h"

#include <QObject>
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

    std::bitset<VirtualKeyCount> down_;
    bool droppingUserInput_ = false;
};

// The virtual-key number of a Qt key code; 0 for a key without one.
int VirtualKeyOfQtKey(int qtKey);

} // namespace platform
