#pragma once

// What the environment asks of a start: KAVIRO_SCREENSHOT=<file.png> grabs
// the screen once the first full redraw after the start-up work is on the
// screen, saves it and ends the program; KAVIRO_STARTUP_TIMES=1 writes how
// long each phase of the start took to standard error and ends the program
// (times from the moment in KAVIRO_LAUNCH_NS, the monotonic clock in
// nanoseconds, when the launcher gives it, else from the entry of main).
#include "render/view/ViewServices.h"

#include <QString>
#include <chrono>
#include <memory>
#include <vector>

class TGraphAreaForm;

class TStartupWatch {
public:
    TStartupWatch();
    ~TStartupWatch();

    // Ends a phase of the start; the redraws within it count apart.
    void Mark(const char* phase);
    // Measures the redraws from now on (the time spent in them is its own
    // phase); only while times are asked for.
    void WatchRedraws();
    // Called when the start-up work is done, the first full redraw with it:
    // the next repaint of the graph ends the start.
    void StartUpDone(TGraphAreaForm& graph);

private:
    class TTimedRedrawer;
    using Clock = std::chrono::steady_clock;

    void GraphShown();
    void Report() const;
    double Since(Clock::time_point from) const;

    QString screenshot_;
    bool times_ = false;
    bool done_ = false;
    Clock::time_point launch_;
    Clock::time_point last_;
    std::vector<std::pair<const char*, double>> phases_;
    double redrawsCounted_ = 0.0;
    double redrawPhase_ = 0.0;
    std::unique_ptr<TTimedRedrawer> redrawer_;
};
