// The About window standing on the screen while the program starts.
#include "WindowTestKit.h"

#include "app/StartupSplash.h"
#include "dialogs/Version.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

namespace {

using StartupSplashTest = WindowTest;

// Timed, photographed or tested starts show no splash.
TEST_F(StartupSplashTest, OnlyAStartOnAScreenShowsIt)
{
    EXPECT_FALSE(TStartupSplash::IsWanted()) << "the tests run offscreen";
    const TStartupSplash quiet;
    EXPECT_EQ(quiet.Window(), nullptr);
    for (const char* variable : {"KAVIRO_SCREENSHOT", "KAVIRO_STARTUP_TIMES"}) {
        qputenv(variable, "1");
        EXPECT_FALSE(TStartupSplash::IsWanted()) << variable;
        qunsetenv(variable);
    }
}

// Shown at once; the start-up work's end closes it, but not before it has
// been up half a second.
TEST_F(StartupSplashTest, ItStaysUpHalfASecondAtLeastAndThenCloses)
{
    QElapsedTimer clock;
    clock.start();
    TStartupSplash splash(true);
    ASSERT_NE(splash.Window(), nullptr);
    EXPECT_TRUE(splash.Window()->isVisible());
    EXPECT_EQ(splash.Window()->Label4->text(), ProgramNameAndVersion());
    // The windows under it keep the keyboard.
    EXPECT_EQ(splash.Window()->windowType(), Qt::SplashScreen);
    EXPECT_TRUE(splash.Window()->testAttribute(Qt::WA_ShowWithoutActivating));
    splash.StartUpDone();
    EXPECT_NE(splash.Window(), nullptr) << "not at once";
    ASSERT_TRUE(QTest::qWaitFor([&] { return splash.Window() == nullptr; }, 5000));
    EXPECT_GE(clock.elapsed(), TStartupSplash::ShownMs);
}

} // namespace
