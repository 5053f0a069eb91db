#include "BuiltInMediaModule.h"

#include <QMediaDevices>
#include <QObject>

#include "CMediaPlayer2.h"
#include "EspeakSpeech.h"
#include "GstAudioDecoder.h"
#include "LameMp3Encoder.h"
#include "LinkGrammarParser.h"
#include "SentenceDecoding.h"
#include "ShadowRecorder.h"
#include "StretchingRenderer.h"
#include "practice/RecordingStore.h"

namespace lectoria::platform {

namespace {

class LinkedMediaModule final : public MediaModule
{
public:
    std::unique_ptr<ISentencePlayer> CreatePlayer() override { return std::make_unique<CMediaPlayer2>(); }

    std::unique_ptr<reading::ISpeechRenderer> CreateRenderer(const std::string& tempDir) override
    {
        return std::make_unique<StretchingRenderer>(tempDir);
    }

    std::unique_ptr<reading::IShadowRecorder>
    CreateRecorder(std::function<void(const std::string& file)> finished) override
    {
        auto recorder = std::make_unique<ShadowRecorder>(practice::RecordingStore(practice::RecordingsDirectory()));
        if (finished) {
            QObject::connect(recorder.get(), &ShadowRecorder::finished, recorder.get(),
                             [finished = std::move(finished)](const QString& file) { finished(file.toStdString()); });
        }
        return recorder;
    }

    void WatchAudioInputs(QObject* owner, std::function<void()> changed) override
    {
        QObject::connect(new QMediaDevices(owner), &QMediaDevices::audioInputsChanged, owner, std::move(changed));
    }

    lectoria::import::MediaStatus DecodeSentenceFile(const std::string& path, lectoria::import::PcmAudio& out) override
    {
        return platform::DecodeSentenceFile(path, out);
    }

    std::unique_ptr<analysis::IParser> CreateParser(std::string& error) override
    {
        return LinkGrammarParser::Open(error);
    }

    ImportTools CreateImportTools() override
    {
        return {std::make_unique<GstAudioDecoder>(), std::make_unique<LameMp3Encoder>(),
                std::make_unique<EspeakSpeech>()};
    }
};

} // namespace

MediaModule& BuiltInMediaModule()
{
    static LinkedMediaModule module;
    return module;
}

} // namespace lectoria::platform
