// The windows as they appear after a start, against pictures reviewed by eye.
#include "WindowTestKit.h"

#include "tests/render/GoldenFiles.h"

#include <QImage>

namespace {

// Text is drawn by the platform's font engine.
constexpr TImageTolerance TextTolerance{48, 0.02};

class WindowGoldenTest : public WindowTest {
protected:
    void ExpectWindows(const char* name)
    {
        const QString suffix = QString::fromUtf8(name) + QStringLiteral(".png");
        EXPECT_TRUE(MatchesImageGolden(Graph().grab().toImage(), QStringLiteral("windows/graph-") + suffix,
                                       TextTolerance));
        EXPECT_TRUE(MatchesImageGolden(Console().grab().toImage(), QStringLiteral("windows/console-") + suffix,
                                       TextTolerance));
    }
};

TEST_F(WindowGoldenTest, AStartWithoutAProject)
{
    StartProgram();
    ExpectWindows("empty");
}

TEST_F(WindowGoldenTest, AStartWithTheSampleProject)
{
    StartProgram({QStringLiteral(KAVIRO_WINDOWS_TEST_DATA "/sample.kvf")});
    ASSERT_TRUE(messages.empty());
    ExpectWindows("sample");
}

} // namespace
