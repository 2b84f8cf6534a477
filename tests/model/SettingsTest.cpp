#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "platform/fakes/MemorySettingsStore.h"
#include "tests/QtPrinters.h"
#include "tests/model/ExtendedEdgeValues.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace {

void ResetAll()
{
    ProgramState.Reset();
    ProgramSettings.Reset();
    Options.Reset();
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAll(); }
    void TearDown() override { ResetAll(); }

    void Store(const QString& key, const char* name, const char* text)
    {
        store.writeText(key, QString::fromUtf8(name), QString::fromUtf8(text));
    }
    void StoreView(const char* xHigh, const char* xLow, const char* xPixels, const char* yHigh,
                   const char* yLow, const char* yPixels)
    {
        Store(RegKeyScaleX, "High", xHigh);
        Store(RegKeyScaleX, "Low", xLow);
        Store(RegKeyScaleX, "VHigh", xPixels);
        Store(RegKeyScaleY, "High", yHigh);
        Store(RegKeyScaleY, "Low", yLow);
        Store(RegKeyScaleY, "VHigh", yPixels);
    }

    platform::MemorySettingsStore store;
    platform::ScopedSettingsStore scoped{store};
};

TEST_F(SettingsTest, WithNothingStoredEverySettingKeepsItsDefault)
{
    ProgramState.GraphIsLeft = 0; // a current value that no stored value replaces
    LoadSettings();
    LoadScaleSettings();
    EXPECT_EQ(ProgramState.SctickerLarge, QStringLiteral("Arial Unicode MS"));
    EXPECT_EQ(ProgramState.SctickerSmall, QStringLiteral("Times New Roman"));
    EXPECT_EQ(ProgramState.GraphIsLeft, 0);
    EXPECT_EQ(ProgramState.AspectFactor, 1.0L);
    EXPECT_EQ(ProgramSettings.PrintSize, 75);
    EXPECT_EQ(ProgramSettings.PrintMode, 10);
    EXPECT_EQ(ProgramSettings.ScaleXHigh, 5.0L);
    EXPECT_EQ(ProgramSettings.ScaleYLow, -5.0L);
    EXPECT_EQ(Options.PenMarker, TPenMarker{});
    EXPECT_EQ(store.valueCount(), 0); // reading writes nothing
}

