#include "script/Sound.h"

#include "script/ScriptTargets.h"

#include "engine/ArrayEvaluator.h"
#include "engine/Evaluator.h"
#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/MessageBox.h"
#include "model/NumberText.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "platform/Choosers.h"
#include "platform/Clock.h"
#include "platform/InputState.h"
#include "platform/Sound.h"
#include "session/ProjectFile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>
#include <cmath>

TSound Sound;

namespace {

const QString SoundFilter = QStringLiteral("Som (*.wav);;Todos (*)");
// The array path computes this many samples at once (the columns a view
// may have).
constexpr int ToneBatch = LastUsedColumn;
// A long tone looks at Esc and F1 after this many samples.
constexpr int SamplesBetweenBreakChecks = 4096;

template <class Int>
void AppendLittleEndian(QByteArray& bytes, Int value)
{
    char raw[sizeof(Int)];
    qToLittleEndian(value, raw);
    bytes.append(raw, sizeof(Int));
}

bool BreakKeyDown()
{
    return platform::IsKeyDown(platform::VkEscape) || platform::IsKeyDown(platform::VkF1);
}

// One value as a frame: a real in both channels, a pair's x left and y
// right, silence where the tone is undefined.
bool AddValue(const TValue& v)
{
    if (!v.Defined)
        return Sound.AddSample(0.0L, 0.0L);
    const long double left = v.X * TSound::SampleScale;
    return Sound.AddSample(left, v.Kind == KindPair ? v.Y * TSound::SampleScale : left);
}

long double SweepValue(long double low, std::int64_t k)
{
    return low + static_cast<long double>(k) * (1.0L / Sound.Header.SampleRate);
}

bool ReferencesAny(const TKavirofunction& tone, std::span<const TTokenCode> tokens)
{
    for (const TTokenCode token : tokens)
        if (RefersToToken(token, tone))
            return true;
    return false;
}

void SampleValueByValue(const TKavirofunction& tone, int sweepTarget, long double low, long double high,
                        const TScriptVariables& variables)
{
    const bool sweepsX = sweepTarget == TargetVariableX;
    for (std::int64_t k = 0;; ++k) {
        const long double t = SweepValue(low, k);
        if (!(t <= high))
            return;
        if (k % SamplesBetweenBreakChecks == SamplesBetweenBreakChecks - 1) {
            HandleEventsWhenDue();
            if (BreakKeyDown())
                return;
        }
        const TValue v = sweepsX ? EvaluatePostfix(tone, ValueReal(t), variables.Y, variables.Z, variables.W)
                                 : EvaluatePostfix(tone, variables.X, variables.Y, variables.Z, variables.W,
                                                   DocumentEvalEnv.With(sweepTarget, t));
        if (!AddValue(v))
            return;
    }
}

// Batches of values through the array evaluator, over columns of a view of
// our own: the graph window's view, its columns and caches stay as they are.
void SampleInBatches(const TKavirofunction& tone, int sweepTarget, long double low, long double high,
                     const TScriptVariables& variables)
{
    const bool sweepsX = sweepTarget == TargetVariableX;
    TColumnArray ts, xs, ys, zs, ws, result;
    xs.Fill(0, ToneBatch, variables.X);
    ys.Fill(0, ToneBatch, variables.Y);
    zs.Fill(0, ToneBatch, variables.Z);
    ws.Fill(0, ToneBatch, variables.W);
    for (std::int64_t first = 0;; first += ToneBatch) {
        int n = 0;
        while (n < ToneBatch && SweepValue(low, first + n) <= high)
            ++n;
        if (n == 0)
            return;
        // At least two columns, so that the view has a width.
        const int last = std::max(n - 1, 1);
        for (int c = 0; c <= last; ++c)
            ts.Set(c, ValueReal(SweepValue(low, first + c)));
        TArrayView view;
        view.XAxis = {0, last, ts.X(0), ts.X(last)};
        EvaluatePostfixArrays(ViewOf(tone), sweepsX ? ts : xs, ys, zs, ws, view, sweepsX ? 0 : sweepTarget,
                              sweepsX ? nullptr : &ts, false, result);
        for (int c = 0; c < n; ++c)
            if (!AddValue(result.At(c)))
                return;
        if (n < ToneBatch || BreakKeyDown())
            return;
    }
}

} // namespace

QByteArray TWavHeader::Bytes() const
{
    QByteArray b;
    b.reserve(platform::WavHeaderSize);
    b.append("RIFF");
    AppendLittleEndian(b, RiffSize);
    b.append("WAVEfmt ");
    AppendLittleEndian(b, std::uint32_t{16});
    AppendLittleEndian(b, AudioFormat);
    AppendLittleEndian(b, Channels);
    AppendLittleEndian(b, SampleRate);
    AppendLittleEndian(b, ByteRate);
    AppendLittleEndian(b, BlockAlign);
    AppendLittleEndian(b, BitsPerSample);
    b.append("data");
    AppendLittleEndian(b, DataSize);
    return b;
}

TSound::TSound()
{
    InitHeader();
    EndTick = platform::CurrentClock().tickCount();
}

void TSound::InitHeader()
{
    Header = TWavHeader{};
}

