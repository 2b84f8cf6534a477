#include "platform/MessageSink.h"
#include "platform/fakes/RecordingMessageSink.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageSinkTest, DefaultSinkNeverConfirms)
{
    // Without a window nobody can answer: OK must not be assumed.
    EXPECT_FALSE(platform::CurrentMessageSink().show(QStringLiteral("Limpar dado atual com [OK]"), 0, 12));
}

TEST(MessageSinkTest, RecorderAnswersFromItsScriptThenItsDefault)
{
    platform::RecordingMessageSink sink;
    sink.scriptAnswers({false});
    sink.setDefaultAnswer(true);
    EXPECT_FALSE(sink.show(QStringLiteral("one"), 0, 12));
    EXPECT_TRUE(sink.show(QStringLiteral("two"), 1, 4));
    ASSERT_EQ(sink.messages().size(), 2u);
    EXPECT_EQ(sink.last().text, QStringLiteral("two"));
    EXPECT_EQ(sink.last().kind, 1);
}

TEST(MessageSinkTest, ScopedSinksNestAndRestore)
{
    platform::RecordingMessageSink outer, inner;
    {
        platform::ScopedMessageSink a(outer);
        {
            platform::ScopedMessageSink b(inner);
            platform::CurrentMessageSink().show(QStringLiteral("inner"), 2, 4);
        }
        platform::CurrentMessageSink().show(QStringLiteral("outer"), 2, 4);
    }
    EXPECT_EQ(inner.messages().size(), 1u);
    EXPECT_EQ(outer.messages().size(), 1u);
    EXPECT_NE(dynamic_cast<platform::StderrMessageSink*>(&platform::CurrentMessageSink()), nullptr);
}

} // namespace
