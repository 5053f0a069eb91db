#include "MediaBackend.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>
#include <QtGlobal>

extern "C" {
#include <libavutil/log.h>
}

namespace lectoria::platform {

void ChooseMediaBackend()
{
    // FFmpeg's back end starts in about a third of GStreamer's time, which is most of the wait
    // for the first sentence; both play every sentence and report a damaged file the same way.
    // QT_MEDIA_BACKEND=gstreamer still chooses GStreamer.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) {
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    }
    // Qt's plug-in logs through FFmpeg's default handler, which prints a line such as "Estimating
    // duration from bitrate" for every sentence; errors still show.
    av_log_set_level(AV_LOG_ERROR);
    // Qt 6.4's FFmpeg plug-in prints a bare debug line (">>>> listing codecs") when it starts.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

} // namespace lectoria::platform
