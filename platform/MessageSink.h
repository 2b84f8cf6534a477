#pragma once

#include "platform/ServiceSlot.h"

#include <QString>

namespace platform {

// Where the program's messages go. The real sink is the program's own
// modal message box; tests install a recorder that scripts the answers.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // kind: 0 warning, 1 error, 2 information; buttons: 4 OK, 12 OK and Cancel.
    // Returns true when the user answered OK.
    virtual bool show(const QString& text, int kind, int buttons) = 0;
};

// Used until a windowed sink is installed: writes the message to stderr
// and answers Cancel, so that nothing is confirmed without a user.
class StderrMessageSink final : public MessageSink {
public:
    bool show(const QString& text, int kind, int buttons) override;
};

MessageSink& CurrentMessageSink();
// Installs a sink (not owned); nullptr restores the stderr sink.
void SetMessageSink(MessageSink* sink);

// Installs a sink for the lifetime of this object, then restores the previous one.
using ScopedMessageSink = ScopedService<MessageSink>;

} // namespace platform
