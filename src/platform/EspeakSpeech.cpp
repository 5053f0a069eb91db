#include "EspeakSpeech.h"

#include <cstring>
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

// Whether an installed voice speaks `language`; called with the lock held.
bool HasLanguage(const std::string& language)
{
    const espeak_VOICE** voices = espeak_ListVoices(nullptr);
    for (; voices != nullptr && *voices != nullptr; ++voices) {
        // `languages` holds entries of a priority byte, a name and a NUL, ended by an empty name.
        for (const char* entry = (*voices)->languages; entry != nullptr && entry[0] != '\0' && entry[1] != '\0';
             entry += std::strlen(entry + 1) + 2) {
            if (language == entry + 1) {
                return true;
            }
        }
    }
    return false;
}

lectoria::import::MediaStatus Apply(const std::string& voice, int wordsPerMinute)
{
    if (StartEspeak() == 0) {
        return {"espeak-ng cannot start (is espeak-ng-data installed?)"};
    } // namespace
    if (espeak_SetVoiceByName(voice.c_str()) != EE_OK) {
        // Not a voice name: a language such as "en-gb" picks that language's first voice.
        if (!HasLanguage(voice)) {
            return {"espeak-ng has no voice named '" + voice + "'"};
        }
        espeak_VOICE wanted{};
        wanted.languages = voice.c_str();
        if (espeak_SetVoiceByProperties(&wanted) != EE_OK) {
            return {"espeak-ng cannot use the voice '" + voice + "'"};
        }
    }
    espeak_SetParameter(espeakRATE, wordsPerMinute, 0);
    return {};
} // namespace lectoria::platform

} // namespace

lectoria::import::MediaStatus EspeakSpeech::SelectVoice(const std::string& voice, int wordsPerMinute)
{
    if (wordsPerMinute < kSlowestWpm || wordsPerMinute > kFastestWpm) {
        return {"words per minute must be from " + std::to_string(kSlowestWpm) + " to " + std::to_string(kFastestWpm)};
    }
    const std::lock_guard<std::mutex> guard(EspeakLock());
    lectoria::import::MediaStatus status = Apply(voice, wordsPerMinute);
    if (status.ok()) {
        m_voice = voice;
        m_wordsPerMinute = wordsPerMinute;
    }
    return status;
}

lectoria::import::MediaStatus EspeakSpeech::Speak(const std::string& text, import::PcmAudio& out)
{
    out = import::PcmAudio();
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
