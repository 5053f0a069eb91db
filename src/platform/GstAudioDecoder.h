#pragma once

#include "import/MediaInterfaces.h"

namespace lectoria::platform {

/// Decodes the audio track of any file the installed GStreamer plug-ins read (MP3, AAC, Opus,
/// FLAC, WAV, and the sound of MP4/MKV/WebM videos) into mono 16-bit PCM at the file's own rate.
class GstAudioDecoder final : public import::IAudioDecoder
{
public:
    lectoria::import::MediaStatus Decode(const std::string& path, import::PcmAudio& out,
                                         const std::atomic<bool>* cancel) override;
};

} // namespace lectoria::platform
