#pragma once

#include <QObject>
#include <QString>

#include "reading/IMediaPlayer.h"

class QAudioOutput;
class QMediaPlayer;

namespace lectoria::platform {

/// The hidden sentence player: Qt Multimedia behind the reading loop's player contract.
///
/// Qt keeps reporting "playing" for a file it cannot decode, so the wrapper keeps its own
/// busy flag and clears it on end of media, on an invalid medium, on any error, and when a
/// file has not started after a grace period. The media back end starts with the first file (or
/// Prepare()), so that a window owning the player can show before it.
class CMediaPlayer2 : public QObject, public reading::IMediaPlayer
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

    /// Starts Qt's media back end now instead of with the first file.
    void Prepare();

    /// Output volume, linear 0.0 … 1.0.
    float volume() const;
    void setVolume(float volume);

private:
    void Finish(const QString& error);

    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_output = nullptr;
    float m_volume = 1.0F;
    int m_loops = 1;
    bool m_autoStart = true;
    bool m_busy = false;
    bool m_started = false;
    quint64 m_openSerial = 0;
    QString m_lastError;
};

} // namespace lectoria::platform
