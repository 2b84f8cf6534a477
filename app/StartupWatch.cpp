#include "app/StartupWatch.h"

#include "windows/GraphAreaForm.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QtGlobal>
#include <cstdio>

// Forwards to the installed redrawer and adds up the time spent in it.
class TStartupWatch::TTimedRedrawer final : public TRedrawer {
public:
    explicit TTimedRedrawer(TRedrawer& inner)
        : inner_(inner)
    {
    }
    void Redraw(ScaleT& view, TGraphImages& images) override
    {
        const auto start = Clock::now();
        inner_.Redraw(view, images);
        Spent += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        ++Count;
    }
    void PushViewHistory(const ScaleT& view) override { inner_.PushViewHistory(view); }

    double Spent = 0.0;
    int Count = 0;

private:
    TRedrawer& inner_;
};

TStartupWatch::TStartupWatch()
    : screenshot_(qEnvironmentVariable("KAVIRO_SCREENSHOT"))
    , times_(qEnvironmentVariable("KAVIRO_STARTUP_TIMES") == QStringLiteral("1"))
    , launch_(Clock::now())
{
    bool ok = false;
    const qint64 launchNs = qEnvironmentVariable("KAVIRO_LAUNCH_NS").toLongLong(&ok);
    if (ok && launchNs > 0)
        launch_ = Clock::time_point(std::chrono::nanoseconds(launchNs));
    last_ = launch_;
}

TStartupWatch::~TStartupWatch()
{
    if (redrawer_)
        platform::ServiceSlot<TRedrawer>::install(nullptr);
}

double TStartupWatch::Since(Clock::time_point from) const
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

void TStartupWatch::Mark(const char* phase)
{
    if (!times_)
        return;
    double spent = Since(last_);
    last_ = Clock::now();
    // The redraws of a phase count apart.
    if (redrawer_) {
        const double redraws = redrawer_->Spent - redrawsCounted_;
        redrawsCounted_ = redrawer_->Spent;
        spent -= redraws;
        redrawPhase_ += redraws;
    }
    phases_.emplace_back(phase, spent);
}

void TStartupWatch::WatchRedraws()
{
    if (!times_)
        return;
    redrawer_ = std::make_unique<TTimedRedrawer>(CurrentRedrawer());
    platform::ServiceSlot<TRedrawer>::install(redrawer_.get());
}

void TStartupWatch::StartUpDone(TGraphAreaForm& graph)
{
    if (screenshot_.isEmpty() && !times_)
        return;
    graph.SetAfterGraphPaint([this] { GraphShown(); });
    graph.RepaintGraph();
}

void TStartupWatch::GraphShown()
{
    if (done_)
        return;
    done_ = true;
    Mark("first paint");
    if (times_)
        Report();
    if (screenshot_.isEmpty()) {
        // A measured start ends here.
        if (times_)
            QCoreApplication::exit(0);
        return;
    }
    // The window system shows the other window's pixels soon after.
    QTimer::singleShot(100, [this] {
        QScreen* screen = QGuiApplication::primaryScreen();
        const bool saved = screen && screen->grabWindow(0).save(screenshot_, "PNG");
        if (!saved)
            std::fprintf(stderr, "kaviro: the screen could not be saved to %s\n", qPrintable(screenshot_));
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

void TStartupWatch::Report() const
{
    std::fprintf(stderr, "kaviro start-up (ms):");
    double total = 0.0;
    for (const auto& [phase, ms] : phases_) {
        std::fprintf(stderr, " %s=%.1f", phase, ms);
        total += ms;
    }
    if (redrawer_) {
        std::fprintf(stderr, " redraws=%.1f (%d of them)", redrawPhase_, redrawer_->Count);
        total += redrawPhase_;
    }
    std::fprintf(stderr, " total=%.1f\n", total);
}
