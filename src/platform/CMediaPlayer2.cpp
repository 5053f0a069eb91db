#include "CMediaPlayer2.h"

#include <mutex>

#include <QFileInfo>
#include <QMetaObject>
#include <QTimer>

#include <gst/gst.h>

#include "EncoderDelayTrim.h"
#include "GstSetup.h"

namespace lectoria::platform {

namespace {

// A valid sentence starts playing within a few hundred milliseconds; one that has not started
// by then never will (GStreamer sometimes stays in "loading" on a damaged file).
constexpr int kStartGraceMs = 3000;

constexpr const char* kNoOutput = "没有可用的声音输出设备";

// The learner reads these in the status line: GStreamer's own texts are English and technical.
QString ReasonOf(const GError* error, bool fromOutput)
{
    if (fromOutput) {
        return QString::fromUtf8(kNoOutput);
    }
    if (error != nullptr && error->domain == GST_STREAM_ERROR) {
        return QStringLiteral("无法识别的音频");
    }
    if (error != nullptr && error->domain == GST_RESOURCE_ERROR) {
        return QStringLiteral("文件无法读取");
    }
    if (error != nullptr && error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN) {
        return QStringLiteral("缺少播放这种音频的组件");
    }
    return QStringLiteral("播放出错");
}

} // namespace

/// What the pipeline's threads report, reduced to what the window's thread needs.
struct CMediaPlayer2::BusEvent
{
    enum Kind
    {
        Started,
        Ended,
        Failed
    } kind = Failed;
    quint64 serial = 0;
    QString reason;
};

/// The bus handler runs on GStreamer's threads. It reaches the player only through this link,
/// which the player cuts under the lock before it goes, so that no report is posted to a
/// player being destroyed.
struct CMediaPlayer2::BusLink
{
    std::mutex mutex;
    CMediaPlayer2* player = nullptr;

    static GstBusSyncReply OnMessage(GstBus*, GstMessage* message, gpointer data)
    {
        auto& link = **static_cast<std::shared_ptr<BusLink>*>(data);
        const std::lock_guard<std::mutex> lock(link.mutex);
        CMediaPlayer2* player = link.player;
        if (player == nullptr) {
            return GST_BUS_DROP;
        }
        BusEvent event;
        event.serial = player->m_streamSerial.load();
        switch (GST_MESSAGE_TYPE(message)) {
        case GST_MESSAGE_EOS:
            event.kind = BusEvent::Ended;
            break;
        case GST_MESSAGE_ERROR: {
            GError* error = nullptr;
            gst_message_parse_error(message, &error, nullptr);
            event.reason =
                ReasonOf(error, gst_object_has_as_ancestor(GST_MESSAGE_SRC(message), GST_OBJECT(player->m_sink)));
            g_clear_error(&error);
            break;
        }
        case GST_MESSAGE_STATE_CHANGED: {
            if (GST_MESSAGE_SRC(message) != GST_OBJECT(player->m_pipeline)) {
                return GST_BUS_DROP;
            }
            GstState now = GST_STATE_NULL;
            gst_message_parse_state_changed(message, nullptr, &now, nullptr);
            if (now != GST_STATE_PLAYING) {
                return GST_BUS_DROP;
            }
            event.kind = BusEvent::Started;
            break;
        }
        default:
            return GST_BUS_DROP;
        }
        QMetaObject::invokeMethod(
            player, [player, event] { player->Handle(event); }, Qt::QueuedConnection);
        return GST_BUS_DROP;
    }

    static void Release(gpointer data) { delete static_cast<std::shared_ptr<BusLink>*>(data); }
};

CMediaPlayer2::CMediaPlayer2(QObject* parent) : QObject(parent) {}

void CMediaPlayer2::Prepare()
{
    if (m_pipeline != nullptr || !InitGStreamer().empty()) {
        return;
    }
    // The sound server's own sink where there is one (Linux): its connection is made as the
    // pipeline gets READY, so a missing server shows at once, and every sentence's new stream
    // goes to the output that is the default at that moment.
    GstElement* sink = gst_element_factory_make("pulsesink", nullptr);
    if (sink == nullptr) {
        sink = gst_element_factory_make("autoaudiosink", nullptr);
    }
    // A chain of our own rather than playbin: playbin hands the volume to a sink that has one,
    // and the sound server's stream volume is remembered per program and, with flat volumes,
    // moves the whole device. The volume stays inside the program.
    GstElement* parts[] = {
        gst_element_factory_make("filesrc", nullptr),      gst_element_factory_make("decodebin", nullptr),
        gst_element_factory_make("audioconvert", nullptr), gst_element_factory_make("audioresample", nullptr),
        gst_element_factory_make("volume", nullptr),       sink,
    };
    GstElement* pipeline = gst_pipeline_new("lectoria-player");
    bool made = pipeline != nullptr;
    for (GstElement* part : parts) {
        made = made && part != nullptr;
    }
    if (!made) {
        for (GstElement* part : parts) {
            if (part != nullptr) {
                gst_object_unref(gst_object_ref_sink(part));
            }
        }
        if (pipeline != nullptr) {
            gst_object_unref(pipeline);
        }
        return;
    }
    gst_bin_add_many(GST_BIN(pipeline), parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], nullptr);
    if (!gst_element_link(parts[0], parts[1]) ||
        !gst_element_link_many(parts[2], parts[3], parts[4], parts[5], nullptr)) {
        gst_object_unref(pipeline);
        return;
    }
    // The decoder's output appears once it knows the file; it joins the chain then.
    g_signal_connect(parts[1], "pad-added", G_CALLBACK(+[](GstElement*, GstPad* pad, gpointer convert) {
                         GstPad* input = gst_element_get_static_pad(static_cast<GstElement*>(convert), "sink");
                         if (!gst_pad_is_linked(input)) {
                             gst_pad_link(pad, input);
                         }
                         gst_object_unref(input);
                     }),
                     parts[2]);
    TrimEncoderDelay(pipeline, parts[2]);
    m_pipeline = pipeline;
    m_source = parts[0];
    m_volumeElement = parts[4];
    m_sink = sink;
    g_object_set(m_volumeElement, "volume", static_cast<gdouble>(m_volume), nullptr);
    m_link = std::make_shared<BusLink>();
    m_link->player = this;
    GstBus* bus = gst_element_get_bus(m_pipeline);
    gst_bus_set_sync_handler(bus, &BusLink::OnMessage, new std::shared_ptr<BusLink>(m_link), &BusLink::Release);
    gst_object_unref(bus);
}

