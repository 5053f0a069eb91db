#include "MediaBackend.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include <QByteArray>
#include <QtGlobal>

#include "GstSetup.h"

#if defined(__SANITIZE_ADDRESS__)
#define LECTORIA_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LECTORIA_LEAK_CHECK 1
#endif
#endif
#ifdef LECTORIA_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

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

void EndProcess(int code)
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
#ifdef LECTORIA_LEAK_CHECK
    __lsan_do_leak_check();
#endif
    std::_Exit(code);
}

} // namespace lectoria::platform
