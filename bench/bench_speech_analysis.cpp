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

void SetSeconds(benchmark::State& state, const import::PcmAudio& pcm)
{
    state.counters["audio_s"] = static_cast<double>(pcm.DurationMs()) / 1000.0;
}

void BM_PitchContour(benchmark::State& state)
{
    const import::PcmAudio& pcm = Sentence();
    for (auto _ : state) {
        benchmark::DoNotOptimize(audio::PitchContour(pcm));
    }
    SetSeconds(state, pcm);
}
BENCHMARK(BM_PitchContour)->Unit(benchmark::kMillisecond);

void BM_FindSpeech(benchmark::State& state)
{
    const import::PcmAudio& pcm = Sentence();
    for (auto _ : state) {
        benchmark::DoNotOptimize(audio::FindSpeech(pcm));
    }
    SetSeconds(state, pcm);
}
BENCHMARK(BM_FindSpeech)->Unit(benchmark::kMillisecond);

void BM_ProfileSpeech(benchmark::State& state)
{
    const import::PcmAudio& pcm = Sentence();
    for (auto _ : state) {
        benchmark::DoNotOptimize(audio::ProfileSpeech(pcm));
    }
    SetSeconds(state, pcm);
}
BENCHMARK(BM_ProfileSpeech)->Unit(benchmark::kMillisecond);

} // namespace
