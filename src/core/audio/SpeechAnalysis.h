#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "import/MediaInterfaces.h"

namespace lectoria::audio {

/// The quietest loudness the analysis reports, in dBFS; digital silence reads as this.
inline constexpr float kSilenceDb = -80.0f;

/// RMS loudness of each `hopMs` stretch of the audio (the last one may be shorter), in dBFS: a
/// full-scale int16 square wave is 0 dB, a full-scale sine about -3 dB. Never below kSilenceDb.
std::vector<float> LoudnessEnvelope(const import::PcmAudio& pcm, int hopMs = 10);

/// Where speech lies in a recording, in milliseconds; both -1 when none was found.
struct SpeechSpan
{
    std::int64_t startMs = -1;
    std::int64_t endMs = -1; ///< exclusive
    bool found() const { return startMs >= 0; }
};

/// Where speech starts and ends. The bar is set between the recording's own noise floor and its
/// loudest sustained sound, so a hum, a breath or a click before the speech is not taken for it,
/// whether the recording is quiet or loud; short sounds next to speech (a final "t") belong to it.
/// Nothing is found in silence, in steady noise, or in sound without quieter stretches around it.
SpeechSpan FindSpeech(const import::PcmAudio& pcm);

/// Tells, while a recording comes in, whether the speaker has spoken and then fallen silent.
///
/// The audio is measured in blocks of kBlockMs. A block is loud when its RMS reaches
/// kSpeechDb (-40 dBFS, an RMS of about 330 in int16): ordinary speech into a headset or laptop
/// microphone is usually 15–30 dB above it, a quiet room well below it. Speech is a run of loud
/// blocks at least kMinSpeechMs long, so a click, a knock or a tongue smack is not speech and does
/// not break a silence either.
class SpeechGate
{
public:
    static constexpr int kBlockMs = 20;
    static constexpr double kSpeechDb = -40.0;
    static constexpr int kMinSpeechMs = 60;

    explicit SpeechGate(int sampleRate, int silenceMs = 1000);

    /// Takes the next samples; chunks may be of any size, including empty.
    void Feed(const std::int16_t* samples, std::size_t count);

    bool heardSpeech() const { return m_heardSpeech; }
    /// True once `silenceMs` without speech followed speech; it stays true.
    bool silenceAfterSpeech() const { return m_silenceAfterSpeech; }
    /// How much audio was fed, in milliseconds.
    std::int64_t fedMs() const;

private:
    void EndBlock();

    int m_sampleRate;
    std::int64_t m_silenceSamples;
    std::size_t m_blockSamples;
    double m_loudSumOfSquares; ///< a block whose sum of squares reaches this is loud
    std::size_t m_minSpeechBlocks;

    std::int64_t m_fed = 0;
    std::size_t m_inBlock = 0;
    double m_sumOfSquares = 0;
    std::size_t m_loudRun = 0;        ///< loud blocks in a row, up to the last one
    std::int64_t m_lastSpeechEnd = 0; ///< sample where the last speech ended
    bool m_heardSpeech = false;
    bool m_silenceAfterSpeech = false;
};

/// Fundamental frequency of each `hopMs` stretch, in Hz (kLowestPitchHz..kHighestPitchHz), 0 where
/// the audio is unvoiced, too quiet or too unclear to tell. As many values as LoudnessEnvelope.
std::vector<float> PitchContour(const import::PcmAudio& pcm, int hopMs = 10);

inline constexpr double kLowestPitchHz = 60.0;
inline constexpr double kHighestPitchHz = 500.0;

/// The median of the voiced pitch values whose stretches start in [fromMs, toMs), 0 if none.
double MedianPitchHz(const import::PcmAudio& pcm, std::int64_t fromMs, std::int64_t toMs);

} // namespace lectoria::audio
