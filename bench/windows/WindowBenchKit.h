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
    // Starts the engine and the program's windows on the project the
    // arguments name. Only one set of windows may live at a time, and none
    // after the application: benchmarks use the shared one (below).
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

// The windows shared by the benchmarks of one program, made on first use.
TWindowBench& SharedWindowBench();
// Ends the shared windows; the program's main calls it before the
// application object ends, so that no window outlives it.
void ReleaseSharedWindowBench();
// The shared windows' graph at 800 × 600 pixels over x −10..10 and
// y −7.5..7.5, with no aspect correction.
void SetGraphTo800By600();
