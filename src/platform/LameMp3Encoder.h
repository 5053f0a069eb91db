#pragma once

#include "import/MediaInterfaces.h"

namespace lectoria::platform {

/// Encodes mono PCM as constant-bit-rate MP3 through LAME's library.
class LameMp3Encoder final : public import::IMp3Encoder
{
public:
    explicit LameMp3Encoder(int kilobitsPerSecond = 64) : m_kilobitsPerSecond(kilobitsPerSecond) {}

    lectoria::import::MediaStatus Encode(const std::int16_t* samples, std::size_t count, int sampleRate,
                                         std::string& mp3) override;

private:
    int m_kilobitsPerSecond;
};

} // namespace lectoria::platform
