#pragma once

#include <cstdint>
#include <vector>

#include "audio/SpeechAnalysis.h"
#include "import/MediaInterfaces.h"

namespace lectoria::audio {

/// What a picture of one recording shows besides its waveform, worked out once per recording.
struct SpeechProfile
{
    std::int64_t durationMs = 0;
    double hopMs = 0;              ///< the exact length of one value of the two curves
    std::vector<float> loudnessDb; ///< LoudnessEnvelope
    std::vector<float> pitchHz;    ///< PitchContour
    SpeechSpan speech;
    float loudestDb = kSilenceDb; ///< the loudest value of loudnessDb
    float peak = 0;               ///< the largest sample, as a fraction of full scale

    /// How long the speaking took: the speech when some was found, else the whole recording.
    std::int64_t spokenMs() const { return speech.found() ? speech.endMs - speech.startMs : durationMs; }
};

SpeechProfile ProfileSpeech(const import::PcmAudio& pcm);

/// The lowest and highest sample of one stretch of audio, as fractions of full scale.
struct WaveColumn
{
    float low = 0;
    float high = 0;
    bool inAudio = false; ///< false for a stretch wholly before or after the audio
};

/// The waveform reduced to `columns` stretches of `msPerColumn` each, the first starting at
/// `fromMs`, which may lie before the audio's start.
std::vector<WaveColumn> WaveColumns(const import::PcmAudio& pcm, double fromMs, double msPerColumn, int columns);

/// Where recordings sit on one time axis so that their speech starts line up: each one's start as
/// an offset from the axis' origin, and how long the axis must be to hold them all.
struct SharedAxis
{
    std::vector<std::int64_t> offsetsMs;
    std::int64_t lengthMs = 0;
};

/// Lines the recordings up at FindSpeech's start; one without speech is lined up at its start.
SharedAxis AlignAtSpeechStart(const std::vector<const SpeechProfile*>& profiles);

} // namespace lectoria::audio
