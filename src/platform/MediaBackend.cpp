#include "MediaBackend.h"

#include <future>

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>
#include <QtGlobal>

#include <gst/gst.h>

extern "C" {
#include <libavutil/log.h>
}

#include "GstSetup.h"

namespace lectoria::platform {

namespace {

std::future<void>& WarmUp()
{
    static std::future<void> warmUp;
    return warmUp;
}

// What playing the first MP3 sentence through pulsesink loads; loading is what takes the time.
constexpr const char* kFirstSentencePlugins[] = {
    "coreelements",  "playback", "typefindfunctions", "audioparsers", "mpg123", "audioconvert",
    "audioresample", "volume",   "autodetect",        "pulseaudio",
};

bool UsesGStreamer()
{
    const QByteArray backend = qgetenv("QT_MEDIA_BACKEND");
    return backend.isEmpty() || backend == "gstreamer";
}

void WarmUpGStreamer()
{
    if (!InitGStreamer().empty()) {
        return; // the player reports it when it tries to play
    }
    for (const char* name : kFirstSentencePlugins) {
        if (GstPlugin* plugin = gst_plugin_load_by_name(name)) {
            gst_object_unref(plugin);
        }
    }
}

} // namespace

void QuietMediaBackend()
{
    if (qgetenv("QT_MEDIA_BACKEND") != "ffmpeg") {
        return;
    }
    // Qt's FFmpeg plug-in logs through FFmpeg's default handler, which prints a line such as
    // "Estimating duration from bitrate" for every sentence, and a bare debug line when it
    // starts; errors still show.
    av_log_set_level(AV_LOG_ERROR);
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

void StartMediaWarmUp()
{
    if (UsesGStreamer()) {
        WarmUp() = std::async(std::launch::async, WarmUpGStreamer);
    }
}

void AwaitMediaWarmUp()
{
    if (WarmUp().valid()) {
        WarmUp().get();
    } else if (UsesGStreamer()) {
        InitGStreamer(); // a player made without the warm-up still gets the same decoders
    }
}

} // namespace lectoria::platform
