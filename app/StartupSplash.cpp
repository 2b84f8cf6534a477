#include "app/StartupSplash.h"

#include "dialogs/Version.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>

TStartupSplash::TStartupSplash(bool shown)
{
    if (!shown)
        return;
    window_ = std::make_unique<Tversion>();
    // It takes neither the keyboard nor a place in the task bar.
    window_->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    window_->setAttribute(Qt::WA_ShowWithoutActivating);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window_->move(screen->availableGeometry().center() - window_->rect().center());
    window_->show();
    shown_.start();
}

TStartupSplash::~TStartupSplash() = default;

bool TStartupSplash::IsWanted()
{
    return qEnvironmentVariableIsEmpty("KAVIRO_SCREENSHOT") && qEnvironmentVariableIsEmpty("KAVIRO_STARTUP_TIMES") &&
           QGuiApplication::platformName() != QStringLiteral("offscreen");
}

void TStartupSplash::StartUpDone()
{
    if (!window_)
        return;
    const int left = std::max(0, ShownMs - static_cast<int>(shown_.elapsed()));
    QTimer::singleShot(left, window_.get(), [this] { window_.reset(); });
}

Tversion* TStartupSplash::Window() const
{
    return window_.get();
}
