// Tones made by scripts: the WAV image byte for byte, clamping, the limit
// of frames, both ways of sampling alike, what the device is given, the
// warning on loud tones, and saving.
#include "ScriptRunKit.h"

#include "engine/TokenTable.h"
#include "model/Options.h"
#include "platform/fakes/FakeChoosers.h"
#include "session/DocumentParticipants.h"
#include "session/StoreOperations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class SoundTest : public ScriptRunTest {
protected:
    // The image as "Salvar Sons" writes it.
    QByteArray SavedImage()
    {
        const QString path = dir_.filePath(QStringLiteral("som.wav"));
        EXPECT_TRUE(Sound.SaveToFile(path));
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static TKavirofunction Formula(const QString& text)
    {
        TKavirofunction f;
        f.Text = text;
        EXPECT_TRUE(PrepareExpression(f, ModePlain)) << text.toStdString();
        return f;
    }
    // The tone sampled from a fresh sound by one path; the image's samples.
    static QByteArray Sampled(const TKavirofunction& tone, int target, long double low, long double high,
                              const TScriptVariables& variables, TTonePath path)
    {
        Sound.Reset();
        SampleTone(tone, target, low, high, variables, path);
        return Sound.Image.mid(platform::WavHeaderSize);
    }

    QTemporaryDir dir_;
};

// 22050 samples a second, 16 bits, two channels; 0x80 is 92 bytes of
// samples plus 36.
const char* const FreshHeader =
    "52494646 80000000 57415645 666d7420 10000000 0100 0200 22560000 88580100 0400 1000 64617461 5c000000";

TEST_F(SoundTest, AOneMillisecondToneIsSavedByteForByte)
{
    struct Case {
        const char16_t* Line;
        const char* Frame; // every one of the 23 frames
    };
    const Case cases[] = {
        {u"Play(x, 0, 0.001, 1)", "c80c c80c"},
        {u"Play(x, 0, 0.001, (1, -1))", "c80c 38f3"},
        {u"Play(x, 0, 0.001, 1/0)", "0000 0000"}, // undefined: silence
    };
    for (const Case& c : cases) {
        StartAfresh();
        RunLines({QString::fromUtf16(c.Line)});
        QByteArray expected = HexBytes(FreshHeader);
        for (int i = 0; i < 23; ++i)
            expected += HexBytes(c.Frame);
        EXPECT_EQ(SavedImage(), expected) << QString::fromUtf16(c.Line).toStdString();
    }
}

TEST_F(SoundTest, TheSampleRateChangesTheRatesOfTheHeader)
{
    struct Case {
        const char16_t* Line;
        std::uint32_t Rate;
        std::uint32_t ByteRate;
    };
    const Case cases[] = {
        {u"SetSampleRate(8000)", 8000, 32000},
        {u"SetSampleRate(100)", 22050, 88200},   // below 200: ignored
        {u"SetSampleRate(200001)", 22050, 88200}, // above 200000: ignored
        {u"SetSampleRate(200.4)", 200, 800},     // rounded
        {u"SetSampleRate(199.6)", 22050, 88200}, // below 200 before rounding
        {u"SetSampleRate(1/0)", 22050, 88200},
    };
    for (const Case& c : cases) {
        StartAfresh();
        RunLines({QString::fromUtf16(c.Line)});
        EXPECT_EQ(Sound.Header.SampleRate, c.Rate) << QString::fromUtf16(c.Line).toStdString();
        EXPECT_EQ(Sound.Header.ByteRate, c.ByteRate) << QString::fromUtf16(c.Line).toStdString();
    }
    // Empty: the start rate again.
    StartAfresh();
    RunLines({u"SetSampleRate(8000)"_s, u"SetSampleRate()"_s});
    EXPECT_EQ(Sound.Header.SampleRate, 22050u);
}

TEST_F(SoundTest, ClampingHoldsTheRangeAndRemembersThePeak)
{
    struct Case {
        long double In;
        long double Out;
    };
    const Case cases[] = {
        {40000.0L, 32767.0L}, {-40000.0L, -32767.0L}, {32767.4L, 32767.0L}, {-32767.6L, -32767.0L},
        {2.5L, 2.0L},         {3.5L, 4.0L},           {-2.5L, -2.0L},       {0.49L, 0.0L},
    };
    for (const Case& c : cases) {
        TSound sound;
        EXPECT_EQ(sound.ClampSample(c.In), c.Out) << static_cast<double>(c.In);
        EXPECT_EQ(sound.Peak, std::fabs(c.In));
    }
    TSound sound;
    sound.ClampSample(40000.0L);
    sound.ClampSample(-100.0L);
    EXPECT_EQ(sound.Peak, 40000.0L) << "the largest value asked for stays";
}

