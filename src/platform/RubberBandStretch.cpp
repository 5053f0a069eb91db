#include "RubberBandStretch.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <rubberband/RubberBandStretcher.h>

namespace lectoria::platform {

namespace {

using RubberBand::RubberBandStretcher;

constexpr std::size_t kBlock = 4096;

void Retrieve(RubberBandStretcher& stretcher, std::vector<float>& buffer, std::vector<float>& output)
{
    for (int available = stretcher.available(); available > 0; available = stretcher.available()) {
        buffer.resize(static_cast<std::size_t>(available));
        float* channel = buffer.data();
        const std::size_t got = stretcher.retrieve(&channel, static_cast<std::size_t>(available));
        output.insert(output.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
    }
}

} // namespace

lectoria::import::MediaStatus StretchSpeech(const import::PcmAudio& in, double speed, import::PcmAudio& out)
{
    if (!(speed >= 0.5 && speed <= 1.5)) {
        return {"the speed must lie between 0.5 and 1.5"};
    } // namespace lectoria::platform
    if (in.sampleRate <= 0) {
        return {"the audio has no sample rate"};
    }
    out.sampleRate = in.sampleRate;
    if (speed == 1.0 || in.samples.empty()) {
        out.samples = in.samples;
        return {};
    }
    std::vector<float> input(in.samples.size());
    std::transform(in.samples.begin(), in.samples.end(), input.begin(),
                   [](std::int16_t sample) { return static_cast<float>(sample) / 32768.0F; });

    // The finer engine keeps a voice's formants and onsets clean at the small ratios practice uses;
    // offline mode studies the whole sentence first, so the output has exactly the asked length.
    RubberBandStretcher stretcher(static_cast<std::size_t>(in.sampleRate), 1,
                                  RubberBandStretcher::OptionProcessOffline | RubberBandStretcher::OptionEngineFiner |
                                      RubberBandStretcher::OptionFormantPreserved,
                                  1.0 / speed, 1.0);
    stretcher.setExpectedInputDuration(input.size());
    stretcher.setMaxProcessSize(kBlock);
    for (std::size_t at = 0; at < input.size(); at += kBlock) {
        const float* block = input.data() + at;
        const std::size_t count = std::min(kBlock, input.size() - at);
        stretcher.study(&block, count, at + count >= input.size());
    }
    std::vector<float> output;
    output.reserve(static_cast<std::size_t>(static_cast<double>(input.size()) / speed) + kBlock);
    std::vector<float> buffer;
    for (std::size_t at = 0; at < input.size(); at += kBlock) {
        const float* block = input.data() + at;
        const std::size_t count = std::min(kBlock, input.size() - at);
        stretcher.process(&block, count, at + count >= input.size());
        Retrieve(stretcher, buffer, output);
    }
    Retrieve(stretcher, buffer, output);

    out.samples.resize(output.size());
    std::transform(output.begin(), output.end(), out.samples.begin(), [](float sample) {
        const long value = std::lround(std::clamp(sample, -1.0F, 1.0F) * 32767.0F);
        return static_cast<std::int16_t>(value);
    });
    return {};
}

} // namespace lectoria::platform
