#include "practice/WavFile.h"

#include <cstdint>

namespace lectoria::practice {

namespace {

void AppendLittleEndian(QByteArray& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i) {
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

} // namespace

QByteArray WavBytes(const import::PcmAudio& audio)
{
    const auto dataBytes = static_cast<std::uint32_t>(audio.samples.size() * sizeof(std::int16_t));
    const auto rate = static_cast<std::uint32_t>(audio.sampleRate);
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(44 + dataBytes));
    bytes.append("RIFF", 4);
    AppendLittleEndian(bytes, 36 + dataBytes, 4);
    bytes.append("WAVEfmt ", 8);
    AppendLittleEndian(bytes, 16, 4); // size of the format chunk
    AppendLittleEndian(bytes, 1, 2);  // integer PCM
    AppendLittleEndian(bytes, 1, 2);  // one channel
    AppendLittleEndian(bytes, rate, 4);
    AppendLittleEndian(bytes, rate * 2, 4); // bytes per second
    AppendLittleEndian(bytes, 2, 2);        // bytes per frame
    AppendLittleEndian(bytes, 16, 2);       // bits per sample
    bytes.append("data", 4);
    AppendLittleEndian(bytes, dataBytes, 4);
    for (const std::int16_t sample : audio.samples) {
        AppendLittleEndian(bytes, static_cast<std::uint16_t>(sample), 2);
    }
    return bytes;
}

} // namespace lectoria::practice