TEST_F(SoundTest, TheImageTakesAtMost480000Frames)
{
    Sound.Reset();
    for (int i = 0; i < TSound::MaxFrames; ++i)
        ASSERT_TRUE(Sound.AddSample(1.0L, 2.0L)) << i;
    EXPECT_FALSE(Sound.AddSample(1.0L, 2.0L)) << "the 480001st frame";
    EXPECT_EQ(Sound.Header.DataSize, 4u * TSound::MaxFrames);
    EXPECT_EQ(Sound.Image.size(), platform::WavHeaderSize + 4 * TSound::MaxFrames);

    // A tone longer than that stops there.
    StartAfresh();
    RunLines({u"Play(x, 0, 30, 1)"_s});
    EXPECT_EQ(Sound.FrameCount(), TSound::MaxFrames);
}

TEST_F(SoundTest, BothWaysOfSamplingGiveTheSameBytes)
{
    TScriptVariables half;
    half.Y = ValueReal(0.5L);
    half.X = ValueReal(0.25L);
    const int a = FirstParamTarget;
    struct Case {
        const char16_t* Tone;
        int Target;
        long double Low, High;
        TScriptVariables Variables;
    };
    const Case cases[] = {
        {u"sin(2*Pi*440*x)", TargetVariableX, 0.0L, 0.2L, {}},
        {u"y*sin(2*Pi*440*x)", TargetVariableX, 0.0L, 0.1L, half}, // after «y := 0.5»
        {u"(cos(2*Pi*300*x), sin(2*Pi*500*x))", TargetVariableX, -0.05L, 0.05L, {}},
        {u"Sqrt(x)*3", TargetVariableX, -0.01L, 0.01L, {}}, // undefined below 0
        {u"ln(x)", TargetVariableX, -0.003L, 0.003L, {}},
        {u"sin(2*Pi*220*a)*2", a, 0.0L, 0.1L, {}},
        {u"a", a, 1.0L, 1.0L, {}}, // a single sample
        {u"(a, y)", a, -1.0L, 1.0L / 22050.0L, half},
    };
    for (const Case& c : cases) {
        const TKavirofunction tone = Formula(QString::fromUtf16(c.Tone));
        ASSERT_EQ(TonePathOf(tone, c.Target), TTonePath::Arrays) << QString::fromUtf16(c.Tone).toStdString();
        const QByteArray scalar = Sampled(tone, c.Target, c.Low, c.High, c.Variables, TTonePath::Scalar);
        const QByteArray arrays = Sampled(tone, c.Target, c.Low, c.High, c.Variables, TTonePath::Arrays);
        EXPECT_FALSE(scalar.isEmpty()) << QString::fromUtf16(c.Tone).toStdString();
        EXPECT_EQ(scalar, arrays) << QString::fromUtf16(c.Tone).toStdString();
    }
    EXPECT_EQ(DocumentTables.Params[a].Value, 1.0L) << "a sweep writes no parameter";
}

TEST_F(SoundTest, WhatTheArrayEvaluatorCannotSeeGoesValueByValue)
{
    struct Case {
        const char16_t* Tone;
        int Target;
        TTonePath Path;
    };
    const Case cases[] = {
        {u"sin(x)", TargetVariableX, TTonePath::Arrays},  {u"y1", TargetVariableX, TTonePath::Scalar},
        {u"P.x*x", TargetVariableX, TTonePath::Scalar},    {u"P(1, 1)", TargetVariableX, TTonePath::Scalar},
        {u"a*x", FirstParamTarget, TTonePath::Scalar},     {u"a*x", TargetVariableX, TTonePath::Arrays},
        {u"Intgr(t, 0, x, t)", TargetVariableX, TTonePath::Scalar},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TonePathOf(Formula(QString::fromUtf16(c.Tone)), c.Target), c.Path)
            << QString::fromUtf16(c.Tone).toStdString();
}

TEST_F(SoundTest, AToneNamingAFunctionSounds)
{
    TEquationFunction f = DefaultEquation;
    f.Func.Text = QStringLiteral("x*100");
    ASSERT_TRUE(PrepareExpression(f.Func, ModeFunction));
    DocumentTables.Functions[1] = f;
    RunLines({u"Play(x, 0, 0.001, y1)"_s});
    ASSERT_EQ(Sound.FrameCount(), 23);
    // The last frame: 100 × 22/22050 × 3272.
    const QByteArray last = Sound.Image.right(4);
    EXPECT_EQ(last, HexBytes("4601 4601"));
    ASSERT_EQ(device.plays().size(), 1u);
    EXPECT_EQ(device.plays().front().samples.size(), 92);
}

