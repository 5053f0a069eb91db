#include "MediaBackend.h"

#include <QByteArray>
#include <QtGlobal>

#include "GstSetup.h"

namespace lectoria::platform {

namespace {

bool UsesGStreamer()
{
    const QByteArray backend = qgetenv("QT_MEDIA_BACKEND");
    return backend.isEmpty() || backend == "gstreamer";
}

} // namespace

void PrepareMediaBackend()
{
    if (UsesGStreamer()) {
        InitGStreamer(); // a failure shows when the player tries to play
    }
}

} // namespace lectoria::platform
