#include "model/Settings.h"

#include "model/NumberText.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "platform/SettingsStore.h"

#include <algorithm>
#include <cmath>
#include <optional>

TStoredSettings ProgramSettings;

namespace {

platform::SettingsStore& Store()
{
    return platform::CurrentSettingsStore();
}

template <class T>
T ValueOrDefault(const std::optional<T>& value, const T& def)
{
    ProgramState.RegReadFailed = value ? 0 : 1;
    return value ? *value : def;
}

// A byte setting; a stored number outside 0..255 is no byte and gives the default.
std::uint8_t RegReadByteDef(const QString& key, const QString& name, std::uint8_t def)
{
    const int n = RegReadIntDef(key, name, def);
    return n >= 0 && n <= 255 ? static_cast<std::uint8_t>(n) : def;
}

void LoadStateSettings()
{
    const QString& key = RegKeyState;
    ProgramState.PresentationMode = RegReadBoolDef(key, QStringLiteral("presentationMode"), ProgramState.PresentationMode);
    ProgramSettings.ControlPalette = RegReadBoolDef(key, QStringLiteral("ControlPalette"), false);
    ProgramState.GraphIsLeft = RegReadBoolDef(key, QStringLiteral("GraphIsLeft"), ProgramState.GraphIsLeft);
    ProgramSettings.PrintSize = RegReadByteDef(key, QStringLiteral("PrintSize"), 75);
    ProgramSettings.PrintMode = RegReadIntDef(key, QStringLiteral("PrintMode"), 10);
    ProgramSettings.CopyMode = RegReadIntDef(key, QStringLiteral("CopyMode"), 10);
    Options.VectorOn = RegReadBoolDef(key, QStringLiteral("VectorOn"), Options.VectorOn);
    Options.BGMode = RegReadByteDef(key, QStringLiteral("BGMode"), Options.BGMode);
    ProgramSettings.FunctionArea = RegReadBoolDef(key, QStringLiteral("FunctionArea"), false);
    ProgramSettings.AreaSizeByFile = RegReadBoolDef(key, QStringLiteral("AreaSizeByFile"), false);
}

void LoadMarkerSettings()
{
    TPenMarker& marker = Options.PenMarker;
    marker.ColorNo = RegReadByteDef(RegKeyMarker, QStringLiteral("ColorNo1"), marker.ColorNo);
    marker.Size = RegReadByteDef(RegKeyMarker, QStringLiteral("Size"), marker.Size);
}

void LoadFontSettings()
{
    const QString& key = RegKeyFont;
    TProgramState& s = ProgramState;
    s.SctickerEdit = RegReadStringDef(key, QStringLiteral("SctickerEdit"), s.SctickerEdit);
    s.ScriptEdit = RegReadStringDef(key, QStringLiteral("ScriptEdit"), s.ScriptEdit);
    s.SctickerLarge = RegReadStringDef(key, QStringLiteral("SctickerLarge"), s.SctickerLarge);
    s.SctickerSmall = RegReadStringDef(key, QStringLiteral("SctickerSmall"), s.SctickerSmall);
}

struct TStoredAxis {
    long double High;
    long double Low;
    int PixelLength;
};

constexpr long double DefaultHigh = 5.0L;
constexpr long double DefaultLow = -5.0L;

TStoredAxis DefaultAxis(int pixelLength)
{
    return {DefaultHigh, DefaultLow, pixelLength};
}

TStoredAxis ReadStoredAxis(const QString& key, int defaultLength)
{
    TStoredAxis axis;
    axis.High = RegReadFloatDef(key, QStringLiteral("High"), DefaultHigh);
    axis.Low = RegReadFloatDef(key, QStringLiteral("Low"), DefaultLow);
    axis.PixelLength = RegReadIntDef(key, QStringLiteral("VHigh"), defaultLength);
    return axis;
}

bool IsUsableAxis(const TStoredAxis& axis)
{
    return axis.PixelLength > 0 && axis.High > axis.Low && std::isfinite(axis.High - axis.Low);
}

// Floats are stored with '.' whatever the locale. Read here rather than by
// the store, so that values below the normal range (4E-4951) read back too.
std::optional<long double> ReadStoredFloat(const QString& key, const QString& name)
{
    const std::optional<QString> text = Store().readString(key, name);
    long double value = 0.0L;
    if (!text || !ParseExtended(*text, u'.', value))
        return std::nullopt;
    return value;
}

} // namespace

