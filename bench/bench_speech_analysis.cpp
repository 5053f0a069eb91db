// Speech analysis of one sentence as the picture of a reading needs it, on a six-second sentence
// spoken by espeak-ng. Goal: the whole profile in well under 100 ms, so the picture opens at once.
#include <benchmark/benchmark.h>

#include "EspeakSpeech.h"
#include "audio/SpeechAnalysis.h"
#include "audio/SpeechProfile.h"

using namespace lectoria;

namespace {

const import::PcmAudio& Sentence()
{
    static const import::PcmAudio pcm = [] {
        platform::EspeakSpeech speech;
        speech.SelectVoice("en-us", 130);
        lectoria::import::PcmAudio spoken;
        speech.Speak("When the rain stopped, we walked along the river and talked about the summer holidays.", spoken);
        return spoken;
    }();
    return pcm;
}

/// One analysis of the sentence, timed; `audio_s` says how long the sentence is.
template <typename Analysis> void BM_Analyse(benchmark::State& state, Analysis analyse)
{
    const import::PcmAudio& pcm = Sentence();
    for (auto _ : state) {
        benchmark::DoNotOptimize(analyse(pcm));
    }
    state.counters["audio_s"] = static_cast<double>(pcm.DurationMs()) / 1000.0;
}
BENCHMARK_CAPTURE(BM_Analyse, PitchContour, [](const import::PcmAudio& pcm) {
    return audio::PitchContour(pcm);
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Analyse, FindSpeech, [](const import::PcmAudio& pcm) {
    return audio::FindSpeech(pcm);
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Analyse, ProfileSpeech, [](const import::PcmAudio& pcm) {
    return audio::ProfileSpeech(pcm);
})->Unit(benchmark::kMillisecond);

} // namespace
