#include "ShadowRecorder.h"

#include <algorithm>
#include <cstring>

#include <QAudioDevice>
#include <QAudioSource>
#include <QDateTime>
#include <QMediaDevices>
#include <QTimer>

#include "LameMp3Encoder.h"
#include "MediaBackend.h"
#include "audio/SpeechAnalysis.h"

namespace lectoria::platform {

namespace {

/// Speech needs no more; a low rate keeps the recordings small and the analysis quick.
constexpr int kRecordingRate = 22050;
/// Time the device may take beyond the recording's length before it counts as stuck.
constexpr int kDeviceGraceMs = 3000;
/// The start of a recording can hold the room's echo of the reading that just ended; it is kept
/// but does not count as the learner's speech, or a hesitating learner would be cut off a second
/// after the echo.
constexpr int kEchoMs = 250;

/// One frame of any sample format as a mono 16-bit sample (the channels averaged).
std::int16_t MonoSample(const char* frame, const QAudioFormat& format)
{
    const int channels = format.channelCount();
    double sum = 0;
    for (int c = 0; c < channels; ++c) {
        sum += static_cast<double>(format.normalizedSampleValue(frame + c * format.bytesPerSample()));
    }
    const double value = channels > 0 ? sum / channels : 0.0;
    return static_cast<std::int16_t>(std::clamp(value, -1.0, 1.0) * 32767.0);
}

} // namespace

ShadowRecorder::ShadowRecorder(practice::RecordingStore store, QObject* parent)
    : QObject(parent), m_store(std::move(store)), m_deadline(new QTimer(this))
{
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, [this] {
        if (m_recording) {
            Fail("录音设备没有送来声音, 已停止跟读.");
        }
    });
}

ShadowRecorder::~ShadowRecorder()
{
    Release();
}

bool ShadowRecorder::IsAvailable(std::string* why) const
{
    PrepareMediaBackend();
    if (QMediaDevices::defaultAudioInput().isNull()) {
        if (why != nullptr) {
            *why = "没有找到录音设备(麦克风), 无法跟读.";
        }
        return false;
    }
    return true;
}

bool ShadowRecorder::Start(const std::string& audioPath, std::int64_t maxMs)
{
    Release();
    m_lastError.clear();
    PrepareMediaBackend();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        m_lastError = "没有找到录音设备(麦克风), 已停止跟读.";
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(kRecordingRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        format = device.preferredFormat();
    }
    if (format.sampleRate() <= 0 || format.bytesPerFrame() <= 0) {
        m_lastError = "录音设备不支持可用的声音格式, 已停止跟读.";
        return false;
    }
    m_format = format;
    m_source = new QAudioSource(device, format, this);
    m_input = m_source->start();
    if (m_input == nullptr || m_source->error() != QAudio::NoError) {
        Release();
        m_lastError = "录音设备无法打开, 已停止跟读.";
        return false;
    }
    connect(m_input, &QIODevice::readyRead, this, &ShadowRecorder::ReadAvailable);
    connect(m_source, &QAudioSource::stateChanged, this, [this](QAudio::State state) {
        if (m_recording && state == QAudio::StoppedState && m_source->error() != QAudio::NoError) {
            Fail("录音设备出错, 已停止跟读.");
        }
    });
    m_gate = std::make_unique<audio::SpeechGate>(format.sampleRate());
    m_samples.clear();
    m_samples.reserve(static_cast<std::size_t>(maxMs * format.sampleRate() / 1000));
    m_maxSamples = maxMs * format.sampleRate() / 1000;
    m_audioPath = audioPath;
    m_recording = true;
    m_deadline->start(static_cast<int>(std::min<std::int64_t>(maxMs, 600000)) + kDeviceGraceMs);
    return true;
}

void ShadowRecorder::ReadAvailable()
{
    if (!m_recording || m_input == nullptr) {
        return;
    }
    const QByteArray bytes = m_input->readAll();
    const int frameBytes = m_format.bytesPerFrame();
    const auto frames = bytes.size() / frameBytes;
    const std::size_t before = m_samples.size();
    for (qsizetype i = 0; i < frames && static_cast<std::int64_t>(m_samples.size()) < m_maxSamples; ++i) {
        const char* frame = bytes.constData() + i * frameBytes;
        if (m_format.sampleFormat() == QAudioFormat::Int16 && m_format.channelCount() == 1) {
            std::int16_t sample = 0;
            std::memcpy(&sample, frame, sizeof sample);
            m_samples.push_back(sample);
        } else {
            m_samples.push_back(MonoSample(frame, m_format));
        }
    }
    const auto echoSamples = static_cast<std::size_t>(m_format.sampleRate()) * kEchoMs / 1000;
    const std::size_t from = std::max(before, echoSamples);
    if (m_samples.size() > from) {
        m_gate->Feed(m_samples.data() + from, m_samples.size() - from);
    }
    if (static_cast<std::int64_t>(m_samples.size()) >= m_maxSamples || m_gate->silenceAfterSpeech()) {
        Finish();
    }
}

void ShadowRecorder::Finish()
{
    const int rate = m_format.sampleRate();
    std::vector<std::int16_t> samples = std::move(m_samples);
    const std::string audioPath = m_audioPath;
    Release();
    std::string mp3;
    LameMp3Encoder encoder(48);
    if (const import::MediaStatus encoded = encoder.Encode(samples.data(), samples.size(), rate, mp3); !encoded.ok()) {
        m_lastError = "无法压缩录音: " + encoded.error;
        emit finished(QString());
        return;
    }
    std::string why;
    const std::string file =
        m_store.Keep(audioPath, QByteArray::fromStdString(mp3), QDateTime::currentMSecsSinceEpoch(), &why);
    if (file.empty()) {
        m_lastError = why;
        emit finished(QString());
        return;
    }
    emit finished(QString::fromStdString(file));
}

void ShadowRecorder::Fail(const std::string& why)
{
    Release();
    m_lastError = why;
    emit finished(QString());
}

void ShadowRecorder::Stop()
{
    Release();
}

void ShadowRecorder::Release()
{
    m_recording = false;
    m_deadline->stop();
    if (m_source != nullptr) {
        m_source->disconnect(this);
        if (m_input != nullptr) {
            m_input->disconnect(this);
        }
        m_source->stop();
        m_source->deleteLater();
    }
    m_source = nullptr;
    m_input = nullptr;
    m_gate.reset();
    m_samples.clear();
}

std::string ShadowRecorder::LastRecordingOf(const std::string& audioPath) const
{
    return m_store.LastRecordingOf(audioPath);
}

} // namespace lectoria::platform
