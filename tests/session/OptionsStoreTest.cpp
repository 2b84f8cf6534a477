// The options kept in the settings store: saved, read back at start and for a
// new document, and deleted.
#include "SessionTest.h"

#include "session/OptionsStore.h"

#include "engine/Compiler.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "platform/QtSettingsStore.h"
#include "platform/fakes/MemorySettingsStore.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <charconv>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

std::string Text(long double v)
{
    char buf[64];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}
std::string Text(const QString& s)
{
    return s.toStdString();
}
std::string Text(QChar c)
{
    return Text(QString(c));
}

void PutAxis(std::map<std::string, std::string>& m, const std::string& p, const ScaleSubT& a)
{
    for (const auto& [name, value] : {std::pair{"AxesVisible", a.AxesVisible}, {"ScaleVisible", a.ScaleVisible},
                                      {"ValueVisible", a.ValueVisible}, {"GuideVisible", a.GuideVisible}})
        m[p + name] = Text(value);
    m[p + "Number"] = Text(a.Number);
    m[p + "base"] = Text(a.Base);
    m[p + "LInterval"] = Text(a.LInterval);
    m[p + "Caption"] = Text(a.Caption);
    m[p + "SCaption"] = Text(a.PlainCaption);
    m[p + "Letter"] = Text(a.Letter());
}

// Every value LoadOptions reads, by name, as text: a difference prints as
// the names that differ.
std::map<std::string, std::string> OptionValues()
{
    std::map<std::string, std::string> m;
    const TDocumentOptions& o = Options;
    const ScaleT& v = GraphScale;
    const TProgramState& s = ProgramState;
    PutAxis(m, "X.", v.XAxis);
    PutAxis(m, "Y.", v.YAxis);
    const std::pair<const char*, long double> values[] = {
        {"AreaFixed", o.AreaFixed}, {"AreaRectify", o.AreaRectify}, {"SquareQ", v.SquareQ}, {"AxisOn", v.AxisOn},
        {"PsMesh", v.PsMesh}, {"Letterposition", v.Letterposition}, {"LetterFrac", v.LetterFrac},
        {"AxisWidth", v.AxisWidth}, {"AxisStyle", v.AxisStyle}, {"ThetaNum", v.PolorNum}, {"AxisType", o.AxisType},
        {"FontSize", s.FontSize}, {"DegreeFont", o.DegreeFont}, {"AngleMode", o.AngleMode}, {"LogMode", o.LogMode},
        {"AngleArea", o.AngleArea}, {"CircleMode", o.CircleMode}, {"ThetaMode", o.ThetaMode},
        {"ComplexMode", o.ComplexMode}, {"AllowSqrtN", o.AllowSqrtN}, {"DrawOnDrag", o.DrawOnDrag},
        {"DrawOnCalc", o.DrawOnCalc}, {"ShowSync", o.ShowSync}, {"ScanWidth", o.ScanWidth},
        {"DrawMode", o.DrawMode}, {"AfterImageColorNo", o.AfterImageColorNo}, {"CapStyle", o.CapStyle},
        {"ShowProperty", o.ShowProperty}, {"AimgOfArea", o.AimgOfArea},
        {"Graph.ColorNo1", s.DefaultGraphStyle.ColorNo1}, {"Graph.Width", s.DefaultGraphStyle.Width},
        {"Graph.LineStyle", s.DefaultGraphStyle.LineStyle}, {"Segment.ColorNo1", s.DefaultSegmentStyle.ColorNo1},
        {"Segment.Width", s.DefaultSegmentStyle.Width}, {"Segment.LineStyle", s.DefaultSegmentStyle.LineStyle},
        {"Figure.ColorNo1", s.DefaultFigureStyle.ColorNo1}, {"Figure.RColorNo1", s.DefaultFigureStyle.RColorNo1},
        {"Figure.Width", s.DefaultFigureStyle.Width}, {"Figure.RWidth", s.DefaultFigureStyle.RWidth},
        {"Figure.LineStyle", s.DefaultFigureStyle.LineStyle}, {"Figure.Dimension", s.DefaultFigureStyle.Dimension},
    };
    for (const auto& [name, value] : values)
        m[name] = Text(value);
    return m;
}

