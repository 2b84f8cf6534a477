#pragma once

// The window benchmarks' kit: the four permanent windows built on the
// document as the program starts it, with the settings in memory and
// services that never block (every dialog refused, no message box shown).
#include "app/ProgramStart.h"
#include "platform/fakes/FakeModalRunner.h"
#include "platform/fakes/MemorySettingsStore.h"
#include "platform/fakes/RecordingMessageSink.h"

#include <QStringList>

class TWindowBench {
public:
    // Starts the program's windows on the project the arguments name.
    explicit TWindowBench(const QStringList& arguments = {});
    ~TWindowBench();

    TProgramWindows& Forms() { return forms_; }
    // Handles the pending events, paints included.
    static void ProcessEvents();

private:
    platform::MemorySettingsStore store_;
    platform::RecordingMessageSink messages_;
    platform::FakeModalRunner modal_;
    platform::ScopedSettingsStore useStore_{store_};
    platform::ScopedMessageSink useMessages_{messages_};
    platform::ScopedModalRunner useModal_{modal_};
    TProgramWindows forms_;
};