TEST_F(SettingsTest, TypedReadsFallBackAndReportTheirOutcome)
{
    Store(RegKeyState, "PrintSize", "abc");
    Store(RegKeyState, "PrintMode", "11");
    Store(RegKeyState, "VectorOn", "1");
    Store(RegKeyScaleX, "High", "12.5");

    EXPECT_EQ(RegReadIntDef(RegKeyState, QStringLiteral("PrintSize"), 75), 75);
    EXPECT_EQ(ProgramState.RegReadFailed, 1);
    EXPECT_EQ(RegReadIntDef(RegKeyState, QStringLiteral("PrintMode"), 10), 11);
    EXPECT_EQ(ProgramState.RegReadFailed, 0);
    EXPECT_TRUE(RegReadBoolDef(RegKeyState, QStringLiteral("VectorOn"), false));
    EXPECT_FALSE(RegReadBoolDef(RegKeyState, QStringLiteral("Missing"), false));
    EXPECT_EQ(ProgramState.RegReadFailed, 1);
    EXPECT_EQ(RegReadFloatDef(RegKeyScaleX, QStringLiteral("High"), 5.0L), 12.5L);
    EXPECT_EQ(RegReadFloatDef(RegKeyState, QStringLiteral("PrintSize"), 5.0L), 5.0L);
    EXPECT_EQ(RegReadStringDef(RegKeyState, QStringLiteral("PrintSize"), QStringLiteral("d")), QStringLiteral("abc"));
    EXPECT_EQ(RegReadStringDef(RegKeyFont, QStringLiteral("None"), QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_EQ(ProgramState.RegReadFailed, 1);

    LoadSettings();
    EXPECT_EQ(ProgramSettings.PrintSize, 75);
    EXPECT_EQ(ProgramSettings.PrintMode, 11);
    EXPECT_EQ(Options.VectorOn, 1);
}

TEST_F(SettingsTest, FontNamesAreReadWhateverTheReadBeforeThem)
{
    // The marker key without its size used to make every font read return
    // its default.
    Store(RegKeyMarker, "ColorNo1", "5");
    Store(RegKeyFont, "SctickerLarge", "DejaVu Sans");
    Store(RegKeyFont, "ScriptEdit", "Mono, Bold");
    const QString editFont = ProgramState.SctickerEdit;
    LoadSettings();
    EXPECT_EQ(Options.PenMarker.ColorNo, 5);
    EXPECT_EQ(Options.PenMarker.Size, 3);
    EXPECT_EQ(ProgramState.SctickerLarge, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(ProgramState.ScriptEdit, QStringLiteral("Mono, Bold"));
    EXPECT_EQ(ProgramState.SctickerEdit, editFont); // missing: keeps the current name
    EXPECT_EQ(ProgramState.SctickerSmall, QStringLiteral("Times New Roman"));
}

TEST_F(SettingsTest, StateValuesWithoutCurrentDefaultsFallBackToTheirOwn)
{
    ProgramSettings.ControlPalette = 1;
    ProgramSettings.CopyMode = 3;
    Options.BGMode = 4;
    Store(RegKeyState, "GraphIsLeft", "0");
    Store(RegKeyState, "BGMode", "300"); // no byte
    Store(RegKeyMarker, "Size", "-1");
    LoadSettings();
    EXPECT_EQ(ProgramState.GraphIsLeft, 0);
    EXPECT_EQ(ProgramSettings.ControlPalette, 0);
    EXPECT_EQ(ProgramSettings.CopyMode, 10);
    EXPECT_EQ(Options.BGMode, 4);
    EXPECT_EQ(Options.PenMarker.Size, 3);
}

TEST_F(SettingsTest, SavedSettingsLoadBackUnchanged)
{
    ProgramSettings.ControlPalette = 1;
    ProgramSettings.PrintSize = 90;
    ProgramSettings.PrintMode = 2;
    ProgramSettings.CopyMode = 11;
    ProgramSettings.FunctionArea = 1;
    ProgramSettings.AreaSizeByFile = 1;
    ProgramState.GraphIsLeft = 0;
    ProgramState.PresentationMode = 1;
    ProgramState.SctickerEdit = QStringLiteral("Edit Font");
    ProgramState.ScriptEdit = QStringLiteral("Script Font");
    ProgramState.SctickerLarge = QStringLiteral("Large Font");
    ProgramState.SctickerSmall = QStringLiteral("Small Font");
    Options.VectorOn = 1;
    Options.BGMode = 3;
    const TStoredSettings settings = ProgramSettings;
    const TProgramState state = ProgramState;
    const TDocumentOptions options = Options;

    SaveSettings();
    EXPECT_EQ(store.readText(RegKeyState, QStringLiteral("presentationMode")), QStringLiteral("1"));
    EXPECT_EQ(store.readText(RegKeyFont, QStringLiteral("SctickerSmall")), QStringLiteral("Small Font"));
    EXPECT_EQ(store.readText(QStringLiteral("SOFTWARE/KAVIRO/State"), QStringLiteral("PrintSize")), QStringLiteral("90"));
    ResetAll();
    LoadSettings();

    EXPECT_EQ(ProgramSettings, settings);
    EXPECT_EQ(Options, options);
    EXPECT_EQ(ProgramState.GraphIsLeft, state.GraphIsLeft);
    EXPECT_EQ(ProgramState.PresentationMode, state.PresentationMode);
    EXPECT_EQ(ProgramState.SctickerEdit, state.SctickerEdit);
    EXPECT_EQ(ProgramState.ScriptEdit, state.ScriptEdit);
    EXPECT_EQ(ProgramState.SctickerLarge, state.SctickerLarge);
    EXPECT_EQ(ProgramState.SctickerSmall, state.SctickerSmall);
}

TEST_F(SettingsTest, TheStoredStartViewGivesTheAspectFactor)
{
    ProgramState.GraphMaxHeight = 1200; // a screen with room for every stored length
    StoreView("10", "-10", "400", "5", "-5", "400");
    LoadScaleSettings();
    EXPECT_EQ(ProgramState.AspectFactor, 0.5L);
    EXPECT_EQ(ProgramSettings.ScaleXHigh, 10.0L);
    EXPECT_EQ(ProgramSettings.ScaleXLow, -10.0L);
    EXPECT_EQ(ProgramState.GraphPixelHeight, 400);

    StoreView("3", "-1", "600", "2", "-1", "300");
    LoadScaleSettings();
    EXPECT_EQ(ProgramState.AspectFactor, 1.5L); // (3 · 600 / 300) / 4
    EXPECT_EQ(ProgramState.GraphPixelHeight, 600); // the stored x length

    // A length stored on a larger screen is cut to this one's room.
    ProgramState.GraphMaxHeight = 500;
    LoadScaleSettings();
    EXPECT_EQ(ProgramState.GraphPixelHeight, 500);
    EXPECT_EQ(ProgramState.AspectFactor, 1.5L); // the stored shape still counts
}

TEST_F(SettingsTest, WithoutAStoredXAxisTheFactorStaysOne)
{
    Store(RegKeyScaleY, "High", "1");
    Store(RegKeyScaleY, "Low", "-1");
    ProgramSettings.GraphPixelWidth = 500;
    ProgramState.GraphMaxHeight = 1200;
    LoadScaleSettings();
    EXPECT_EQ(ProgramState.AspectFactor, 1.0L);
    EXPECT_EQ(ProgramSettings.ScaleYHigh, 1.0L);
    EXPECT_EQ(ProgramState.GraphPixelHeight, 500);
}

TEST_F(SettingsTest, AnUnusableStoredViewKeepsFactorOneAndTheDefaults)
{
    const std::array<const char*, 6> views[] = {
        {"10", "-10", "0", "5", "-5", "400"},
        {"10", "-10", "400", "5", "-5", "-3"},
        {"10", "10", "400", "5", "-5", "400"},
        {"10", "-10", "400", "-5", "5", "400"},
        {"1e4932", "-1e4932", "400", "5", "-5", "400"}, // the range overflows
    };
    for (const auto& v : views) {
        ResetAll();
        store.deleteKey(RegKeyRoot);
        StoreView(v[0], v[1], v[2], v[3], v[4], v[5]);
        LoadScaleSettings();
        EXPECT_EQ(ProgramState.AspectFactor, 1.0L) << v[0] << v[2] << v[3] << v[5];
        EXPECT_GT(ProgramState.GraphPixelHeight, 0);
        EXPECT_GT(ProgramSettings.ScaleXHigh, ProgramSettings.ScaleXLow);
        EXPECT_GT(ProgramSettings.ScaleYHigh, ProgramSettings.ScaleYLow);
    }
}

} // namespace

namespace {

// Floats are stored with '.' whatever the locale and read as number texts,
// below the normal range too; anything else keeps the default.
TEST_F(SettingsTest, StoredFloatTextsReadAsNumbers)
{
    const std::pair<const char*, std::optional<long double>> cases[] = {
        {"0.5", 0.5L},
        {"-10", -10.0L},
        {"1e3", 1000.0L},
        {" 2.5E-3 ", 2.5E-3L},
        {"+7", 7.0L},
        {"4e-4951", std::numeric_limits<long double>::denorm_min()},
        {"5e-4934", std::ldexp(137166702570541362.0L, -16445)},
        {"1e-5000", 0.0L},
        {"1,5", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
        {"-infinity", std::nullopt},
        {"1e5000", std::nullopt},
        {"", std::nullopt},
        {"five", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        Store(RegKeyScaleX, "Low", text);
        const long double value = RegReadFloatDef(RegKeyScaleX, QStringLiteral("Low"), 99.0L);
        EXPECT_EQ(value, expected.value_or(99.0L)) << text;
        EXPECT_EQ(ProgramState.RegReadFailed, expected ? 0 : 1) << text;
    }
}

TEST_F(SettingsTest, StoredFloatsReadBackExactly)
{
    for (const long double v : ExtendedEdgeValues()) {
        store.writeFloat(RegKeyScaleY, QStringLiteral("High"), v);
        const long double back = RegReadFloatDef(RegKeyScaleY, QStringLiteral("High"), 99.0L);
        const QString text = *store.readString(RegKeyScaleY, QStringLiteral("High"));
        EXPECT_EQ(back, v) << text.toStdString();
        EXPECT_EQ(std::signbit(back), std::signbit(v)) << text.toStdString();
    }
}

} // namespace
