// A machine without a sound server: the player says so for every sentence, instead of letting the
// reading loop pass through the lesson in silence as if it had been read; and a server started
// later is used from the next sentence on.
#include "CMediaPlayer2.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <QtGlobal>

#include <gtest/gtest.h>

#include "SinkMonitor.h"
#include "TempFolder.h"
#include "library/Library.h"
#include "library/SentenceAudio.h"

using namespace lectoria;
using lectoria::test::TempFolder;

namespace {

// The address has to point where no server is yet before anything of the sound stack reads it.
// The folder is the test's own.
const std::string kServerFolder = [] {
    char pattern[] = "/tmp/lectoria-later-server-XXXXXX";
    const char* made = mkdtemp(pattern);
    return std::string(made != nullptr ? made : "/nonexistent");
}();
const bool kNoSoundServer = qputenv("PULSE_SERVER", QByteArray::fromStdString("unix:" + kServerFolder + "/native"));

/// A PulseAudio server with one null sink at the address above, for as long as it lives.
class LaterServer
{
public:
    LaterServer()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(kServerFolder));
        m_server.setProcessEnvironment(environment);
        m_server.start(QStringLiteral("pulseaudio"),
                       {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                        QStringLiteral("--use-pid-file=no"), QStringLiteral("--log-level=error"),
                        QStringLiteral("--load=module-native-protocol-unix socket=") +
                            QString::fromStdString(kServerFolder) + QStringLiteral("/native"),
                        QStringLiteral("--load=module-null-sink sink_name=later_null")});
    }
    ~LaterServer()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
        std::filesystem::remove_all(kServerFolder);
    }

    bool Answers()
    {
        return QTest::qWaitFor(
            [] {
                QProcess info;
                info.start(QStringLiteral("pactl"), {QStringLiteral("info")});
                return info.waitForFinished(2000) && info.exitCode() == 0;
            },
            15000);
    }

private:
    QProcess m_server;
};

TEST(PlayerWithoutSound, EverySentenceEndsAtOnceSayingSoUntilAServerIsStarted)
{
    ASSERT_TRUE(kNoSoundServer);
    TempFolder folder;
    library::SentenceAudioDecoder decoder((folder.path() / "TemporaryQenReading").string() + "/");
    ASSERT_TRUE(decoder.CreateTempDir());
    const std::string lesson = std::string(LECTORIA_DEMO_ROOT) + library::NativeRelativePath(library::kDefaultLesson);
    const std::vector<std::string> titles = library::FillLessonList(lesson);
    ASSERT_GE(titles.size(), 3u);
    std::vector<std::string> files;
    for (std::size_t i = 0; i < 3; ++i) {
        // The decoder alternates between two temporary files; each sentence gets a copy of its own.
        const library::AudioResult decoded =
            decoder.DecodeSentenceAudio(library::SentenceAudioPath(lesson, false, titles[i], ""));
        ASSERT_TRUE(decoded.ok()) << decoded.detail;
        files.push_back((folder.path() / ("sentence" + std::to_string(i) + ".mp3")).string());
        std::filesystem::copy_file(decoded.path, files.back());
    }
    platform::CMediaPlayer2 player;
    player.SetAutoStart(true);
    for (std::size_t i = 0; i < 2; ++i) {
        player.Open(files[i]);
        EXPECT_EQ(player.PlayState(), reading::IMediaPlayer::kStopped) << titles[i];
        EXPECT_EQ(player.LastError(), "没有可用的声音输出设备") << titles[i];
    }

    LaterServer server;
    ASSERT_TRUE(server.Answers());
    test::SinkMonitor heard(QStringLiteral("later_null"), 22050);
    ASSERT_TRUE(heard.started());
    player.Open(files[2]);
    EXPECT_NE(player.PlayState(), reading::IMediaPlayer::kStopped) << player.LastError();
    EXPECT_TRUE(QTest::qWaitFor([&player] { return player.PlayState() == reading::IMediaPlayer::kStopped; }, 15000));
    EXPECT_EQ(player.LastError(), "");
    QTest::qWait(300);
    EXPECT_GT(test::SinkMonitor::Peak(heard.Stop()), 1000) << "the server started later heard only silence";
}

} // namespace
