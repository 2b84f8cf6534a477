#include "model/FileAssociation.h"
#include "platform/fakes/FakeFileAssociation.h"
#include "platform/fakes/RecordingMessageSink.h"
#include "tests/QtPrinters.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

class FileAssociationTest : public ::testing::Test {
protected:
    platform::FakeFileAssociation association;
    platform::ScopedFileAssociation scopedAssociation{association};
    platform::RecordingMessageSink messages;
    platform::ScopedMessageSink scopedMessages{messages};
};

TEST_F(FileAssociationTest, RegisteringRecordsTheProjectFileType)
{
    ASSERT_TRUE(RegisterFileAssociation());
    ASSERT_TRUE(association.recorded().has_value());
    EXPECT_EQ(association.recorded()->extension, QStringLiteral("kvf"));
    EXPECT_EQ(association.recorded()->description, QStringLiteral("KAVIRO Project File"));
    EXPECT_EQ(association.recorded()->programPath, QCoreApplication::applicationFilePath());
    EXPECT_TRUE(messages.empty());
}

TEST_F(FileAssociationTest, AFailedRegistrationIsReported)
{
    association.setRefuseAdd(true);
    EXPECT_FALSE(RegisterFileAssociation());
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().kind, 1);
}

TEST_F(FileAssociationTest, ReleasingAsksFirstAndOnlyWhenThereIsSomethingToRelease)
{
    UnregisterFileAssociation();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(association.removals(), 0);

    RegisterFileAssociation();
    messages.scriptAnswers({false, true});
    UnregisterFileAssociation();
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, QStringLiteral("Liberar associação de arquivo com [OK]"));
    EXPECT_EQ(messages.last().kind, 0);
    EXPECT_EQ(messages.last().buttons, 12);
    EXPECT_TRUE(association.recorded().has_value());

    UnregisterFileAssociation();
    EXPECT_FALSE(association.recorded().has_value());
    EXPECT_EQ(association.removals(), 1);
}

} // namespace
