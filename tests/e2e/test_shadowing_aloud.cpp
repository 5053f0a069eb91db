// End to end: a learner shadows a slowed sentence in the window, with the real player, the real
// time-stretcher and the real recorder on the test sound server. The sink must hear the model at
// 0.7 times its pace, then the learner, then the learner's recording played back.
#include "CParlivoDlg.h"

#include <filesystem>

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "CMediaPlayer2.h"
#include "EspeakSpeech.h"
#include "LameMp3Encoder.h"
#include "MainWindowTesting.h"
#include "QSettingsProfile.h"
#include "SinkMonitor.h"
#include "ShadowRecorder.h"
#include "SpeakingPractice.h"
#include "SpokenFixture.h"
#include "TempFolder.h"
#include "WindowCommands.h"
#include "audio/SpeechAnalysis.h"
#include "library/Library.h"
#include "library/SentenceAudio.h"

using namespace lectoria;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

constexpr int kRate = 22050;

/// The stretches of a recording where something sounds, with pauses shorter than `joinMs` inside.
std::vector<std::pair<std::int64_t, std::int64_t>> SoundRuns(const import::PcmAudio& audio, int joinMs)
{
    constexpr int kHopMs = 10;
    const std::vector<float> loudness = audio::LoudnessEnvelope(audio, kHopMs);
    std::vector<std::pair<std::int64_t, std::int64_t>> runs;
    for (std::size_t hop = 0; hop < loudness.size(); ++hop) {
        if (loudness[hop] < -45.0F) {
            continue;
        }
        const auto at = static_cast<std::int64_t>(hop) * kHopMs;
        if (!runs.empty() && at - runs.back().second <= joinMs) {
            runs.back().second = at + kHopMs;
        } else {
            runs.emplace_back(at, at + kHopMs);
        }
    }
    return runs;
}

lectoria::import::PcmAudio Slice(const import::PcmAudio& audio, std::int64_t fromMs, std::int64_t toMs)
{
    import::PcmAudio part;
    part.sampleRate = audio.sampleRate;
    part.samples.assign(audio.samples.begin() + static_cast<std::ptrdiff_t>(audio.IndexOf(fromMs)),
                        audio.samples.begin() + static_cast<std::ptrdiff_t>(audio.IndexOf(toMs)));
    return part;
}

TEST(ShadowingAloud, TheSlowedModelThenTheLearnerThenTheirRecordingAreHeard)
{
    const QString sink = qEnvironmentVariable("LECTORIA_TEST_SINK");
    if (sink.isEmpty() || qEnvironmentVariable("LECTORIA_TEST_SOURCE").isEmpty()) {
        GTEST_SKIP() << "no test sound server with a microphone (scripts/test starts one)";
    }
    TempFolder folder;
    const import::PcmAudio model = test::Spoken("en-us", "Good morning, everybody.");
    const import::PcmAudio learner = test::Spoken("en-us+f3", "Good morning, everybody.");
    std::string mp3;
    ASSERT_TRUE(
        platform::LameMp3Encoder().Encode(model.samples.data(), model.samples.size(), model.sampleRate, mp3).ok());
    const fs::path lesson = folder.path() / "library" / library::NativeRelativePath(library::kDefaultLesson);
    fs::create_directories(lesson);
    ASSERT_TRUE(library::WriteScrambledFile(mp3, (lesson / "01 Good morning, everybody..sau").string()).ok());
    const std::string learnerFile = (folder.path() / "learner.wav").string();
    test::WriteWav(learnerFile, learner);

    platform::ShadowRecorder recorder(practice::RecordingStore((folder.path() / "recordings").string()));
    std::unique_ptr<platform::QSettingsProfile> profile;
    auto window = test::OpenMainWindow(folder.path(), nullptr, profile, (folder.path() / "library").string() + "/",
                                       QSize(900, 600), &recorder);
    window->RestoreLastState();
    QTest::keyClick(window->sentenceList(), Qt::Key_F4);
    ASSERT_TRUE(window->practice().ApplySpeedText(QStringLiteral("0.7")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->shadowButton()->isEnabled(); }, 5000));
    QTest::keyClick(window->sentenceList(), Qt::Key_F10);
    ASSERT_TRUE(window->settings().isShadowing);
    ASSERT_TRUE(window->settings().isPlayBackRecording);

    test::SinkMonitor capture(sink, kRate);
    ASSERT_TRUE(capture.started());
    QTest::qWait(300);
    window->sentenceList()->selectAll();
    QTest::keyClick(window->sentenceList(), Qt::Key_F2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->readingLoop().isRecording(); }, 15000));
    // The learner answers a moment after the reading, as people do.
    QTest::qWait(700);
    platform::CMediaPlayer2 mouth;
    mouth.SetAutoStart(true);
    mouth.SetPlayCount(1);
    mouth.Open(learnerFile);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->readingLoop().isPlayingBack(); }, 20000))
        << "the recording ends on the learner's silence and is played back";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->readingLoop().isPlayingBack(); }, 15000));
    QTest::qWait(300);
    QTest::keyClick(window->sentenceList(), Qt::Key_F4);
    const lectoria::import::PcmAudio heard = capture.Stop();

    const std::vector<std::string> kept =
        recorder.store().RecordingsOf((lesson / "01 Good morning, everybody..sau").string());
    ASSERT_EQ(kept.size(), 1u);

    const auto runs = SoundRuns(heard, 450);
    ASSERT_GE(runs.size(), 3u) << "model, learner and playback";
    const import::PcmAudio slowed = Slice(heard, runs[0].first, runs[0].second);
    const import::PcmAudio live = Slice(heard, runs[1].first, runs[1].second);
    const import::PcmAudio replayed = Slice(heard, runs[2].first, runs[2].second);
    EXPECT_NEAR(static_cast<double>(test::SpeechLengthMs(slowed)), test::SpeechLengthMs(model) / 0.7,
                test::SpeechLengthMs(model) / 0.7 * 0.1);
    EXPECT_NEAR(test::SpeechPitchHz(slowed), test::SpeechPitchHz(model), test::SpeechPitchHz(model) * 0.05)
        << "slowed, not lowered";
    EXPECT_NEAR(static_cast<double>(test::SpeechLengthMs(replayed)), static_cast<double>(test::SpeechLengthMs(live)),
                test::SpeechLengthMs(live) * 0.15);
    EXPECT_NEAR(test::SpeechPitchHz(replayed), test::SpeechPitchHz(learner), test::SpeechPitchHz(learner) * 0.05)
        << "the learner's own voice comes back";
    EXPECT_GT(std::abs(test::SpeechPitchHz(learner) - test::SpeechPitchHz(model)), test::SpeechPitchHz(model) * 0.2)
        << "the two voices are told apart";
    // The playback waits for the learner's second of silence, no longer than the time allowed.
    EXPECT_GE(runs[2].first - runs[1].second, 900);
}

} // namespace