void TSound::UpdateRates()
{
    Header.BlockAlign = static_cast<std::uint16_t>(Header.BitsPerSample / 8 * Header.Channels);
    Header.ByteRate = Header.BlockAlign * Header.SampleRate;
}

void TSound::Reset()
{
    Header.DataSize = 0;
    Peak = 0.0L;
    Image = Header.Bytes();
}

long double TSound::ClampSample(long double v)
{
    Peak = std::max(Peak, std::fabs(v));
    const long double held = std::clamp(v, -32767.0L, 32767.0L);
    return static_cast<long double>(NearestInt(held));
}

bool TSound::AddSample(long double left, long double right)
{
    if (Header.DataSize >= static_cast<std::uint32_t>(Header.BlockAlign) * MaxFrames)
        return false;
    if (Image.isEmpty())
        Image = Header.Bytes();
    AppendLittleEndian(Image, static_cast<std::int16_t>(ClampSample(left)));
    AppendLittleEndian(Image, static_cast<std::int16_t>(ClampSample(right)));
    Header.DataSize += Header.BlockAlign;
    return true;
}

void TSound::WriteHeader()
{
    UpdateRates();
    Header.RiffSize = Header.DataSize + 36;
    const QByteArray header = Header.Bytes();
    if (Image.size() < header.size())
        Image.resize(header.size());
    Image.replace(0, header.size(), header);
}

void TSound::Play(bool wait)
{
    WriteHeader();
    const long double ms = static_cast<long double>(Header.DataSize) / Header.ByteRate * 1000.0L;
    EndTick = platform::CurrentClock().tickCount() + NearestInt64(ms);
    platform::SoundDevice& device = platform::CurrentSoundDevice();
    device.play(Image);
    if (wait && !WaitForScript(EndTick))
        device.stop();
}

void TSound::Replay()
{
    WriteHeader();
    platform::CurrentSoundDevice().play(Image);
}

void TSound::Stop()
{
    platform::CurrentSoundDevice().stop();
    Header.DataSize = 0;
    // The samples go with it: a tone added after it starts the image anew.
    if (Image.size() > platform::WavHeaderSize)
        Image.truncate(platform::WavHeaderSize);
}

bool TSound::SaveToFile(const QString& name)
{
    WriteHeader();
    QSaveFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(Image) == Image.size() && file.commit();
}

TTonePath TonePathOf(const TKavirofunction& tone, int sweepTarget)
{
    const TNamedTokens& t = TokenCodes;
    const TTokenVocabulary& v = Vocabulary;
    const TTokenCode valueByValue[] = {t.Path, t.Intgr, t.PointFunc};
    if (ReferencesAny(tone, valueByValue) || ReferencesAny(tone, {v.FunctionTokens.begin(), v.FunctionTokens.end()})
        || ReferencesAny(tone, {v.PointTokens.begin(), v.PointTokens.begin() + PointCount}))
        return TTonePath::Scalar;
    if (sweepTarget != TargetVariableX && RefersToToken(t.VarX, tone))
        return TTonePath::Scalar;
    return TTonePath::Arrays;
}

void SampleTone(const TKavirofunction& tone, int sweepTarget, long double low, long double high,
                const TScriptVariables& variables, TTonePath path)
{
    Sound.Image.reserve(Sound.Image.size()
                        + static_cast<qsizetype>(std::min<long double>(
                              (high - low) * Sound.Header.SampleRate + 1.0L, TSound::MaxFrames)) * 4);
    if (tone.Code.isEmpty()) {
        for (std::int64_t k = 0; SweepValue(low, k) <= high && AddValue(ValueUndefined(KindReal)); ++k) {
        }
        return;
    }
    if (path == TTonePath::Scalar)
        SampleValueByValue(tone, sweepTarget, low, high, variables);
    else
        SampleInBatches(tone, sweepTarget, low, high, variables);
}

void PlayTone(const Tlineset& command, const TScriptVariables& variables, bool wait, bool play)
{
    const TValue low = EvaluateScriptArg(command, 0, variables);
    const TValue high = EvaluateScriptArg(command, 1, variables);
    if (!low.Defined || !high.Defined || low.X > high.X)
        return;
    TScriptRunState& run = ScriptRunState;
    if (!run.PlayAppend)
        Sound.Reset();
    static const TKavirofunction silence;
    const TKavirofunction& tone = command.Args.size() > 2 ? command.Args[2] : silence;
    SampleTone(tone, command.Target, low.X, high.X, variables, TonePathOf(tone, command.Target));
    if (Sound.Peak > DistortionPeak) {
        const QString peak = FormatGeneral(Sound.Peak / TSound::SampleScale, 4, Separators.DecimalChar);
        if (!ShowMsgBox(DistortionQuestion + peak, MsgWarning, MsgOkCancel))
            Sound.Stop();
    }
    if (play)
        Sound.Play(wait);
    run.PlayAppend = !play;
}

bool nSaveWaveClick()
{
    const platform::FileChoice choice{QStringLiteral("Salvar Sons"), QString(), QString(), SoundFilter,
                                      QStringLiteral("wav")};
    const std::optional<QString> chosen = platform::CurrentFileChooser().chooseSaveFile(choice);
    if (!chosen)
        return false;
    QString name = *chosen;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".wav");
    if (!Sound.SaveToFile(name)) {
        ShowSaveError(name);
        return false;
    }
    return true;
}
