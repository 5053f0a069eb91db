// End to end: the program reads the demo lesson aloud through the real player into the test
// sound server, and what the server plays is checked: two sentences, in order, with the chosen
// interval of silence between them.
#include "CParlivoDlg.h"

#include <filesystem>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "MainWindowTesting.h"
#include "QSettingsProfile.h"
#include "SinkMonitor.h"
#include "TempFolder.h"
#include "library/Library.h"
#include "reading/IMediaPlayer.h"

using namespace lectoria;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

constexpr int kRate = 8000;     // the monitor is recorded at a low rate: only loudness matters
constexpr int kWindowMs = 20;   // loudness is judged per 20 ms window
constexpr int kBitRate = 64000; // the demo library is encoded at 64 kbit/s

/// Stretches of sound and of silence in a recording, in milliseconds.
struct Segment
{
    bool sound;
    int startMs;
    int lengthMs;
};

std::vector<Segment> Segments(const import::PcmAudio& pcm)
{
    const std::size_t samplesPerWindow = kRate * kWindowMs / 1000;
    std::vector<Segment> segments;
    for (std::size_t at = 0; at + samplesPerWindow <= pcm.samples.size(); at += samplesPerWindow) {
        int peak = 0;
        for (std::size_t i = at; i < at + samplesPerWindow; ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(pcm.samples[i])));
        }
        const bool sound = peak > 300;
        const int startMs = static_cast<int>(at / samplesPerWindow) * kWindowMs;
        if (!segments.empty() && segments.back().sound == sound) {
            segments.back().lengthMs += kWindowMs;
        } else {
            segments.push_back({sound, startMs, kWindowMs});
        }
    }
    // Pauses inside a sentence (between words, after "Yes?") are far shorter than a second;
    // only the interval between sentences is as long as that.
    std::vector<Segment> merged;
    for (const Segment& segment : segments) {
        const bool pause = !segment.sound && segment.lengthMs < 1000 && !merged.empty();
        if (!merged.empty() && (pause || merged.back().sound == segment.sound)) {
            merged.back().lengthMs += segment.lengthMs;
            continue;
        }
        merged.push_back(segment);
    }
    return merged;
}

double ClipSeconds(const std::string& lesson, const std::string& title)
{
    return static_cast<double>(fs::file_size(library::SentenceAudioPath(lesson, false, title, ""))) * 8.0 / kBitRate;
}

TEST(ReadingAloud, TwoSentencesAreHeardInOrderWithTheIntervalBetweenThem)
{
    const QString sink = qEnvironmentVariable("LECTORIA_TEST_SINK");
    if (sink.isEmpty()) {
        GTEST_SKIP() << "no test sound server (scripts/test starts one and sets LECTORIA_TEST_SINK)";
    }
    TempFolder folder;
    const std::string root = LECTORIA_DEMO_ROOT;
    const std::string lesson = root + library::NativeRelativePath(library::kDefaultLesson);
    const std::vector<std::string> titles = library::FillLessonList(lesson);
    ASSERT_GE(titles.size(), 2u);
    folder.Write("profile.ini", "[kelvaro]\nnDuration=2\nnRepeatPlayNum=1\n");

    test::SinkMonitor recorder(sink, kRate);
    ASSERT_TRUE(recorder.started());

    std::unique_ptr<platform::QSettingsProfile> profile;
    {
        const auto window = test::OpenMainWindow(folder.path(), nullptr, profile, root);
        // The start-up restore selects the lesson and starts reading by itself.
        ASSERT_TRUE(QTest::qWaitFor([&window] { return window->readingLoop().isReading(); }, 5000));
        const double first = ClipSeconds(lesson, titles[0]);
        const double second = ClipSeconds(lesson, titles[1]);
        const int untilSecondEnds = static_cast<int>((first + 2.0 + second + 1.5) * 1000);
        ASSERT_TRUE(QTest::qWaitFor([&window] { return window->settings().nNowPlayNum == 2; }, untilSecondEnds));
        EXPECT_TRUE(window->statusLine()->text().contains(QStringLiteral("正第1次朗读第2句")));
        QTest::qWait(static_cast<int>(second * 1000) + 1000);
        window->close();
    }
    const std::vector<Segment> segments = Segments(recorder.Stop());

    std::vector<Segment> sounds;
    for (const Segment& segment : segments) {
        if (segment.sound) {
            sounds.push_back(segment);
        }
    }
    ASSERT_GE(sounds.size(), 2u) << "fewer than two sentences were heard";
    const double first = ClipSeconds(lesson, titles[0]);
    const double second = ClipSeconds(lesson, titles[1]);
    // Each heard stretch is about as long as its clip (the clips hold a little silence at the ends),
    // so the shorter first sentence comes before the longer second one.
    EXPECT_NEAR(sounds[0].lengthMs / 1000.0, first, 0.8);
    EXPECT_NEAR(sounds[1].lengthMs / 1000.0, second, 0.8);
    const int gapMs = sounds[1].startMs - (sounds[0].startMs + sounds[0].lengthMs);
    EXPECT_GE(gapMs, 1700) << "the interval of 2 s is missing";
    EXPECT_LE(gapMs, 3300) << "the interval of 2 s is far too long";
}

TEST(ReadingAloud, AStartDuringThePauseWaitKeepsTheFileForEveryReading)
{
    TempFolder folder;
    const std::string root = LECTORIA_DEMO_ROOT;
    folder.Write("profile.ini", "[kelvaro]\nnDuration=0\nnRepeatPlayNum=2\n");
    std::unique_ptr<platform::QSettingsProfile> profile;
    const auto window = test::OpenMainWindow(folder.path(), nullptr, profile, root);
    ASSERT_TRUE(QTest::qWaitFor([&window] { return window->readingLoop().isReading(); }, 5000));
    QTest::qWait(300);

    // F3, and F2 while the pause still waits before deleting the temporary audio.
    QTimer::singleShot(300, window.get(), [&window] { QTest::keyClick(window->sentenceList(), Qt::Key_F2); });
    QTest::keyClick(window->sentenceList(), Qt::Key_F3);
    ASSERT_TRUE(window->readingLoop().isReading());
    EXPECT_TRUE(fs::is_regular_file(window->audio().tempAudioPath())) << "the pause deleted the file being played";

    // The second reading of the sentence opens the same file again and plays it.
    ASSERT_TRUE(QTest::qWaitFor([&window] { return window->readingLoop().repeatRound() == 2; }, 15000));
    QTest::qWait(300);
    EXPECT_EQ(window->player().LastError(), "");
    EXPECT_EQ(window->readingLoop().problem(), "");
    EXPECT_NE(window->player().PlayState(), reading::IMediaPlayer::kStopped);
    EXPECT_EQ(window->settings().nNowPlayNum, 1);
    window->close();
}

} // namespace
