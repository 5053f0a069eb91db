#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EspeakSpeech.h"
#include "audio/SpeechAnalysis.h"
#include "import/MediaInterfaces.h"
#include "practice/WavFile.h"

namespace lectoria::test {

/// Where one sentence's sound lies in a fixture recording.
struct SpokenSentence
{
    std::string text;
    std::string note;
    std::int64_t placedStartMs = 0; ///< where its speech audio was put
    std::int64_t placedEndMs = 0;
    std::int64_t soundStartMs = 0; ///< where its sound really starts and ends inside that audio
    std::int64_t soundEndMs = 0;
};

/// The first and last sample louder than a plain threshold, as milliseconds; -1 when all is quiet.
inline std::pair<std::int64_t, std::int64_t> SoundExtentMs(const import::PcmAudio& audio, int threshold = 600)
{
    std::int64_t first = -1;
    std::int64_t last = -1;
    for (std::size_t i = 0; i < audio.samples.size(); ++i) {
        if (std::abs(static_cast<int>(audio.samples[i])) >= threshold) {
            if (first < 0) {
                first = static_cast<std::int64_t>(i);
            }
            last = static_cast<std::int64_t>(i);
        }
    }
    if (first < 0) {
        return {-1, -1};
    }
    return {audio.MsOf(static_cast<std::size_t>(first)), audio.MsOf(static_cast<std::size_t>(last) + 1)};
}

/// One recording of several sentences spoken by espeak-ng, joined with known silences between.
struct SpokenRecording
{
    lectoria::import::PcmAudio audio;
    std::vector<SpokenSentence> sentences;
};

inline SpokenRecording SpeakWithGaps(const std::vector<std::pair<std::string, std::string>>& sentences,
                                     int leadMs = 700, int gapMs = 900, int tailMs = 600)
{
    platform::EspeakSpeech speech;
    SpokenRecording recording;
    EXPECT_TRUE(speech.SelectVoice("en-us", 160).ok());
    const auto silence = [&recording](int ms) {
        recording.audio.samples.insert(recording.audio.samples.end(),
                                       static_cast<std::size_t>(recording.audio.sampleRate) * ms / 1000, 0);
    };
    for (std::size_t i = 0; i < sentences.size(); ++i) {
        lectoria::import::PcmAudio spoken;
        EXPECT_TRUE(speech.Speak(sentences[i].first, spoken).ok());
        recording.audio.sampleRate = spoken.sampleRate;
        silence(i == 0 ? leadMs : gapMs);
        SpokenSentence sentence{sentences[i].first, sentences[i].second, 0, 0, 0, 0};
        sentence.placedStartMs = recording.audio.DurationMs();
        const auto [soundStart, soundEnd] = SoundExtentMs(spoken);
        recording.audio.samples.insert(recording.audio.samples.end(), spoken.samples.begin(), spoken.samples.end());
        sentence.placedEndMs = recording.audio.DurationMs();
        sentence.soundStartMs = sentence.placedStartMs + soundStart;
        sentence.soundEndMs = sentence.placedStartMs + soundEnd;
        recording.sentences.push_back(sentence);
    }
    silence(tailMs);
    return recording;
}

/// One sentence spoken by espeak-ng in a voice ("en-us", "en-us+f3" for a higher one).
inline lectoria::import::PcmAudio Spoken(const std::string& voice, const std::string& text, int wordsPerMinute = 150)
{
    platform::EspeakSpeech speech;
    EXPECT_TRUE(speech.SelectVoice(voice, wordsPerMinute).ok());
    lectoria::import::PcmAudio audio;
    EXPECT_TRUE(speech.Speak(text, audio).ok());
    return audio;
}

/// The median pitch of where speech is found, or 0 when there is none.
inline double SpeechPitchHz(const lectoria::import::PcmAudio& audio)
{
    const audio::SpeechSpan span = audio::FindSpeech(audio);
    return span.found() ? audio::MedianPitchHz(audio, span.startMs, span.endMs) : 0.0;
}

/// How long the speech found lasts, or 0 when there is none.
inline std::int64_t SpeechLengthMs(const lectoria::import::PcmAudio& audio)
{
    const audio::SpeechSpan span = audio::FindSpeech(audio);
    return span.found() ? span.endMs - span.startMs : 0;
}

/// Writes mono 16-bit PCM as a WAV file.
inline void WriteWav(const std::filesystem::path& file, const import::PcmAudio& audio)
{
    const QByteArray wav = practice::WavBytes(audio);
    std::ofstream(file, std::ios::binary).write(wav.constData(), wav.size());
}

/// "mm:ss.xx" for LRC, "HH:MM:SS,mmm" for SRT and "HH:MM:SS.mmm" for WebVTT.
inline std::string LrcTime(std::int64_t ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld.%02lld", static_cast<long long>(ms / 60000),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000 / 10));
    return text;
}

inline std::string ClockTime(std::int64_t ms, char separator)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld%c%03lld", static_cast<long long>(ms / 3600000),
                  static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60), separator,
                  static_cast<long long>(ms % 1000));
    return text;
}

} // namespace lectoria::test
