#include "import/SilenceTrim.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace lectoria::import {

SampleRange TrimSilence(const std::int16_t* samples, std::size_t count, int sampleRate, const TrimOptions& options)
{
    const SampleRange whole{0, count};
    if (count == 0 || sampleRate <= 0) {
        return whole;
    }
    const std::size_t window = std::max<std::size_t>(1, static_cast<std::size_t>(sampleRate) * options.windowMs / 1000);
    const std::size_t windows = (count + window - 1) / window;
    std::vector<double> rms(windows);
    double loudest = 0;
    for (std::size_t w = 0; w < windows; ++w) {
        const std::size_t begin = w * window;
        const std::size_t end = std::min(count, begin + window);
        double sum = 0;
        for (std::size_t i = begin; i < end; ++i) {
            sum += static_cast<double>(samples[i]) * samples[i];
        }
        rms[w] = std::sqrt(sum / static_cast<double>(end - begin));
        loudest = std::max(loudest, rms[w]);
    }
    const double threshold = std::max(options.floorRms, loudest / 30.0);
    std::size_t first = windows;
    std::size_t last = 0;
    for (std::size_t w = 0; w < windows; ++w) {
        if (rms[w] >= threshold) {
            first = std::min(first, w);
            last = w;
        }
    }
    if (first == windows) {
        return whole;
    }
    const std::size_t margin = static_cast<std::size_t>(sampleRate) * options.marginMs / 1000;
    const std::size_t soundBegin = first * window;
    const std::size_t soundEnd = std::min(count, (last + 1) * window);
    return SampleRange{soundBegin > margin ? soundBegin - margin : 0, std::min(count, soundEnd + margin)};
}

} // namespace lectoria::import
