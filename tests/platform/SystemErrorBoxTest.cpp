#include "platform/SystemErrorBox.h"
#include "platform/fakes/RecordingSystemErrorBox.h"

#include <gtest/gtest.h>

namespace {

TEST(SystemErrorBoxTest, ScopedRecorderTakesTheBoxesThenTheDefaultComesBack)
{
    platform::RecordingSystemErrorBox box;
    {
        platform::ScopedSystemErrorBox use(box);
        platform::CurrentSystemErrorBox().showError(QStringLiteral("Tamanho da janela inválido"));
    }
    ASSERT_EQ(box.errors().size(), 1u);
    EXPECT_EQ(box.errors().front(), QStringLiteral("Tamanho da janela inválido"));
    EXPECT_NE(dynamic_cast<platform::StderrSystemErrorBox*>(&platform::CurrentSystemErrorBox()), nullptr);
}

} // namespace