// A value other than the start-up one for every option.
void SetUnusualOptions()
{
    TDocumentOptions& o = Options;
    ScaleT& v = GraphScale;
    TProgramState& s = ProgramState;
    for (ScaleSubT* a : {&v.XAxis, &v.YAxis}) {
        a->AxesVisible = 0;
        a->ScaleVisible = 0;
        a->ValueVisible = 0;
        a->GuideVisible = 0;
        a->Number = 10;
        a->LInterval = 3;
        a->Caption = QStringLiteral("<I>t</I>, \"dist\"; m");
        a->SetNameText();
        a->VHigh = 500;
        a->SetBounds(-7.1L, 7.25L);
    }
    v.XAxis.Base = Pi / 2.0L;
    v.YAxis.Base = 90.0L;
    v.XAxis.SetLetter(u'@');
    o.AreaFixed = 1;
    o.AreaRectify = 0;
    v.SquareQ = v.AxisOn = v.LetterFrac = o.DegreeFont = 1;
    v.PsMesh = 3;
    v.Letterposition = 2;
    v.AxisWidth = 3;
    v.AxisStyle = 1;
    v.PolorNum = 36;
    o.AxisType = 1;
    s.FontSize = 17;
    o.AngleMode = o.AngleArea = o.CircleMode = 2;
    o.LogMode = o.ThetaMode = 1;
    o.ComplexMode = o.AllowSqrtN = o.DrawOnDrag = o.ShowSync = o.AimgOfArea = 1;
    o.DrawOnCalc = o.ShowProperty = 0;
    o.ScanWidth = 8;
    o.DrawMode = 3;
    o.AfterImageColorNo = 4;
    o.CapStyle = 0;
    o.PenMarker = {5, 9};
    s.DefaultGraphStyle = {0x80123456, 4, 3};
    s.DefaultSegmentStyle = {0x00FF00, 5, 2};
    s.DefaultFigureStyle = {0x0000FF, 0x00FFFF, 6, 2, 4, 2};
}

class OptionsStoreTest : public SessionTest {
protected:
    void Store(const QString& key, const char* name, const char* text)
    {
        store_.writeText(key, QString::fromUtf8(name), QString::fromUtf8(text));
    }

    platform::MemorySettingsStore store_;
    platform::ScopedSettingsStore scopedStore_{store_};
};

TEST_F(OptionsStoreTest, SaveWritesExactlyTheValuesOfEachKey)
{
    SaveOptions();
    const std::pair<const QString*, const char*> keys[] = {
        {&RegKeyArea, "AreaFixed AreaRectify"},
        {&RegKeyScaleX, "VHigh High Low AxesVisible ScaleVisible ValueVisible GuideVisible Number base "
                        "LInterval SCaption Caption Letter"},
        {&RegKeyScaleY, "VHigh High Low AxesVisible ScaleVisible ValueVisible GuideVisible Number base "
                        "LInterval SCaption Caption"},
        {&RegKeyScale, "SquareQ AxisOn PsMesh Letterposition LetterFrac AxisWidth AxisStyle ThetaNum AxisType "
                       "FontSize DegreeFont"},
        {&RegKeyFunction, "AngleMode LogMode AngleArea CircleMode ThetaMode ComplexMode AllowSqrtN"},
        {&RegKeyGraph, "DrawOnDrag DrawOnCalc ShowSync ScanWidth DrawMode AfterImageColorNo CapStyle "
                       "ShowProperty AimgOfArea"},
        {&RegKeyMarker, "ColorNo1 Size"},
        {&RegKeyDefaultGraph, "ColorNo1 Width LineStyle"},
        {&RegKeyDefaultSegment, "ColorNo1 Width LineStyle"},
        {&RegKeyDefaultFigure, "ColorNo1 Width RColorNo1 RWidth LineStyle Dimension"},
    };
    int count = 0;
    for (const auto& [key, names] : keys) {
        for (const QString& name : QString::fromUtf8(names).split(u' ')) {
            EXPECT_TRUE(store_.readText(*key, name)) << key->toStdString() << ' ' << name.toStdString();
            ++count;
        }
    }
    EXPECT_EQ(store_.valueCount(), count);
    EXPECT_TRUE(store_.keyExists(QStringLiteral("SOFTWARE/KAVIRO/Default/Figure")));
}

TEST_F(OptionsStoreTest, AfterDeleteOnlyTheAreaFlagsChange)
{
    SetUnusualOptions();
    SaveOptions();
    SaveSettings();
    const auto before = OptionValues();
    DeleteOptions();
    EXPECT_EQ(store_.valueCount(), 0);
    EXPECT_EQ(OptionValues(), before); // nothing else changes until the next load

    LoadOptions();
    auto expected = before;
    expected["AreaFixed"] = "0";
    expected["AreaRectify"] = "1";
    EXPECT_EQ(OptionValues(), expected);
}