CMediaPlayer2::~CMediaPlayer2()
{
    if (m_pipeline == nullptr) {
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(m_link->mutex);
        m_link->player = nullptr;
    }
    Close();
    GstBus* bus = gst_element_get_bus(m_pipeline);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(m_pipeline);
}

void CMediaPlayer2::SetAutoStart(bool autoStart)
{
    m_autoStart = autoStart;
}

void CMediaPlayer2::SetPlayCount(int count)
{
    m_loops = count < 1 ? 1 : count;
}

bool CMediaPlayer2::Ready()
{
    if (gst_element_set_state(m_pipeline, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
        return true;
    }
    // Closed again, so that the next sentence connects anew: a server started later is used then.
    Close();
    return false;
}

void CMediaPlayer2::Close()
{
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
}

void CMediaPlayer2::Open(const std::string& path)
{
    const QString file = QString::fromStdString(path);
    Prepare();
    Stop();
    m_lastError.clear();
    if (m_pipeline == nullptr) {
        m_lastError = QStringLiteral("无法启动 GStreamer 播放组件");
        return;
    }
    // Without a sound server nothing can hear the sentence: the learner would watch the lesson
    // pass in silence.
    if (!Ready()) {
        m_lastError = QString::fromUtf8(kNoOutput);
        return;
    }
    const QFileInfo info(file);
    if (!info.isFile() || info.size() == 0) {
        // Nothing to decode: report it as a finished, failed reading right away.
        m_lastError = info.isFile() ? QStringLiteral("音频文件是空的") : QStringLiteral("文件不存在");
        return;
    }
    g_object_set(m_source, "location", path.c_str(), nullptr);
    m_busy = true;
    m_playedTimes = 0;
    const quint64 serial = m_streamSerial.load();
    if (gst_element_set_state(m_pipeline, m_autoStart ? GST_STATE_PLAYING : GST_STATE_PAUSED) ==
        GST_STATE_CHANGE_FAILURE) {
        // The bus's report of it comes later and finds the sentence already ended.
        Finish(QStringLiteral("播放出错"));
        Close();
        return;
    }
    QTimer::singleShot(kStartGraceMs, this, [this, serial] {
        if (serial == m_streamSerial.load() && m_busy && !m_started) {
            Finish(QStringLiteral("文件没有开始播放"));
        }
    });
}

void CMediaPlayer2::Handle(const BusEvent& event)
{
    if (event.serial != m_streamSerial.load() || !m_busy) {
        return; // from a sentence since replaced or stopped
    }
    switch (event.kind) {
    case BusEvent::Started:
        m_started = true;
        break;
    case BusEvent::Ended:
        if (++m_playedTimes < m_loops &&
            gst_element_seek_simple(m_pipeline, GST_FORMAT_TIME,
                                    static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), 0)) {
            break;
        }
        Finish(QString());
        break;
    case BusEvent::Failed:
        Finish(event.reason);
        // A failed output stays failed; the next sentence connects anew.
        Close();
        break;
    }
}

int CMediaPlayer2::PlayState() const
{
    return m_busy ? kPlaying : kStopped;
}

void CMediaPlayer2::Stop()
{
    m_busy = false;
    m_started = false;
    if (m_pipeline == nullptr) {
        return;
    }
    // READY ends the stream and closes the file, and the connection to the sound server stays
    // open for the next sentence. Reports still queued from the stream are told apart by the serial.
    GstState state = GST_STATE_NULL;
    GstState pending = GST_STATE_VOID_PENDING;
    gst_element_get_state(m_pipeline, &state, &pending, 0);
    if (state > GST_STATE_READY || pending > GST_STATE_READY) {
        gst_element_set_state(m_pipeline, GST_STATE_READY);
    }
    ++m_streamSerial;
}

std::string CMediaPlayer2::LastError() const
{
    return m_lastError.toStdString();
}

float CMediaPlayer2::volume() const
{
    return m_volume;
}

void CMediaPlayer2::setVolume(float volume)
{
    m_volume = volume;
    if (m_volumeElement != nullptr) {
        g_object_set(m_volumeElement, "volume", static_cast<gdouble>(volume), nullptr);
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
