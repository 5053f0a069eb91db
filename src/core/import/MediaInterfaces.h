#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace lectoria::import {

/// Mono 16-bit audio held in memory.
struct PcmAudio
{
    int sampleRate = 0;
    std::vector<std::int16_t> samples;

    /// Milliseconds of sample `index`, rounded down.
    std::int64_t MsOf(std::size_t index) const
    {
        return sampleRate > 0 ? static_cast<std::int64_t>(index) * 1000 / sampleRate : 0;
    }
    /// The sample at `ms`, clamped to the audio.
    std::size_t IndexOf(std::int64_t ms) const
    {
        if (ms <= 0 || sampleRate <= 0) {
            return 0;
        }
        const auto index = static_cast<std::size_t>(ms * sampleRate / 1000);
        return index < samples.size() ? index : samples.size();
    }
    std::int64_t DurationMs() const { return MsOf(samples.size()); }
};

/// The outcome of a media step: empty `error` on success, else the reason in English.
struct MediaStatus
{
    std::string error;
    bool ok() const { return error.empty(); }
};

/// Turns any audio or video file the installed codecs read into mono PCM.
class IAudioDecoder
{
public:
    virtual ~IAudioDecoder() = default;
    /// Decodes the whole audio track; stops early, with an error, when `cancel` becomes true.
    virtual MediaStatus Decode(const std::string& path, PcmAudio& out, const std::atomic<bool>* cancel) = 0;
};

/// Encodes mono PCM as one MP3 file held in memory.
class IMp3Encoder
{
public:
    virtual ~IMp3Encoder() = default;
    virtual MediaStatus Encode(const std::int16_t* samples, std::size_t count, int sampleRate, std::string& mp3) = 0;
};

/// Speaks English text into mono PCM with a chosen voice and speed.
class ISpeechSynthesizer
{
public:
    virtual ~ISpeechSynthesizer() = default;
    /// Checks the voice before any text is spoken, so a wrong name fails at once.
    virtual MediaStatus SelectVoice(const std::string& voice, int wordsPerMinute) = 0;
    virtual MediaStatus Speak(const std::string& text, PcmAudio& out) = 0;
};

} // namespace lectoria::import