// The saved y division count was chosen for the saved y length.
TEST_F(OptionsStoreTest, YDivisionsScaleToTheCurrentLength)
{
    struct Case {
        const char* StoredPixels;
        const char* StoredNumber;
        int Pixels;
        int Expected;
    };
    const Case cases[] = {
        {"400", "10", 600, 15}, {"400", "7", 500, 9}, {"1000", "5", 500, 2}, {"1000", "7", 500, 4},
        {"0", "10", 600, 10},   {"-400", "10", 600, 10}, {nullptr, "10", 600, 10}, {"100", "30", 600, 40},
        {"1600", "1", 150, 1},  {"400", "0", 600, 6},   {"400", "41", 600, 6},
    };
    for (const Case& c : cases) {
        store_.deleteKey(RegKeyRoot);
        GraphScale.YAxis.VHigh = c.Pixels;
        GraphScale.YAxis.Number = 6;
        if (c.StoredPixels)
            Store(RegKeyScaleY, "VHigh", c.StoredPixels);
        Store(RegKeyScaleY, "Number", c.StoredNumber);
        LoadOptions();
        EXPECT_EQ(GraphScale.YAxis.Number, c.Expected) << c.StoredPixels << ' ' << c.StoredNumber;
    }
    // The x count is taken as it is.
    GraphScale.XAxis.VHigh = 600;
    Store(RegKeyScaleX, "VHigh", "400");
    Store(RegKeyScaleX, "Number", "10");
    LoadOptions();
    EXPECT_EQ(GraphScale.XAxis.Number, 10);
}

// A value the program never writes comes from a damaged or hand-edited
// file: it keeps the current value, as a missing one does. Byte options
// take the low byte first.
TEST_F(OptionsStoreTest, ValuesNeverWrittenKeepTheCurrentOne)
{
    using Read = long double (*)();
    const auto letter = [] { return static_cast<long double>(GraphScale.XAxis.Letter().unicode()); };
    const auto xBase = [] { return GraphScale.XAxis.Base; };
    const auto angleMode = [] { return static_cast<long double>(Options.AngleMode); };
    struct Case {
        const QString* Key;
        const char* Name;
        const char* Stored;
        Read Field;
        long double Expected;
    };
    const Case cases[] = {
        {&RegKeyScaleX, "Letter", "", letter, 'x'},
        {&RegKeyScaleX, "Letter", "t", letter, 'x'},
        {&RegKeyScaleX, "Letter", "@", letter, '@'},
        {&RegKeyScaleX, "base", "0", xBase, 1.0L},
        {&RegKeyScaleX, "base", "-2", xBase, 1.0L},
        {&RegKeyScaleX, "base", "1e400", xBase, 1.0L},
        {&RegKeyScaleX, "base", "0.1", xBase, static_cast<double>(0.1L)},
        {&RegKeyScaleX, "LInterval", "0", [] { return static_cast<long double>(GraphScale.XAxis.LInterval); }, 1},
        {&RegKeyScaleX, "Number", "41", [] { return static_cast<long double>(GraphScale.XAxis.Number); }, 7},
        {&RegKeyScale, "ThetaNum", "7", [] { return static_cast<long double>(GraphScale.PolorNum); }, 7},
        {&RegKeyScale, "ThetaNum", "72", [] { return static_cast<long double>(GraphScale.PolorNum); }, 72},
        {&RegKeyScale, "ThetaNum", "73", [] { return static_cast<long double>(GraphScale.PolorNum); }, 12},
        {&RegKeyScale, "ThetaNum", "0", [] { return static_cast<long double>(GraphScale.PolorNum); }, 12},
        {&RegKeyScale, "FontSize", "4", [] { return static_cast<long double>(ProgramState.FontSize); }, 12},
        {&RegKeyScale, "PsMesh", "258", [] { return static_cast<long double>(GraphScale.PsMesh); }, 2},
        {&RegKeyFunction, "AngleMode", "3", angleMode, 1},
        {&RegKeyFunction, "AngleMode", "258", angleMode, 2},
        {&RegKeyFunction, "AngleMode", "256", angleMode, 1},
        {&RegKeyFunction, "AngleMode", "two", angleMode, 1},
        {&RegKeyFunction, "LogMode", "0", [] { return static_cast<long double>(Options.LogMode); }, 2},
        {&RegKeyFunction, "CircleMode", "3", [] { return static_cast<long double>(Options.CircleMode); }, 1},
        {&RegKeyFunction, "ThetaMode", "514", [] { return static_cast<long double>(Options.ThetaMode); }, 2},
        {&RegKeyGraph, "DrawOnCalc", "yes", [] { return static_cast<long double>(Options.DrawOnCalc); }, 1},
    };
    for (const Case& c : cases) {
        ResetAllGlobals();
        store_.deleteKey(RegKeyRoot);
        Store(*c.Key, c.Name, c.Stored);
        LoadOptions();
        EXPECT_EQ(c.Field(), c.Expected) << c.Name << " \"" << c.Stored << '"';
    }
}

