// Importing lessons: a 10-minute MP3 with 150 LRC cues, and a 150-sentence text through speech.
// Each run builds a whole lesson as the program does: decode or speak, cut, trim, encode, scramble,
// write. Goal: about 15 s each on one core.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include "EspeakSpeech.h"
#include "GstAudioDecoder.h"
#include "LameMp3Encoder.h"
#include "import/LessonBuilder.h"

using namespace lectoria;
namespace fs = std::filesystem;

namespace {

constexpr int kCues = 150;
constexpr int kCueMs = 4000; // 150 cues of 4 s: ten minutes

const std::vector<std::string>& Sentences()
{
    static const std::vector<std::string> sentences = [] {
        const char* subjects[] = {"The old sailor", "My younger sister", "Our new neighbour", "The tired driver",
                                  "A quiet student"};
        const char* verbs[] = {"walked to", "looked at", "talked about", "waited near", "painted"};
        const char* objects[] = {"the red bridge",   "a small garden",      "the busy market",
                                 "an empty station", "the tall lighthouse", "a wooden boat"};
        std::vector<std::string> list;
        for (int i = 0; list.size() < kCues; ++i) {
            list.push_back(std::string(subjects[i % 5]) + " " + verbs[(i / 5) % 5] + " " + objects[(i / 25) % 6] +
                           " on day " + std::to_string(i + 1) + ".");
        }
        return list;
    }();
    return sentences;
}

struct Workspace
{
    fs::path dir = fs::temp_directory_path() / ("lectoria-bench-import-" + std::to_string(::getpid()));
    fs::path mp3 = dir / "ten-minutes.mp3";
    fs::path lrc = dir / "ten-minutes.lrc";
    fs::path text = dir / "story.txt";

    Workspace()
    {
        fs::create_directories(dir);
        // The recording: each cue's sentence spoken, then silence up to the next cue.
        platform::EspeakSpeech speech;
        speech.SelectVoice("en-us", 160);
        lectoria::import::PcmAudio all;
        std::string lrcText = "[ti:Ten minutes]\n";
        std::string story;
        for (int i = 0; i < kCues; ++i) {
            lectoria::import::PcmAudio spoken;
            speech.Speak(Sentences()[static_cast<std::size_t>(i)], spoken);
            all.sampleRate = spoken.sampleRate;
            const std::size_t cueSamples = static_cast<std::size_t>(spoken.sampleRate) * kCueMs / 1000;
            spoken.samples.resize(cueSamples, 0);
            all.samples.insert(all.samples.end(), spoken.samples.begin(), spoken.samples.end());
            char tag[32];
            std::snprintf(tag, sizeof tag, "[%02d:%02d.00]", i * 4 / 60, i * 4 % 60);
            lrcText += tag + Sentences()[static_cast<std::size_t>(i)] + "\n";
            story += Sentences()[static_cast<std::size_t>(i)] + (i % 5 == 4 ? "\n\n" : " ");
        }
        // Resampled to 44.1 kHz as real lesson MP3s are; the decoder then has the usual work to do.
        lectoria::import::PcmAudio cd;
        cd.sampleRate = 44100;
        cd.samples.resize(all.samples.size() * 2);
        for (std::size_t i = 0; i < cd.samples.size(); ++i) {
            cd.samples[i] = all.samples[std::min(all.samples.size() - 1, i / 2)];
        }
        std::string bytes;
        platform::LameMp3Encoder(128).Encode(cd.samples.data(), cd.samples.size(), cd.sampleRate, bytes);
        std::ofstream(mp3, std::ios::binary) << bytes;
        std::ofstream(lrc, std::ios::binary) << lrcText;
        std::ofstream(text, std::ios::binary) << story;
    }
    ~Workspace() { fs::remove_all(dir); }
};

Workspace& Files()
{
    static Workspace workspace;
    return workspace;
}

void Run(benchmark::State& state, import::ImportRequest request)
{
    platform::GstAudioDecoder decoder;
    platform::LameMp3Encoder encoder;
    platform::EspeakSpeech speech;
    const fs::path root = Files().dir / "library";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(root);
        fs::create_directories(root);
        request.libraryRoot = root.string();
        state.ResumeTiming();
        const import::ImportResult result = import::ImportLesson(request, {&decoder, &encoder, &speech});
        if (!result.ok() || result.sentences.size() != kCues) {
            state.SkipWithError(import::ImportErrorMessage(result).c_str());
            break;
        }
    }
    state.counters["sentences"] = kCues;
}

void BM_ImportTenMinuteMp3With150LrcCues(benchmark::State& state)
{
    lectoria::import::ImportRequest request;
    request.book = "Bench";
    request.title = "Ten minutes";
    request.audioPath = Files().mp3.string();
    request.timedTextPath = Files().lrc.string();
    Run(state, request);
}

void BM_Import150SentencesThroughSpeech(benchmark::State& state)
{
    lectoria::import::ImportRequest request;
    request.book = "Bench";
    request.title = "Spoken story";
    request.source = import::ImportRequest::Source::Text;
    request.textPath = Files().text.string();
    Run(state, request);
}

} // namespace

BENCHMARK(BM_ImportTenMinuteMp3With150LrcCues)
    ->Unit(benchmark::kSecond)
    ->Iterations(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_Import150SentencesThroughSpeech)
    ->Unit(benchmark::kSecond)
    ->Iterations(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