long double RegReadFloatDef(const QString& key, const QString& name, long double def)
{
    return ValueOrDefault(ReadStoredFloat(key, name), def);
}

int RegReadIntDef(const QString& key, const QString& name, int def)
{
    return ValueOrDefault(Store().readInteger(key, name), def);
}

bool RegReadBoolDef(const QString& key, const QString& name, bool def)
{
    return ValueOrDefault(Store().readBool(key, name), def);
}

QString RegReadStringDef(const QString& key, const QString& name, const QString& def)
{
    return ValueOrDefault(Store().readString(key, name), def);
}

void LoadSettings()
{
    // A key that is missing leaves every value it would hold as it is.
    if (Store().keyExists(RegKeyState))
        LoadStateSettings();
    if (Store().keyExists(RegKeyMarker))
        LoadMarkerSettings();
    if (Store().keyExists(RegKeyFont))
        LoadFontSettings();
}

void SaveSettings()
{
    platform::SettingsStore& store = Store();
    // One write to the file for the whole state, not one per value.
    const platform::SettingsWriteBatch batch(store);
    const QString& state = RegKeyState;
    store.writeBool(state, QStringLiteral("ControlPalette"), ProgramSettings.ControlPalette);
    store.writeBool(state, QStringLiteral("GraphIsLeft"), ProgramState.GraphIsLeft);
    store.writeInteger(state, QStringLiteral("PrintSize"), ProgramSettings.PrintSize);
    store.writeInteger(state, QStringLiteral("PrintMode"), ProgramSettings.PrintMode);
    store.writeInteger(state, QStringLiteral("CopyMode"), ProgramSettings.CopyMode);
    store.writeBool(state, QStringLiteral("presentationMode"), ProgramState.PresentationMode);
    store.writeBool(state, QStringLiteral("VectorOn"), Options.VectorOn);
    store.writeInteger(state, QStringLiteral("BGMode"), Options.BGMode);
    store.writeBool(state, QStringLiteral("FunctionArea"), ProgramSettings.FunctionArea);
    store.writeBool(state, QStringLiteral("AreaSizeByFile"), ProgramSettings.AreaSizeByFile);

    const QString& font = RegKeyFont;
    store.writeString(font, QStringLiteral("SctickerEdit"), ProgramState.SctickerEdit);
    store.writeString(font, QStringLiteral("ScriptEdit"), ProgramState.ScriptEdit);
    store.writeString(font, QStringLiteral("SctickerLarge"), ProgramState.SctickerLarge);
    store.writeString(font, QStringLiteral("SctickerSmall"), ProgramState.SctickerSmall);
}

void LoadScaleSettings()
{
    TProgramState& s = ProgramState;
    TStoredSettings& view = ProgramSettings;
    s.AspectFactor = 1.0L;
    TStoredAxis x = ReadStoredAxis(RegKeyScaleX, view.GraphPixelWidth);
    TStoredAxis y = ReadStoredAxis(RegKeyScaleY, s.GraphPixelHeight);
    // An empty range or a length of no pixels gives no ratio of units per
    // pixel (and a zero divisor): such an axis starts from its defaults.
    const bool usable = IsUsableAxis(x) && IsUsableAxis(y);
    if (!IsUsableAxis(x))
        x = DefaultAxis(view.GraphPixelWidth);
    if (!IsUsableAxis(y))
        y = DefaultAxis(s.GraphPixelHeight);
    view.ScaleXHigh = x.High;
    view.ScaleXLow = x.Low;
    view.ScaleYHigh = y.High;
    view.ScaleYLow = y.Low;
    if (usable && Store().keyExists(RegKeyScaleX)) {
        // y units per pixel over x units per pixel.
        const long double factor = ((y.High - y.Low) * x.PixelLength / y.PixelLength) / (x.High - x.Low);
        if (std::isfinite(factor) && factor > 0.0L)
            s.AspectFactor = factor;
    }
    // A length stored on a larger screen would run off this one.
    s.GraphPixelHeight = std::min(x.PixelLength, s.GraphMaxHeight);
}
