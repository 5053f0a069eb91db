#pragma once

#include "import/MediaInterfaces.h"

namespace lectoria::platform {

/// Speaks English through libespeak-ng into mono PCM. espeak-ng keeps one voice for the whole
/// process, so every call takes a lock and sets this object's voice and speed again.
class EspeakSpeech final : public import::ISpeechSynthesizer
{
public:
    static constexpr int kSlowestWpm = 80;
    static constexpr int kFastestWpm = 450;

    lectoria::import::MediaStatus SelectVoice(const std::string& voice, int wordsPerMinute) override;
    lectoria::import::MediaStatus Speak(const std::string& text, import::PcmAudio& out) override;

private:
    std::string m_voice = "en-us";
    int m_wordsPerMinute = 150;
};

} // namespace lectoria::platform
