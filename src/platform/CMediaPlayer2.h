#pragma once

#include <atomic>
#include <memory>

#include <QObject>
#include <QString>

#include "MediaModule.h"

typedef struct _GstElement GstElement;

namespace lectoria::platform {

/// The hidden sentence player: a GStreamer pipeline of its own behind the reading loop's player
/// contract.
///
/// Qt Multimedia's player (Qt 6.4) took about 0.3 s longer than the same GStreamer elements to
/// sound a sentence, and reported a file as played when no sound server could hear it; driving the
/// pipeline directly starts the learner's first sentence with the window. The wrapper keeps its
/// own busy flag and clears it on end of stream, on any error, and when a file has not started
/// after a grace period. GStreamer starts with the first file, so that a window owning the player
/// can show before it.
class CMediaPlayer2 : public QObject, public ISentencePlayer
{
    Q_OBJECT

public:
    explicit CMediaPlayer2(QObject* parent = nullptr);
    ~CMediaPlayer2() override;

    void SetAutoStart(bool autoStart) override;
    void SetPlayCount(int count) override;
    void Open(const std::string& path) override;
    int PlayState() const override;
    void Stop() override;
    std::string LastError() const override;

    float volume() const override;
    void setVolume(float volume) override;

    struct BusLink;
    struct BusEvent;

private:
    /// Starts GStreamer and builds the pipeline, once; the pipeline stays null when it cannot.
    void Prepare();
    void Finish(const QString& error);
    void Handle(const BusEvent& event);
    /// Takes the pipeline to READY, which also opens the sound output; false when none answers.
    bool Ready();
    /// Ends the stream and the sound server's connection.
    void Close();

    GstElement* m_pipeline = nullptr;
    GstElement* m_source = nullptr;        ///< owned by the pipeline
    GstElement* m_volumeElement = nullptr; ///< owned by the pipeline
    GstElement* m_sink = nullptr;          ///< owned by the pipeline
    std::shared_ptr<BusLink> m_link;
    std::atomic<quint64> m_streamSerial{0};
    int m_playedTimes = 0;
    float m_volume = 1.0F;
    int m_loops = 1;
    bool m_autoStart = true;
    bool m_busy = false;
    bool m_started = false;
    QString m_lastError;
};

} // namespace lectoria::platform
