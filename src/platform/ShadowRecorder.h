#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QAudioFormat>
#include <QObject>

#include "practice/RecordingStore.h"
#include "reading/PracticeInterfaces.h"

class QAudioSource;
class QIODevice;
class QTimer;

namespace lectoria::audio {
class SpeechGate;
}

namespace lectoria::platform {

/// Records the learner from the default input through Qt Multimedia, stops after the time allowed
/// or after a second of silence once speech was heard, and keeps the recording as MP3 in the store.
class ShadowRecorder : public QObject, public reading::IShadowRecorder
{
    Q_OBJECT

public:
    explicit ShadowRecorder(practice::RecordingStore store, QObject* parent = nullptr);
    ~ShadowRecorder() override;

    bool IsAvailable(std::string* why) const override;
    bool Start(const std::string& audioPath, std::int64_t maxMs) override;
    bool IsRecording() const override { return m_recording; }
    void Stop() override;
    std::string LastError() const override { return m_lastError; }
    std::string LastRecordingOf(const std::string& audioPath) const override;

    const practice::RecordingStore& store() const { return m_store; }

signals:
    /// A recording ended and was kept (`file`), or failed (`file` empty, LastError() says why).
    void finished(const QString& file);

private:
    void ReadAvailable();
    void Finish();
    void Fail(const std::string& why);
    void Release();

    practice::RecordingStore m_store;
    QAudioSource* m_source = nullptr;
    QIODevice* m_input = nullptr;
    QTimer* m_deadline = nullptr;
    QAudioFormat m_format;
    std::unique_ptr<audio::SpeechGate> m_gate;
    std::vector<std::int16_t> m_samples;
    std::string m_audioPath;
    std::int64_t m_maxSamples = 0;
    bool m_recording = false;
    std::string m_lastError;
};

} // namespace lectoria::platform
