#include "platform/QtInputState.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <utility>

namespace platform {

namespace {

constexpr std::pair<int, int> NamedKeys[] = {
    {Qt::Key_Backspace, VkBack}, {Qt::Key_Tab, VkTab},       {Qt::Key_Backtab, VkTab},
    {Qt::Key_Return, VkReturn},  {Qt::Key_Enter, VkReturn},  {Qt::Key_Shift, VkShift},
    {Qt::Key_Control, VkControl}, {Qt::Key_Alt, VkMenu},     {Qt::Key_AltGr, VkMenu},
    {Qt::Key_Escape, VkEscape},  {Qt::Key_Space, VkSpace},   {Qt::Key_PageUp, VkPrior},
    {Qt::Key_PageDown, VkNext},  {Qt::Key_End, VkEnd},       {Qt::Key_Home, VkHome},
    {Qt::Key_Left, VkLeft},      {Qt::Key_Up, VkUp},         {Qt::Key_Right, VkRight},
    {Qt::Key_Down, VkDown},      {Qt::Key_Insert, VkInsert}, {Qt::Key_Delete, VkDelete},
};

constexpr std::pair<Qt::MouseButton, int> MouseButtons[] = {
    {Qt::LeftButton, VkLButton},   {Qt::RightButton, VkRButton},    {Qt::MiddleButton, VkMButton},
    {Qt::BackButton, VkXButton1}, {Qt::ForwardButton, VkXButton2},
};

bool IsModifierKey(int virtualKey)
{
    return virtualKey == VkShift || virtualKey == VkControl || virtualKey == VkMenu;
}

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

int VirtualKeyOfQtKey(int qtKey)
{
    // Qt numbers letters and digits as their upper-case ASCII codes, as Windows does.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return VkF1 + (qtKey - Qt::Key_F1);
    for (const auto& [qt, vk] : NamedKeys) {
        if (qt == qtKey)
            return vk;
    }
    return 0;
}

QtInputState::QtInputState(QObject* parent)
    : QObject(parent)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

bool QtInputState::isKeyDown(int virtualKey) const
{
    return IsVirtualKey(virtualKey) && down_[virtualKey];
}

void QtInputState::setKey(int virtualKey, bool down)
{
    if (IsVirtualKey(virtualKey))
        down_[virtualKey] = down;
}

void QtInputState::releaseKeysOf(const QObject* window)
{
    for (std::size_t vk = 0; vk < pressedIn_.size(); ++vk)
        if (pressedIn_[vk] == window) {
            down_[vk] = false;
            pressedIn_[vk] = nullptr;
        }
}

void QtInputState::processEvents(int maxWaitMs)
{
    if (!QCoreApplication::instance()) {
        if (maxWaitMs > 0)
            QThread::msleep(static_cast<unsigned long>(maxWaitMs));
        return;
    }
    const QScopedValueRollback dropping(droppingUserInput_, true);
    if (maxWaitMs <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // The timer ends the wait when no other event comes first.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(maxWaitMs);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool QtInputState::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool press = type == QEvent::KeyPress;
        const int vk = VirtualKeyOfQtKey(key->key());
        // A held key repeats as release and press pairs: it stays down.
        if (press || !key->isAutoRepeat())
            setKey(vk, press);
        // The window comes first, then its widget.
        if (press && IsVirtualKey(vk) && qobject_cast<QWindow*>(watched))
            pressedIn_[static_cast<std::size_t>(vk)] = watched;
        if (!IsModifierKey(vk)) {
            const Qt::KeyboardModifiers mods = key->modifiers();
            setKey(VkShift, mods.testFlag(Qt::ShiftModifier));
            setKey(VkControl, mods.testFlag(Qt::ControlModifier));
            setKey(VkMenu, mods.testFlag(Qt::AltModifier));
        }
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        // A move says which buttons are down too: a release that reached
        // no window (one a modal box kept away) is made good at once.
        const Qt::MouseButtons buttons = static_cast<QMouseEvent*>(event)->buttons();
        for (const auto& [button, vk] : MouseButtons)
            setKey(vk, buttons.testFlag(button));
        break;
    }
    case QEvent::Hide:
        // A window that closes on a key's press (a message box answered
        // with Esc) is gone before the release comes.
        if (qobject_cast<QWindow*>(watched))
            releaseKeysOf(watched);
        break;
    case QEvent::ApplicationDeactivate:
        // Releases outside the program are never seen.
        down_.reset();
        break;
    default:
        break;
    }
    return droppingUserInput_ && IsUserInput(type);
}

} // namespace platform
