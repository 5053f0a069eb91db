#include "LameMp3Encoder.h"

#include <algorithm>
#include <memory>
#include <vector>

#include <lame/lame.h>

namespace lectoria::platform {

namespace {

struct LameDeleter
{
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

// Samples handed to LAME at a time, and the output room its documentation asks for them.
constexpr int kChunk = 8192;
constexpr int kChunkOutput = kChunk * 5 / 4 + 7200;

} // namespace

lectoria::import::MediaStatus LameMp3Encoder::Encode(const std::int16_t* samples, std::size_t count, int sampleRate,
                                                     std::string& mp3)
{
    mp3.clear();
    std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
    if (!lame) {
        return {"LAME cannot start"};
    }
    lame_set_in_samplerate(lame.get(), sampleRate);
    lame_set_num_channels(lame.get(), 1);
    lame_set_mode(lame.get(), MONO);
    lame_set_brate(lame.get(), m_kilobitsPerSecond);
    // Quality 7 is LAME's fast setting: plenty for speech, and a long lesson encodes in seconds.
    lame_set_quality(lame.get(), 7);
    // An Info frame up front carries LAME's encoder delay and padding: players that read it start
    // the voice at its first sample instead of after some 50 ms of codec silence (at 22 kHz), and a
    // repeated sentence loses that gap too. A decoder that does not know the frame plays it as one
    // short frame of silence.
    lame_set_bWriteVbrTag(lame.get(), 1);
    if (lame_init_params(lame.get()) < 0) {
        return {"LAME rejects the audio format (" + std::to_string(sampleRate) + " Hz)"};
    }
    std::vector<unsigned char> buffer(kChunkOutput);
    std::vector<short> chunk(kChunk);
    for (std::size_t done = 0; done < count;) {
        const int n = static_cast<int>(std::min<std::size_t>(kChunk, count - done));
        std::copy(samples + done, samples + done + n, chunk.begin());
        const int written = lame_encode_buffer(lame.get(), chunk.data(), chunk.data(), n, buffer.data(),
                                               static_cast<int>(buffer.size()));
        if (written < 0) {
            return {"LAME failed to encode (error " + std::to_string(written) + ")"};
        }
        mp3.append(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(written));
        done += static_cast<std::size_t>(n);
    }
    const int flushed = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
    if (flushed < 0) {
        return {"LAME failed to finish the file"};
    }
    mp3.append(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(flushed));
    // LAME wrote a blank frame first; the finished Info frame, with the counts now known, replaces
    // it. None comes where LAME left the frame out (a bit rate too low to hold it).
    const std::size_t tagSize = lame_get_lametag_frame(lame.get(), buffer.data(), buffer.size());
    if (tagSize > buffer.size() || tagSize > mp3.size()) {
        return {"LAME did not finish the file's Info frame"};
    }
    mp3.replace(0, tagSize, reinterpret_cast<const char*>(buffer.data()), tagSize);
    return {};
} // namespace lectoria::platform

} // namespace lectoria::platform
