#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "audio/SpeechAnalysis.h"

namespace lectoria::audio {

/// Samples in one hop of `hopMs`; 0 when the audio has no rate or the hop no length.
inline std::size_t HopSamples(const import::PcmAudio& pcm, int hopMs)
{
    if (pcm.sampleRate <= 0 || hopMs <= 0) {
        return 0;
    }
    return std::max<std::size_t>(1, static_cast<std::size_t>(pcm.sampleRate) * static_cast<std::size_t>(hopMs) / 1000);
}

/// dBFS of a mean square of int16 samples, floored at kSilenceDb.
inline float DbOfMeanSquare(double meanSquare)
{
    constexpr double kFullScaleSquare = 32768.0 * 32768.0;
    if (meanSquare <= 0) {
        return kSilenceDb;
    }
    return std::max(kSilenceDb, static_cast<float>(10.0 * std::log10(meanSquare / kFullScaleSquare)));
}

} // namespace lectoria::audio
