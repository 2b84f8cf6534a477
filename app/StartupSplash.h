#pragma once

// The About window on the screen while the program starts: shown at once,
// without holding the start up, and closed when the start-up work has set
// the view up, or once it has been up half a second, whichever comes later.
// Never while the start is timed or photographed (KAVIRO_STARTUP_TIMES,
// KAVIRO_SCREENSHOT), nor without a screen (the offscreen platform of the
// tests).
#include <QElapsedTimer>
#include <memory>

class Tversion;

class TStartupSplash {
public:
    // How long the window stays up at the least.
    static constexpr int ShownMs = 500;

    // Shows the window when shown (by default: when this start wants it).
    explicit TStartupSplash(bool shown = IsWanted());
    ~TStartupSplash();
    TStartupSplash(const TStartupSplash&) = delete;
    TStartupSplash& operator=(const TStartupSplash&) = delete;

    // Whether this start shows the window.
    static bool IsWanted();
    // The start-up work has set the view up.
    void StartUpDone();
    // The window while it is up; null before and after.
    Tversion* Window() const;

private:
    std::unique_ptr<Tversion> window_;
    QElapsedTimer shown_;
};
