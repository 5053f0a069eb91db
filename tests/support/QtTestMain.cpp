// Runs GoogleTest inside a Qt application, so widget, multimedia and socket tests have an event
// loop. Widget tests get a QApplication on the offscreen platform; the others only a
// QCoreApplication, so they need no window system and link no widget code.
#ifdef LECTORIA_TEST_WIDGETS
#include <QApplication>
#else
#include <QCoreApplication>
#endif

#include <QStandardPaths>

#include <gtest/gtest.h>

#include "BuiltInMediaModule.h"
#include "ProcessExit.h"

// The sound and window-system libraries keep a few allocations until the process ends; they
// are not ours to free.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libpulse\nleak:libgst\nleak:libglib\nleak:libgobject\nleak:libfontconfig\n"
           "leak:libQt6Multimedia\nleak:libasound\nleak:libdbus\nleak:liblink-grammar\n"
           // GStreamer's FFmpeg decoder, when installed, outranks the MP3 decoder of plugins-good.
           "leak:libavcodec\nleak:libavutil\nleak:libavformat\nleak:libswresample\nleak:libsrt\n";
}

int main(int argc, char* argv[])
{
    int code = 0;
    {
#ifdef LECTORIA_TEST_WIDGETS
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        QApplication app(argc, argv);
#else
        QCoreApplication app(argc, argv);
#endif
        // What the program keeps in the user's data folder (the parse cache) goes to Qt's test folders.
        QStandardPaths::setTestModeEnabled(true);
        lectoria::platform::UseMediaModule(lectoria::platform::BuiltInMediaModule());
        testing::InitGoogleTest(&argc, argv);
        code = RUN_ALL_TESTS();
    }
    // Ends the way the program does, past Qt Multimedia's exit-time disconnect from the sound server.
    lectoria::platform::EndProcess(code);
}
