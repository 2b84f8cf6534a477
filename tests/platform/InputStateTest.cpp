#include "platform/Clock.h"
#include "platform/InputState.h"
#include "platform/QtInputState.h"
#include "platform/fakes/FakeClock.h"
#include "platform/fakes/FakeInputState.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using namespace platform;

TEST(InputStateTest, QtKeysMapToWindowsVirtualKeys)
{
    const std::pair<int, int> cases[] = {
        {Qt::Key_A, 65},     {Qt::Key_Z, 90},      {Qt::Key_0, 48},      {Qt::Key_9, 57},
        {Qt::Key_F1, 112},   {Qt::Key_F12, 123},   {Qt::Key_Left, 37},   {Qt::Key_Up, 38},
        {Qt::Key_Right, 39}, {Qt::Key_Down, 40},   {Qt::Key_Escape, 27}, {Qt::Key_Return, 13},
        {Qt::Key_Enter, 13}, {Qt::Key_Space, 32},  {Qt::Key_Tab, 9},     {Qt::Key_Backspace, 8},
        {Qt::Key_Shift, 16}, {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},   {Qt::Key_F13, 0},
        {Qt::Key_unknown, 0},
    };
    for (const auto& [qt, vk] : cases)
        EXPECT_EQ(VirtualKeyOfQtKey(qt), vk) << std::hex << qt;
}

// Counts the events that reach it.
class Receiver : public QObject {
public:
    std::vector<QEvent::Type> received;

protected:
    bool event(QEvent* e) override
    {
        received.push_back(e->type());
        return true;
    }
};

class QtInputStateTest : public ::testing::Test {
protected:
    QtInputState input;
    ScopedInputState scope{input};
    Receiver receiver;

    void post(QEvent* e) { QCoreApplication::postEvent(&receiver, e); }
    void postKey(QEvent::Type type, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, bool repeat = false)
    {
        post(new QKeyEvent(type, key, mods, QString(), repeat));
    }
    void postMouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        post(new QMouseEvent(type, QPointF(5, 5), QPointF(5, 5), button, buttons, Qt::NoModifier));
    }
};

TEST_F(QtInputStateTest, PollingSeesKeysButKeepsThemFromTheWindows)
{
    postKey(QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_TRUE(IsBreakKeyDown());
    EXPECT_TRUE(receiver.received.empty());

    // Outside a poll the events reach the windows as usual.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&receiver, &release);
    EXPECT_EQ(receiver.received.size(), 1u);
    EXPECT_FALSE(IsBreakKeyDown());

    postKey(QEvent::KeyPress, Qt::Key_F1);
    EXPECT_TRUE(IsBreakKeyDown());
}

TEST_F(QtInputStateTest, OtherEventsAreHandledDuringAPoll)
{
    post(new QEvent(QEvent::User));
    Delay(0);
    EXPECT_EQ(receiver.received, std::vector<QEvent::Type>{QEvent::User});
}

TEST_F(QtInputStateTest, HeldKeysStayDownThroughAutoRepeat)
{
    postKey(QEvent::KeyPress, Qt::Key_A);
    postKey(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, true);
    postKey(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, true);
    postKey(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, true);
    Delay(0);
    EXPECT_TRUE(IsKeyDown(VkA));
    postKey(QEvent::KeyRelease, Qt::Key_A);
    Delay(0);
    EXPECT_FALSE(IsKeyDown(VkA));
}

TEST_F(QtInputStateTest, ModifiersFollowTheirKeysAndOtherEvents)
{
    postKey(QEvent::KeyPress, Qt::Key_Shift);
    Delay(0);
    EXPECT_TRUE(IsShiftDown());
    postKey(QEvent::KeyPress, Qt::Key_B, Qt::ControlModifier | Qt::AltModifier);
    Delay(0);
    EXPECT_FALSE(IsShiftDown()); // the later event says Shift is up
    EXPECT_TRUE(IsCtrlDown());
    EXPECT_TRUE(IsAltDown());
    EXPECT_TRUE(IsKeyDown(66));
}

TEST_F(QtInputStateTest, MouseButtonsAndLosingTheFocus)
{
    postMouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(IsMouseButtonDown());
    postMouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    postMouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::RightButton);
    EXPECT_FALSE(IsMouseButtonDown());
    EXPECT_TRUE(IsKeyDown(VkRButton));
    EXPECT_TRUE(receiver.received.empty());

    // A release that no window received (one kept from the windows by a
    // modal box): the next move tells the buttons as they are.
    postMouse(QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
    Delay(0);
    EXPECT_FALSE(IsKeyDown(VkRButton));
    postMouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton);
    Delay(0);
    EXPECT_TRUE(IsKeyDown(VkRButton));

    QEvent deactivate(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &deactivate);
    EXPECT_FALSE(IsKeyDown(VkRButton));
}

// A window that closes on a key's press (a message box on Esc, a chooser
// on Esc, a dialog on Return) never gets its release: the key counts as up
// once that window hides. Keys pressed elsewhere stay down.
TEST_F(QtInputStateTest, KeysPressedInAWindowThatHidesGoUp)
{
    QWindow box;
    QWindow graph;
    box.show();
    graph.show();
    for (const auto& [window, key] : {std::pair{&box, Qt::Key_Escape}, std::pair{&graph, Qt::Key_F1}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &press);
    }
    EXPECT_TRUE(IsKeyDown(VkEscape));
    box.hide();
    EXPECT_FALSE(IsKeyDown(VkEscape));
    EXPECT_TRUE(IsKeyDown(VkF1)) << "pressed in a window that stays";
    graph.hide();
    EXPECT_FALSE(IsKeyDown(VkF1));
}

TEST(DelayTest, ZeroHandlesEventsOnce)
{
    FakeInputState input;
    FakeClock clock;
    ScopedInputState inputScope(input);
    ScopedClock clockScope(clock);
    Delay(0);
    EXPECT_EQ(input.eventRounds(), std::vector<int>{0});
}

TEST(DelayTest, WaitsForTheRestOfTheTimeInsteadOfSpinning)
{
    FakeInputState input;
    FakeClock clock;
    ScopedInputState inputScope(input);
    ScopedClock clockScope(clock);
    // Each round ends after at most 7 ms, as if events kept arriving.
    input.onProcessEvents([&clock](int wait) { clock.advance(std::min(wait, 7)); });
    Delay(20);
    EXPECT_EQ(input.eventRounds(), (std::vector<int>{0, 20, 13, 6}));
    EXPECT_EQ(clock.tickCount(), 20);
}

} // namespace