TEST_F(SoundTest, ToneAfterToneOneImage)
{
    RunLines({u"PlayAfter(x, 0, 0.001, 1)"_s, u"Play(x, 0, 0.001, 2)"_s});
    ASSERT_EQ(device.plays().size(), 1u) << "PlayAfter plays nothing";
    const platform::WavSamples played = device.plays().front();
    EXPECT_EQ(played.samples.size(), 46 * 4);
    EXPECT_EQ(played.samples.left(4), HexBytes("c80c c80c"));
    EXPECT_EQ(played.samples.right(4), HexBytes("9019 9019"));
    EXPECT_EQ(played.sampleRate, 22050);
    EXPECT_EQ(played.channels, 2);

    // PlayAfter alone, saved: its header says what it holds.
    StartAfresh();
    RunLines({u"PlayAfter(x, 0, 0.001, 1)"_s});
    const QByteArray saved = SavedImage();
    EXPECT_EQ(saved.size(), 136);
    EXPECT_EQ(saved.left(44), HexBytes(FreshHeader));
    // Play plays the tone made after PlayAfter; a second Play( starts anew.
    RunLines({u"PlayAfter(x, 0, 0.001, 1)"_s, u"Play"_s, u"Play(x, 0, 0.001, 1)"_s});
    ASSERT_GE(device.plays().size(), 2u);
    EXPECT_EQ(device.plays()[device.plays().size() - 2].samples.size(), 92);
    EXPECT_EQ(device.plays().back().samples.size(), 92);
}

TEST_F(SoundTest, TheDeviceIsGivenOnlyTheSamplesHeld)
{
    struct Case {
        const char* What;
        QStringList Lines;
        int PlayedBytes; // of the last play
    };
    const Case cases[] = {
        {"a tone played again", {u"Play(x, 0, 0.001, 1)"_s, u"PlayRepeat"_s}, 92},
        {"a tone made, then played again", {u"PlayAfter(x, 0, 0.001, 1)"_s, u"PlayRepeat"_s}, 92},
        {"a tone refused, then the last played", {u"Play(x, 0, 0.001, 1)"_s, u"Play(x, 1, 0, 1)"_s, u"Play"_s}, 92},
    };
    for (const Case& c : cases) {
        StartAfresh();
        RunLines(c.Lines);
        ASSERT_FALSE(device.plays().empty()) << c.What;
        EXPECT_EQ(device.plays().back().samples.size(), c.PlayedBytes) << c.What;
    }
    // Stop cuts the image back to its header: Play then plays no sample,
    // and a tone added after it starts anew.
    Sound.Stop();
    EXPECT_EQ(Sound.Image.size(), platform::WavHeaderSize);
    Sound.Play(false);
    EXPECT_TRUE(device.plays().back().samples.isEmpty());
    EXPECT_EQ(device.plays().back().sampleRate, 22050) << "still a WAV image";
    EXPECT_GE(device.stops(), 1);
}

TEST_F(SoundTest, LowAboveHighOrUndefinedChangesNothing)
{
    RunLines({u"Play(x, 0, 0.001, 1)"_s});
    const QByteArray before = Sound.Image;
    const std::size_t plays = device.plays().size();
    for (const char16_t* line : {u"Play(x, 1, 0, 1)", u"Play(x, 1/0, 1, 1)", u"PlaySync(x, 0, ln(0), 1)",
                                 u"PlayAfter(x, 2, 1, 1)"}) {
        RunLines({QString::fromUtf16(line)});
        EXPECT_EQ(Sound.Image, before) << QString::fromUtf16(line).toStdString();
        EXPECT_EQ(device.plays().size(), plays) << QString::fromUtf16(line).toStdString();
    }
}

TEST_F(SoundTest, ALoudToneAsksAndCancelStopsIt)
{
    sink_.scriptAnswers({true, false});
    RunLines({u"Play(x, 0, 0.001, 20)"_s});
    ASSERT_EQ(sink_.messages().size(), 1u);
    EXPECT_EQ(sink_.last().text, DistortionQuestion + QStringLiteral("20"));
    EXPECT_EQ(sink_.last().kind, MsgWarning);
    EXPECT_EQ(sink_.last().buttons, MsgOkCancel);
    EXPECT_EQ(device.plays().back().samples.size(), 92) << "OK plays it clipped";
    EXPECT_EQ(device.plays().back().samples.left(4), HexBytes("ff7f ff7f"));

    RunLines({u"Play(x, 0, 0.001, -12.345)"_s});
    EXPECT_EQ(sink_.last().text, DistortionQuestion + QStringLiteral("12.35"));
    EXPECT_EQ(Sound.Header.DataSize, 0u) << "Cancel stops it";
    EXPECT_TRUE(device.plays().back().samples.isEmpty());
    // Exactly 10 asks nothing.
    sink_.clear();
    RunLines({u"Play(x, 0, 0.001, 10)"_s});
    EXPECT_TRUE(sink_.empty());
}

