#include "platform/QtSettingsStore.h"
#include "platform/SettingsStore.h"
#include "platform/fakes/MemorySettingsStore.h"
#include "tests/QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cfloat>
#include <memory>
#include <numbers>

namespace {

using platform::SettingTextToBool;
using platform::SettingTextToInteger;

TEST(SettingTextTest, IntegersMustBeWholeDecimalNumbersOfTheIntRange)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"12", 12}, {" -7 ", -7}, {"+5", 5}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt}, {"1.5", std::nullopt}, {"abc", std::nullopt}, {"", std::nullopt},
        {"12x", std::nullopt}, {"0x10", std::nullopt}, {"+", std::nullopt}, {"+-1", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(SettingTextToInteger(QString::fromUtf8(text)), expected) << text;
}

// Floats are read by the model; the store writes the fewest digits that read back.
TEST(SettingTextTest, FloatsAreWrittenWithTheFewestDigits)
{
    const std::pair<long double, const char*> cases[] = {
        {5.0L, "5"}, {-0.25L, "-0.25"}, {0.1L, "0.1"}, {LDBL_TRUE_MIN, "4e-4951"}, {-0.0L, "-0"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(platform::FloatToSettingText(value), QString::fromLatin1(text)) << text;
}

TEST(SettingTextTest, FlagsAreIntegersOrTrueAndFalse)
{
    const std::pair<const char*, std::optional<bool>> cases[] = {
        {"1", true}, {"0", false}, {"2", true}, {"-1", true}, {"true", true}, {"FALSE", false},
        {"yes", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(SettingTextToBool(QString::fromUtf8(text)), expected) << text;
    EXPECT_EQ(platform::BoolToSettingText(true), QStringLiteral("1"));
}

// Every store keeps values and keys the same way.
class SettingsStoreTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        if (GetParam())
            store = std::make_unique<platform::QtSettingsStore>(folder.filePath(QStringLiteral("test.ini")));
        else
            store = std::make_unique<platform::MemorySettingsStore>();
    }

    QTemporaryDir folder;
    std::unique_ptr<platform::SettingsStore> store;
    const QString state = QStringLiteral("SOFTWARE/KAVIRO/State");
    const QString font = QStringLiteral("SOFTWARE/KAVIRO/Option/Font");
};

TEST_P(SettingsStoreTest, TypedValuesReadBackAndWrongTypesFail)
{
    EXPECT_FALSE(store->readInteger(state, QStringLiteral("PrintSize")).has_value());
    store->writeInteger(state, QStringLiteral("PrintSize"), 80);
    store->writeBool(state, QStringLiteral("VectorOn"), true);
    store->writeFloat(state, QStringLiteral("High"), 0.1L);
    store->writeString(font, QStringLiteral("SctickerLarge"), QStringLiteral("Arial Unicode MS, Bold"));
    store->writeString(font, QStringLiteral("Empty"), QString());

    EXPECT_EQ(store->readInteger(state, QStringLiteral("PrintSize")), 80);
    EXPECT_EQ(store->readBool(state, QStringLiteral("VectorOn")), true);
    EXPECT_EQ(store->readString(state, QStringLiteral("High")), QStringLiteral("0.1"));
    EXPECT_EQ(store->readString(font, QStringLiteral("SctickerLarge")), QStringLiteral("Arial Unicode MS, Bold"));
    EXPECT_EQ(store->readString(font, QStringLiteral("Empty")), QString());
    EXPECT_FALSE(store->readInteger(font, QStringLiteral("SctickerLarge")).has_value());
    EXPECT_FALSE(store->readInteger(state, QStringLiteral("High")).has_value());
    EXPECT_FALSE(store->readString(state, QStringLiteral("printsize")).has_value());
}

TEST_P(SettingsStoreTest, KeysExistWithTheirSubkeysAndAreDeletedWithThem)
{
    EXPECT_FALSE(store->keyExists(QStringLiteral("SOFTWARE/KAVIRO")));
    store->writeInteger(state, QStringLiteral("PrintSize"), 80);
    store->writeInteger(font + QStringLiteral("X"), QStringLiteral("Kept"), 1);
    EXPECT_TRUE(store->keyExists(state));
    EXPECT_TRUE(store->keyExists(QStringLiteral("SOFTWARE/KAVIRO")));
    EXPECT_FALSE(store->keyExists(font));

    store->writeString(font, QStringLiteral("ScriptEdit"), QStringLiteral("Mono"));
    store->deleteKey(font);
    EXPECT_FALSE(store->keyExists(font));
    EXPECT_TRUE(store->keyExists(font + QStringLiteral("X"))); // a longer name is no subkey
    store->deleteKey(QStringLiteral("SOFTWARE/KAVIRO"));
    EXPECT_FALSE(store->keyExists(state));
    EXPECT_FALSE(store->readInteger(state, QStringLiteral("PrintSize")).has_value());
}

INSTANTIATE_TEST_SUITE_P(Stores, SettingsStoreTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "IniFile" : "Memory"; });

TEST(QtSettingsStoreTest, ValuesOutliveTheStoreInTheConfigurationFolder)
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(configHome.isEmpty()); // set by the test program: never the user's own
    {
        platform::QtSettingsStore store;
        EXPECT_TRUE(store.fileName().startsWith(configHome)) << store.fileName().toStdString();
        store.writeFloat(QStringLiteral("SOFTWARE/KAVIRO/Option/ScaleX"), QStringLiteral("Low"), -12.75L);
    }
    platform::QtSettingsStore again;
    EXPECT_EQ(again.readString(QStringLiteral("SOFTWARE/KAVIRO/Option/ScaleX"), QStringLiteral("Low")),
              QStringLiteral("-12.75"));
    again.deleteKey(QStringLiteral("SOFTWARE"));
}

TEST(QtSettingsStoreTest, HandEditedFilesAreRead)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("edited.ini"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[SOFTWARE]\nKAVIRO\\State\\PrintSize = 90\nKAVIRO\\Option\\Font\\ScriptEdit=Mono, Bold\n");
    }
    platform::QtSettingsStore store(path);
    EXPECT_EQ(store.readInteger(QStringLiteral("SOFTWARE/KAVIRO/State"), QStringLiteral("PrintSize")), 90);
    EXPECT_EQ(store.readString(QStringLiteral("SOFTWARE/KAVIRO/Option/Font"), QStringLiteral("ScriptEdit")),
              QStringLiteral("Mono, Bold"));
}

} // namespace
