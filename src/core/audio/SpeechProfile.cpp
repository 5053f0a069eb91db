#include "audio/SpeechProfile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lectoria::audio {

SpeechProfile ProfileSpeech(const import::PcmAudio& pcm)
{
    constexpr int kHopMs = 10;
    SpeechProfile profile;
    profile.durationMs = pcm.DurationMs();
    if (pcm.sampleRate <= 0 || pcm.samples.empty()) {
        return profile;
    }
    profile.hopMs =
        static_cast<double>(static_cast<std::size_t>(pcm.sampleRate) * kHopMs / 1000) * 1000.0 / pcm.sampleRate;
    profile.loudnessDb = LoudnessEnvelope(pcm, kHopMs);
    profile.pitchHz = PitchContour(pcm, kHopMs);
    profile.speech = FindSpeech(pcm);
    profile.loudestDb = *std::max_element(profile.loudnessDb.begin(), profile.loudnessDb.end());
    int largest = 0;
    for (const std::int16_t sample : pcm.samples) {
        largest = std::max(largest, std::abs(static_cast<int>(sample)));
    }
    profile.peak = static_cast<float>(largest) / 32768.0f;
    return profile;
}

std::vector<WaveColumn> WaveColumns(const import::PcmAudio& pcm, double fromMs, double msPerColumn, int columns)
{
    std::vector<WaveColumn> wave(static_cast<std::size_t>(std::max(0, columns)));
    if (pcm.sampleRate <= 0 || msPerColumn <= 0) {
        return wave;
    }
    const double samplesPerMs = pcm.sampleRate / 1000.0;
    const auto count = static_cast<double>(pcm.samples.size());
    for (std::size_t c = 0; c < wave.size(); ++c) {
        const double begin = std::max(0.0, std::floor((fromMs + static_cast<double>(c) * msPerColumn) * samplesPerMs));
        const double end =
            std::min(count, std::floor((fromMs + static_cast<double>(c + 1) * msPerColumn) * samplesPerMs));
        if (end <= begin) {
            continue;
        }
        std::int16_t low = pcm.samples[static_cast<std::size_t>(begin)];
        std::int16_t high = low;
        for (auto i = static_cast<std::size_t>(begin); i < static_cast<std::size_t>(end); ++i) {
            low = std::min(low, pcm.samples[i]);
            high = std::max(high, pcm.samples[i]);
        }
        wave[c] = WaveColumn{static_cast<float>(low) / 32768.0f, static_cast<float>(high) / 32768.0f, true};
    }
    return wave;
}

SharedAxis AlignAtSpeechStart(const std::vector<const SpeechProfile*>& profiles)
{
    SharedAxis axis;
    const auto startOf = [](const SpeechProfile* profile) {
        return profile->speech.found() ? profile->speech.startMs : std::int64_t{0};
    };
    std::int64_t latestStart = 0;
    for (const SpeechProfile* profile : profiles) {
        latestStart = std::max(latestStart, startOf(profile));
    }
    for (const SpeechProfile* profile : profiles) {
        axis.offsetsMs.push_back(latestStart - startOf(profile));
        axis.lengthMs = std::max(axis.lengthMs, axis.offsetsMs.back() + profile->durationMs);
    }
    return axis;
}

} // namespace lectoria::audio