// Formulas compiled with the old letter or theta mode are compiled again.
TEST_F(OptionsStoreTest, ANewLetterOrThetaModeRecompilesTheFormulas)
{
    TKavirofunction& f = DocumentTables.Functions[1].Func;
    TKavirofunction& r = DocumentTables.Relations[1].Func;
    f.Text = QStringLiteral("sin(@)");
    r.Text = QStringLiteral("y=@");
    Options.ThetaMode = 2;
    RecompileDocumentFormulas();
    const TTokenString functionWithX = f.Code;
    const TTokenString relationWithoutPolar = r.Code;

    Store(RegKeyScaleX, "Letter", "@");
    Store(RegKeyFunction, "ThetaMode", "1");
    ClearChangedNames();
    LoadOptions();
    EXPECT_NE(f.Code, functionWithX);
    EXPECT_NE(r.Code, relationWithoutPolar);
    EXPECT_TRUE(RedrawState.ChangedNames.has(TokenCodes.Theta));
    TKavirofunction fresh = f;
    PrepareExpression(fresh, ModeFunction);
    EXPECT_EQ(f.Code, fresh.Code);
}

// The value table's rows and x and the integral's limits read the letter
// too: a stored letter compiles them again, each in its own mode.
TEST_F(OptionsStoreTest, ANewLetterRecompilesTheValueTableAndTheIntegralLimits)
{
    TDocumentTables& t = DocumentTables;
    struct Slot {
        TKavirofunction* Formula;
        int Mode;
    };
    const Slot slots[] = {{&t.YvalueFunctions[1], ModeFunction},
                          {&t.YvalueFunctions[YvalueRowCount], ModeFunction},
                          {&t.YvalueX, ModePlain},
                          {&t.IntegralInterval.Lower, ModePlain},
                          {&t.IntegralInterval.Upper, ModePlain}};
    std::vector<TTokenString> withX;
    for (const Slot& s : slots) {
        s.Formula->Text = QStringLiteral("sin(@)+1");
        PrepareExpression(*s.Formula, s.Mode);
        withX.push_back(s.Formula->Code);
    }

    Store(RegKeyScaleX, "Letter", "@");
    LoadOptions();
    for (std::size_t i = 0; i < std::size(slots); ++i) {
        EXPECT_NE(slots[i].Formula->Code, withX[i]) << i;
        TKavirofunction fresh = *slots[i].Formula;
        PrepareExpression(fresh, slots[i].Mode);
        EXPECT_EQ(slots[i].Formula->Code, fresh.Code) << i;
    }
}

// In a new run LoadOptions gives back what SaveOptions wrote, through the
// INI file as through memory; ranges and bases come back as the doubles
// they were stored as.
TEST_F(OptionsStoreTest, SavedOptionsComeBackInANewRun)
{
    const QString saved = PathOf(QStringLiteral("saved.ini"));
    const QString copy = PathOf(QStringLiteral("copy.ini"));
    for (const bool ini : {false, true}) {
        std::unique_ptr<platform::SettingsStore> saving, reading;
        if (ini)
            saving = std::make_unique<platform::QtSettingsStore>(saved);
        ResetAllGlobals();
        std::optional<platform::ScopedSettingsStore> scoped;
        scoped.emplace(ini ? *saving : static_cast<platform::SettingsStore&>(store_));
        SetUnusualOptions();
        SaveOptions();
        auto expected = OptionValues();
        // A copy taken while the saving store lives: SaveOptions has written
        // the file, and the copy is parsed afresh.
        if (ini) {
            ASSERT_TRUE(QFile::copy(saved, copy));
            reading = std::make_unique<platform::QtSettingsStore>(copy);
        }

        ResetAllGlobals(); // the new run, whose y axis is 400 pixels long
        scoped.emplace(ini ? *reading : static_cast<platform::SettingsStore&>(store_));
        LoadOptions();
        expected["Y.Number"] = "8"; // 10 on 500 pixels
        expected["X.base"] = Text(static_cast<double>(Pi / 2.0L));
        EXPECT_EQ(OptionValues(), expected) << "ini " << ini;
        EXPECT_EQ(GraphScale.YAxis.Base, 90.0L);
        // The view's range, lengths and the marker are not options.
        EXPECT_EQ(GraphScale.XAxis.High, 5.0L);
        EXPECT_EQ(GraphScale.YAxis.Low, -5.0L);
        EXPECT_EQ(Options.PenMarker, TPenMarker{});
        // They are the start view's, which reads the doubles back exactly.
        LoadScaleSettings();
        EXPECT_EQ(ProgramSettings.ScaleXLow, static_cast<double>(-7.1L));
        EXPECT_EQ(ProgramSettings.ScaleYHigh, 7.25L);
    }
}

} // namespace
