#pragma once

// What a PulseAudio sink plays, recorded through its monitor source by parec: how the real-sound
// tests hear the program.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "import/MediaInterfaces.h"

namespace lectoria::test {

class SinkMonitor
{
public:
    /// Records `sink` as mono 16-bit PCM at `rate` from now until Stop().
    SinkMonitor(const QString& sink, int rate) : m_rate(rate)
    {
        m_process.start(QStringLiteral("parec"),
                        {QStringLiteral("--device=") + sink + QStringLiteral(".monitor"),
                         QStringLiteral("--format=s16le"), QStringLiteral("--rate=") + QString::number(rate),
                         QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20")});
        m_started = m_process.waitForStarted(5000);
    }
    ~SinkMonitor() { Stop(); }
    SinkMonitor(const SinkMonitor&) = delete;
    SinkMonitor& operator=(const SinkMonitor&) = delete;

    bool started() const { return m_started; }

    /// Stops recording and returns everything heard.
    lectoria::import::PcmAudio Stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(5000);
        }
        m_data += m_process.readAllStandardOutput();
        lectoria::import::PcmAudio audio;
        audio.sampleRate = m_rate;
        audio.samples.resize(static_cast<std::size_t>(m_data.size() / 2));
        std::memcpy(audio.samples.data(), m_data.constData(), audio.samples.size() * 2);
        return audio;
    }

    /// The largest absolute sample of `audio`.
    static int Peak(const lectoria::import::PcmAudio& audio)
    {
        int peak = 0;
        for (const std::int16_t sample : audio.samples) {
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        return peak;
    }

private:
    QProcess m_process;
    QByteArray m_data;
    int m_rate;
    bool m_started = false;
};

} // namespace lectoria::test
