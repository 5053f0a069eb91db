#include "CMediaPlayer2.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

#include "GstSetup.h"
#include "MediaBackend.h"

namespace lectoria::platform {

namespace {

// A valid sentence starts playing within a few hundred milliseconds; one that has not started
// by then never will (GStreamer sometimes stays in "loading" on a damaged file).
constexpr int kStartGraceMs = 3000;

} // namespace

CMediaPlayer2::CMediaPlayer2(QObject* parent) : QObject(parent) {}

void CMediaPlayer2::Prepare()
{
    if (m_player != nullptr) {
        return;
    }
    PrepareMediaBackend();
    m_player = new QMediaPlayer(this);
    m_output = new QAudioOutput(this);
    m_output->setVolume(m_volume);
    m_player->setAudioOutput(m_output);
    m_player->setLoops(m_loops);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        switch (status) {
        case QMediaPlayer::BufferedMedia:
        case QMediaPlayer::BufferingMedia:
            m_started = true;
            break;
        case QMediaPlayer::EndOfMedia:
            Finish(QString());
            break;
        case QMediaPlayer::InvalidMedia:
            Finish(m_player->errorString().isEmpty() ? QStringLiteral("无法识别的音频") : m_player->errorString());
            break;
        default:
            break;
        }
    });
    // Audio that has moved on is playing, whatever the buffering states said.
    connect(m_player, &QMediaPlayer::positionChanged, this, [this](qint64 position) {
        if (position > 0) {
            m_started = true;
        }
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error, const QString& message) {
        if (error != QMediaPlayer::NoError) {
            Finish(message.isEmpty() ? QStringLiteral("播放出错") : message);
        }
    });
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this](QMediaPlayer::PlaybackState state) {
        if (state == QMediaPlayer::StoppedState && m_started) {
            Finish(QString());
        }
    });
}

CMediaPlayer2::~CMediaPlayer2()
{
    if (m_player != nullptr) {
        m_player->stop();
    }
}

void CMediaPlayer2::SetAutoStart(bool autoStart)
{
    m_autoStart = autoStart;
}

void CMediaPlayer2::SetPlayCount(int count)
{
    m_loops = count < 1 ? 1 : count;
    if (m_player != nullptr) {
        m_player->setLoops(m_loops);
    }
}

void CMediaPlayer2::Open(const std::string& path)
{
    const QString file = QString::fromStdString(path);
    Prepare();
    m_lastError.clear();
    m_started = false;
    m_player->stop();
    const quint64 serial = ++m_openSerial;
    m_busy = false;
    // Without a sound server Qt's GStreamer pipeline still runs through the file and reports it as
    // played: the learner would watch sentences pass in silence. Qt lists no output for good when
    // the server was missing at first, so the server itself is asked then: one started later is
    // used from the next sentence on.
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull() && !PulseServerAnswers()) {
        m_lastError = QStringLiteral("没有可用的声音输出设备");
        return;
    }
    // The output keeps the device it was made with; follow the system's choice as it changes.
    if (!output.isNull() && m_output->device() != output) {
        m_output->setDevice(output);
    }
    const QFileInfo info(file);
    if (!info.isFile() || info.size() == 0) {
        // Nothing to decode: report it as a finished, failed reading right away.
        m_lastError = info.isFile() ? QStringLiteral("音频文件是空的") : QStringLiteral("文件不存在");
        return;
    }
    const QUrl url = QUrl::fromLocalFile(file);
    // The same source again would be ignored; reloading it replays the file from the start.
    if (m_player->source() == url) {
        m_player->setSource(QUrl());
    }
    m_busy = true;
    m_player->setSource(url);
    if (m_autoStart) {
        m_player->play();
    }
    QTimer::singleShot(kStartGraceMs, this, [this, serial] {
        if (serial == m_openSerial && m_busy && !m_started) {
            Finish(QStringLiteral("文件没有开始播放"));
        }
    });
}

int CMediaPlayer2::PlayState() const
{
    return m_busy ? kPlaying : kStopped;
}

void CMediaPlayer2::Stop()
{
    ++m_openSerial;
    m_busy = false;
    m_started = false;
    if (m_player == nullptr) {
        return;
    }
    m_player->stop();
    // Releasing the source lets the decoded file be deleted or rewritten.
    m_player->setSource(QUrl());
}

std::string CMediaPlayer2::LastError() const
{
    return m_lastError.toStdString();
}

float CMediaPlayer2::volume() const
{
    return m_output != nullptr ? m_output->volume() : m_volume;
}

void CMediaPlayer2::setVolume(float volume)
{
    m_volume = volume;
    if (m_output != nullptr) {
        m_output->setVolume(volume);
    }
}

void CMediaPlayer2::Finish(const QString& error)
{
    if (!m_busy) {
        return;
    }
    m_busy = false;
    m_lastError = error;
}

} // namespace lectoria::platform
