#include "platform/LocaleSeparators.h"

#include <gtest/gtest.h>

namespace {

class LocaleSeparatorsTest : public ::testing::Test {
protected:
    void TearDown() override { platform::SetLocaleOverride(std::nullopt); }
};

TEST_F(LocaleSeparatorsTest, PointLocaleUsesCommaLists)
{
    platform::SetLocaleOverride(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(platform::GetDecimalSeparator(), QChar(u'.'));
    EXPECT_EQ(platform::GetListSeparator(), QChar(u','));
}

TEST_F(LocaleSeparatorsTest, CommaLocaleUsesSemicolonLists)
{
    for (QLocale::Language lang : {QLocale::Portuguese, QLocale::German, QLocale::French}) {
        platform::SetLocaleOverride(QLocale(lang));
        EXPECT_EQ(platform::GetDecimalSeparator(), QChar(u',')) << QLocale::languageToString(lang).toStdString();
        EXPECT_EQ(platform::GetListSeparator(), QChar(u';'));
    }
}

TEST_F(LocaleSeparatorsTest, ClearingTheOverrideReturnsToTheSystemLocale)
{
    platform::SetLocaleOverride(QLocale(QLocale::German));
    platform::SetLocaleOverride(std::nullopt);
    const QString sample = QLocale::system().toString(3.14, 'f', 2);
    EXPECT_EQ(platform::GetDecimalSeparator(), sample.at(1));
}

} // namespace
