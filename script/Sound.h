#pragma once

// Sound made by scripts: an expression sampled while x or a parameter sweeps
// an interval, each value one stereo sample of a PCM WAV image kept in
// memory, played in the background and saved by "Salvar Sons".
#include "model/Formula.h"
#include "model/ScriptStore.h"
#include "script/ScriptRun.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// The 44 bytes at the start of the image.
struct TWavHeader {
    std::uint32_t RiffSize = 36; // data size + 36, written when playing or saving
    std::uint16_t AudioFormat = 1; // PCM
    std::uint16_t Channels = 2;
    std::uint32_t SampleRate = 22050;
    std::uint32_t ByteRate = 88200;
    std::uint16_t BlockAlign = 4;
    std::uint16_t BitsPerSample = 16;
    std::uint32_t DataSize = 0; // bytes of samples after the header
    QByteArray Bytes() const;
};

// The sound: the WAV image, what its header says, and the largest value
// asked for since the last reset.
class TSound {
public:
    // An empty image (nothing to save), the header's start values.
    TSound();

    static constexpr int SampleRateDefault = 22050;
    static constexpr int MinSampleRate = 200;
    static constexpr int MaxSampleRate = 200000;
    // The image holds at most this many frames.
    static constexpr int MaxFrames = 480000;
    // A value of 1 is this sample: -10..10 spans the 16-bit range.
    static constexpr long double SampleScale = 3272.0L;

    QByteArray Image;
    std::int64_t EndTick = 0; // the tick at which the last playing started ends
    TWavHeader Header;
    long double Peak = 0.0L;

    void InitHeader();
    // Block align and byte rate from the channels, bits and rate.
    void UpdateRates();
    // The image holds only the header; no samples, no peak.
    void Reset();
    // The value remembered as the peak when it is the largest yet, held
    // within ±32767 and rounded to the nearest integer, halves to even.
    long double ClampSample(long double v);
    // One frame; false, adding nothing, once the image holds MaxFrames.
    bool AddSample(long double left, long double right);
    // The header written for the samples held, then played; with wait, the
    // script waits until it has played (Esc or F1 cut it short).
    void Play(bool wait);
    // The image played again as it is.
    void Replay();
    // Silence, and the image cut back to its header.
    void Stop();
    bool IsEmpty() const { return Image.isEmpty(); }
    // The image with its header written for the samples held; false when
    // the file could not be written whole (the old file stays).
    bool SaveToFile(const QString& name);
    // The frames held.
    int FrameCount() const { return static_cast<int>(Header.DataSize / Header.BlockAlign); }

private:
    void WriteHeader();
};
extern TSound Sound;

inline const QString DistortionQuestion =
    QStringLiteral("O som se distorcerá para oscilação mais que 10. Max agora:");
// Beyond this the samples are clipped (values above 10).
inline constexpr long double DistortionPeak = 32726.0L;

// Play(, PlaySync( and PlayAfter: the tone sampled from low to high in
// steps of one sample, added to the sound after PlayAfter, else in place of
// it; a warning when the values pass ±10; then played (waiting for
// PlaySync) unless play is off, when the next tone adds to this one.
// Nothing at all when low or high is undefined or low > high.
void PlayTone(const Tlineset& command, const TScriptVariables& variables, bool wait, bool play);

// How the samples are computed: value by value, or over batches of values
// at once. Both give the same samples.
enum class TTonePath { Scalar, Arrays };
// The array path cannot see what a graph name, an object or a path or
// integral reads, nor x while a parameter sweeps: those go value by value.
TTonePath TonePathOf(const TKavirofunction& tone, int sweepTarget);
// The samples of the tone for t = low, low + dt, ... up to high (dt one
// sample), added to the sound by the given path. sweepTarget is x
// (TargetVariableX) or a parameter (1..14), bound to t while the tone is
// computed; the parameter table is never written.
void SampleTone(const TKavirofunction& tone, int sweepTarget, long double low, long double high,
                const TScriptVariables& variables, TTonePath path);

// "Salvar Sons": the sound saved as a WAV file chosen in the save chooser;
// a failure is shown. Whether it was saved.
bool nSaveWaveClick();
