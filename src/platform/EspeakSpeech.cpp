#include "EspeakSpeech.h"

#include <mutex>

#include <espeak-ng/speak_lib.h>

namespace lectoria::platform {

namespace {

std::mutex& EspeakLock()
{
    static std::mutex lock;
    return lock;
}

int Collect(short* wave, int count, espeak_EVENT* events)
{
    if (wave != nullptr && count > 0 && events != nullptr && events->user_data != nullptr) {
        auto* out = static_cast<import::PcmAudio*>(events->user_data);
        out->samples.insert(out->samples.end(), wave, wave + count);
    }
    return 0; // go on
}

// The sample rate, or 0 when espeak-ng cannot start; called with the lock held.
int StartEspeak()
{
    static int rate = -1;
    if (rate < 0) {
        rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (rate > 0) {
            espeak_SetSynthCallback(Collect);
        } else {
            rate = 0;
        }
    }
    return rate;
}

import::MediaStatus Apply(const std::string& voice, int wordsPerMinute){
    if (StartEspeak() == 0){return {"espeak-ng cannot start (is espeak-ng-data installed?)"};
} // namespace
if (espeak_SetVoiceByName(voice.c_str()) != EE_OK) {
    return {"espeak-ng has no voice named '" + voice + "'"};
}
espeak_SetParameter(espeakRATE, wordsPerMinute, 0);
return {};
} // namespace lectoria::platform

} // namespace

import::MediaStatus EspeakSpeech::SelectVoice(const std::string& voice, int wordsPerMinute){
    if (wordsPerMinute< kSlowestWpm || wordsPerMinute > kFastestWpm){
        return {"words per minute must be from " + std::to_string(kSlowestWpm) + " to " + std::to_string(kFastestWpm)};
}
const std::lock_guard<std::mutex> guard(EspeakLock());
import::MediaStatus status = Apply(voice, wordsPerMinute);
if (status.ok()) {
    m_voice = voice;
    m_wordsPerMinute = wordsPerMinute;
}
return status;
}

import::MediaStatus EspeakSpeech::Speak(const std::string& text, import::PcmAudio& out){out = import::PcmAudio();
const std::lock_guard<std::mutex> guard(EspeakLock());
if (import::MediaStatus status = Apply(m_voice, m_wordsPerMinute); !status.ok()) {
    return status;
}
out.sampleRate = StartEspeak();
const espeak_ERROR result =
    espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, &out);
if (result != EE_OK) {
    return {"espeak-ng could not speak the text"};
}
return {};
}

} // namespace lectoria::platform