TEST_F(SoundTest, PlaySyncWaitsForTheToneAndEscCutsItShort)
{
    // 0.1 s of sound.
    RunLines({u"PlaySync(x, 0, 0.1, 1)"_s});
    EXPECT_EQ(clock.tickCount(), 100);
    EXPECT_EQ(device.stops(), 0);

    // Esc held from the second event round on: the wait ends and the sound
    // with it; OK to "Parar com [OK]".
    int rounds = 0;
    input.onProcessEvents([&](int maxWaitMs) {
        clock.advance(std::min(maxWaitMs, 50));
        if (++rounds == 2)
            input.setKeyDown(platform::VkEscape);
    });
    sink_.scriptAnswers({true});
    RunLines({u"PlaySync(x, 0, 10, 1)"_s, u"a := 5"_s});
    EXPECT_LT(clock.tickCount(), 2000);
    EXPECT_EQ(device.stops(), 1);
    EXPECT_EQ(Messages(sink_), QStringList{StopQuestion});
    EXPECT_EQ(DocumentTables.Params[1].Value, 1.0L) << "the run stopped";
}

TEST_F(SoundTest, ASweepStoppedMidToneLeavesTheDocumentAsItWas)
{
    // Value by value (a sweep of a with x) and in batches.
    for (const char16_t* line : {u"Play(a, 0, 20, sin(a*x*1000))", u"Play(a, 0, 20, sin(a*1000))"}) {
        StartAfresh();
        input.setKeyDown(platform::VkEscape);
        sink_.scriptAnswers({true});
        CompileNote({u"#//Som"_s, u'#' + QString::fromUtf16(line)});
        const QStringList before = ProjectLines();
        RunScript(0);
        EXPECT_EQ(DocumentTables.Params[1].Value, 1.0L) << QString::fromUtf16(line).toStdString();
        EXPECT_LT(Sound.FrameCount(), TSound::MaxFrames) << "the tone broke off";
        EXPECT_EQ(ProjectLines(), before);
        EXPECT_FALSE(Modified());
        input.releaseAll();
    }
}

TEST_F(SoundTest, SalvarSonsWritesTheChosenFileOrSaysWhyNot)
{
    platform::FakeFileChooser files;
    const platform::ScopedFileChooser useFiles(files);
    RunLines({u"Play(x, 0, 0.001, 1)"_s});
    files.queueAnswer(dir_.filePath(QStringLiteral("tom")));
    EXPECT_TRUE(nSaveWaveClick());
    ASSERT_EQ(files.requests().size(), 1u);
    EXPECT_EQ(files.requests().front().filter, QStringLiteral("Som (*.wav);;Todos (*)"));
    EXPECT_EQ(files.requests().front().defaultSuffix, QStringLiteral("wav"));
    QFile saved(dir_.filePath(QStringLiteral("tom.wav")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().size(), 136);

    // A folder that does not exist: the message of a failed save.
    const QString bad = dir_.filePath(QStringLiteral("nada/tom.wav"));
    files.queueAnswer(bad);
    EXPECT_FALSE(nSaveWaveClick());
    EXPECT_EQ(sink_.last().text, SaveErrorText(bad));
    EXPECT_EQ(sink_.last().kind, MsgError);
    // Cancelled: nothing.
    sink_.clear();
    EXPECT_FALSE(nSaveWaveClick());
    EXPECT_TRUE(sink_.empty());
}

TEST_F(SoundTest, ANewDocumentOrAnOpenedOneStopsTheSound)
{
    RunLines({u"Play(x, 0, 0.001, 1)"_s});
    const int stops = device.stops();
    ClearDocumentInParticipants();
    EXPECT_EQ(device.stops(), stops + 1);
    EXPECT_EQ(Sound.Header.DataSize, 0u);
    TstringData text;
    WriteProject(text);
    ASSERT_TRUE(ReadProject(text));
    EXPECT_EQ(device.stops(), stops + 2);
}

} // namespace
