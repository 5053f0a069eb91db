#include "CMediaPlayer2.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include "GLibLogWatch.h"
#include "SinkMonitor.h"
#include "TempFolder.h"
#include "library/Library.h"
#include "library/SentenceAudio.h"

using namespace lectoria;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

constexpr int kBitRate = 64000; // the demo library is encoded at 64 kbit/s

std::string DemoSentence()
{
    const std::string lesson = std::string(LECTORIA_DEMO_ROOT) + library::NativeRelativePath(library::kDefaultLesson);
    const std::vector<std::string> titles = library::FillLessonList(lesson);
    return titles.empty() ? std::string() : library::SentenceAudioPath(lesson, false, titles.front(), "");
}

/// Whether a shared library whose file name starts with `stem` is mapped into this process.
bool ProcessHasLoaded(const std::string& stem)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        if (line.find("/" + stem) != std::string::npos) {
            return true;
        }
    }
    return false;
}

bool WaitUntilStopped(const platform::CMediaPlayer2& player, int timeoutMs)
{
    return QTest::qWaitFor([&player] { return player.PlayState() == reading::IMediaPlayer::kStopped; }, timeoutMs);
}

/// The demo's first sentence decoded for the player, and the test sound server's sink to hear it on.
class PlayerOnTheTestSink : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sink = qEnvironmentVariable("LECTORIA_TEST_SINK");
        if (sink.isEmpty()) {
            GTEST_SKIP() << "no test sound server (scripts/test starts one and sets LECTORIA_TEST_SINK)";
        }
        ASSERT_TRUE(m_decoder.CreateTempDir());
        const std::string source = DemoSentence();
        ASSERT_FALSE(source.empty());
        const library::AudioResult decoded = m_decoder.DecodeSentenceAudio(source);
        ASSERT_TRUE(decoded.ok()) << decoded.detail;
        path = decoded.path;
        clipSeconds = static_cast<double>(fs::file_size(path)) * 8.0 / kBitRate;
    }

    QString sink;
    std::string path;
    double clipSeconds = 0;

private:
    TempFolder m_folder;
    library::SentenceAudioDecoder m_decoder{(m_folder.path() / "TemporaryQenReading").string() + "/"};
};

TEST_F(PlayerOnTheTestSink, PlaysADecodedSentenceIntoTheSoundServer)
{
    // Loading FFmpeg's codecs (and all they pull in) would delay the first sentence for nothing.
    ASSERT_FALSE(ProcessHasLoaded("libavcodec.so"));
    // The demo's sentences record their encoder delay, as the importer writes them: the whole
    // first frame of such a file is delay, which GStreamer's mpg123 decoder complains about.
    const test::GLibLogWatch log;
    test::SinkMonitor recorder(sink, 44100);
    ASSERT_TRUE(recorder.started());
    platform::CMediaPlayer2 player;
    player.SetAutoStart(true);
    player.SetPlayCount(1);
    QElapsedTimer clock;
    clock.start();
    player.Open(path);
    EXPECT_NE(player.PlayState(), reading::IMediaPlayer::kStopped);
    ASSERT_TRUE(WaitUntilStopped(player, 15000));
    const double playedSeconds = static_cast<double>(clock.elapsed()) / 1000.0;
    EXPECT_GE(playedSeconds, clipSeconds * 0.6) << "clip of " << clipSeconds << " s";
    EXPECT_LE(playedSeconds, clipSeconds + 5.0) << "clip of " << clipSeconds << " s";
    EXPECT_EQ(player.LastError(), "");
    QTest::qWait(300);
    EXPECT_GT(test::SinkMonitor::Peak(recorder.Stop()), 1000) << "the sink heard only silence";
    EXPECT_FALSE(ProcessHasLoaded("libavcodec.so")) << "the MP3 was decoded by FFmpeg, not mpg123";
    EXPECT_EQ(log.Text(), "");

    // The same file again plays again from the start, and Stop ends it at once.
    player.Open(path);
    EXPECT_NE(player.PlayState(), reading::IMediaPlayer::kStopped);
    QTest::qWait(200);
    player.Stop();
    EXPECT_EQ(player.PlayState(), reading::IMediaPlayer::kStopped);
}

TEST_F(PlayerOnTheTestSink, PlaysAsOftenAsAskedAtTheVolumeSet)
{
    platform::CMediaPlayer2 player;
    player.SetAutoStart(true);
    struct Case
    {
        int count;
        float volume;
    };
    std::vector<int> peaks;
    for (const Case& c : {Case{1, 1.0F}, Case{2, 0.25F}}) {
        player.SetPlayCount(c.count);
        player.setVolume(c.volume);
        test::SinkMonitor recorder(sink, 44100);
        ASSERT_TRUE(recorder.started());
        QElapsedTimer clock;
        clock.start();
        player.Open(path);
        ASSERT_TRUE(WaitUntilStopped(player, 20000)) << c.count;
        const double playedSeconds = static_cast<double>(clock.elapsed()) / 1000.0;
        EXPECT_GE(playedSeconds, clipSeconds * 0.8 * c.count) << c.count << " times a clip of " << clipSeconds << " s";
        EXPECT_EQ(player.LastError(), "");
        QTest::qWait(300);
        peaks.push_back(test::SinkMonitor::Peak(recorder.Stop()));
    }
    // The volume is the program's own: a quarter of it is about a quarter as loud.
    ASSERT_GT(peaks[0], 1000);
    EXPECT_LT(peaks[1], peaks[0] * 0.4);
    EXPECT_GT(peaks[1], peaks[0] * 0.1);
}

TEST_F(PlayerOnTheTestSink, PlaysAFileWhoseNameHoldsAnything)
{
    // Sentence files are named after their sentences: spaces, Chinese, the "^" of a question, and
    // characters that mean something to a shell or in a URL, up to the length a file system allows.
    std::string name = "05 你好 it's 50% #1 & ?a=b [x] ^ ";
    while (name.size() < 240) {
        name += "long ";
    }
    const fs::path odd = fs::path(path).parent_path() / (name + ".mp3");
    fs::copy_file(path, odd);
    test::SinkMonitor recorder(sink, 44100);
    ASSERT_TRUE(recorder.started());
    platform::CMediaPlayer2 player;
    player.SetAutoStart(true);
    player.Open(odd.string());
    ASSERT_TRUE(WaitUntilStopped(player, 15000));
    EXPECT_EQ(player.LastError(), "");
    QTest::qWait(300);
    EXPECT_GT(test::SinkMonitor::Peak(recorder.Stop()), 1000) << "the sink heard only silence";
}

TEST(CMediaPlayer2, UnplayableFilesFinishPromptlyWithAReason)
{
    TempFolder folder;
    std::string noise;
    for (int i = 0; i < 20000; ++i) {
        noise += static_cast<char>((i * 7919 + 13) % 251);
    }
    // The learner reads the reason in the status line.
    const std::vector<std::pair<fs::path, std::string>> cases = {
        {folder.Write("empty.mp3", ""), "音频文件是空的"},
        {folder.Write("corrupt.mp3", noise), "无法识别的音频"},
        {folder.path() / "missing.mp3", "文件不存在"},
    };
    platform::CMediaPlayer2 player;
    player.SetAutoStart(true);
    for (const auto& [file, reason] : cases) {
        player.Open(file.string());
        EXPECT_TRUE(WaitUntilStopped(player, 1000)) << file;
        EXPECT_EQ(player.LastError(), reason) << file;
    }
}

} // namespace
