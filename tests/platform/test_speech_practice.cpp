// Speaking practice with real sound: slowed readings keep their pitch as the sound server hears
// them, and the shadowing recorder records what the default input hears, stops on silence and keeps
// its recordings.
#include <cmath>
#include <filesystem>

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "CMediaPlayer2.h"
#include "EspeakSpeech.h"
#include "GstAudioDecoder.h"
#include "LameMp3Encoder.h"
#include "RubberBandStretch.h"
#include "ShadowRecorder.h"
#include "SinkMonitor.h"
#include "SpokenFixture.h"
#include "StretchingRenderer.h"
#include "TempFolder.h"
#include "audio/SpeechAnalysis.h"
#include "library/SentenceAudio.h"

using namespace lectoria;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

constexpr int kRate = 22050;

lectoria::import::PcmAudio Sine(double hz, int ms, int leadMs = 0, int rate = kRate)
{
    import::PcmAudio audio;
    audio.sampleRate = rate;
    const auto silent = static_cast<std::size_t>(rate * leadMs / 1000);
    audio.samples.assign(silent, 0);
    const auto count = static_cast<std::size_t>(rate * ms / 1000);
    for (std::size_t i = 0; i < count; ++i) {
        audio.samples.push_back(static_cast<std::int16_t>(12000.0 * std::sin(2 * M_PI * hz * i / rate)));
    }
    audio.samples.insert(audio.samples.end(), silent, 0);
    return audio;
} // namespace

lectoria::import::PcmAudio Spoken(const std::string& text)
{
    return test::Spoken("en-us", text);
}

TEST(StretchSpeech, LengthFollowsTheSpeedAndThePitchStays)
{
    struct Fixture
    {
        const char* name;
        lectoria::import::PcmAudio audio;
    };
    const Fixture fixtures[] = {
        {"steady 220 Hz tone", Sine(220, 1500, 200)},
        {"spoken sentence", Spoken("Would you like a cup of tea before you go?")},
    };
    for (const Fixture& fixture : fixtures) {
        const double pitch = test::SpeechPitchHz(fixture.audio);
        ASSERT_GT(pitch, 60.0) << fixture.name;
        for (const double speed : {0.5, 0.7, 1.3, 1.5}) {
            SCOPED_TRACE(std::string(fixture.name) + " at " + std::to_string(speed));
            lectoria::import::PcmAudio stretched;
            ASSERT_TRUE(platform::StretchSpeech(fixture.audio, speed, stretched).ok());
            EXPECT_EQ(stretched.sampleRate, fixture.audio.sampleRate);
            const double ratio = static_cast<double>(stretched.samples.size()) / fixture.audio.samples.size();
            EXPECT_NEAR(ratio, 1.0 / speed, 0.05 / speed);
            EXPECT_NEAR(test::SpeechPitchHz(stretched), pitch, pitch * 0.03);
        }
    }
    lectoria::import::PcmAudio out;
    EXPECT_FALSE(platform::StretchSpeech(fixtures[0].audio, 0.2, out).ok());
}

class RealSound : public testing::Test
{
protected:
    void SetUp() override
    {
        m_sink = qEnvironmentVariable("LECTORIA_TEST_SINK");
        if (m_sink.isEmpty()) {
            GTEST_SKIP() << "no test sound server (scripts/test starts one and sets LECTORIA_TEST_SINK)";
        }
    }

    /// The test sound server's default input: a source fed by the test sink.
    void RequireInput()
    {
        if (qEnvironmentVariable("LECTORIA_TEST_SOURCE").isEmpty()) {
            GTEST_SKIP() << "no test input (scripts/test makes one from the sink and sets LECTORIA_TEST_SOURCE)";
        }
    }

    /// Plays a file through the real player into the sink and waits for its end.
    static void Play(const std::string& file)
    {
        platform::CMediaPlayer2 player;
        player.SetAutoStart(true);
        player.SetPlayCount(1);
        player.Open(file);
        ASSERT_TRUE(QTest::qWaitFor([&] { return player.PlayState() == reading::IMediaPlayer::kStopped; }, 20000));
        EXPECT_EQ(player.LastError(), "");
    }

    std::string WriteMp3(const import::PcmAudio& audio, const std::string& name)
    {
        std::string mp3;
        EXPECT_TRUE(
            platform::LameMp3Encoder().Encode(audio.samples.data(), audio.samples.size(), audio.sampleRate, mp3).ok());
        const fs::path file = m_folder.path() / name;
        std::ofstream(file, std::ios::binary) << mp3;
        return file.string();
    }

    QString m_sink;
    TempFolder m_folder;
};

TEST_F(RealSound, ASlowedSentenceIsHeardLongerAtTheSamePitch)
{
    // The reading loop's path: the decoded sentence, rendered at 0.7, played by the real player.
    const import::PcmAudio tone = Sine(220, 1200, 100);
    const std::string mp3 = WriteMp3(tone, "sentence.mp3");
    fs::create_directories(m_folder.path() / "temp");
    platform::StretchingRenderer renderer((m_folder.path() / "temp").string() + "/");
    const reading::RenderedAudio rendered = renderer.Render(mp3, 0.7);
    ASSERT_TRUE(rendered.ok()) << rendered.error;
    // The MP3 encoder's padding makes the decoded sentence a little longer than the tone.
    EXPECT_NEAR(static_cast<double>(rendered.durationMs), 1400.0, 100.0) << "the length reported is the sentence's own";

    test::SinkMonitor capture(m_sink, kRate);
    ASSERT_TRUE(capture.started());
    QTest::qWait(200);
    Play(rendered.path);
    QTest::qWait(300);
    const import::PcmAudio heard = capture.Stop();
    const std::int64_t heardMs = test::SoundExtentMs(heard, 1500).second - test::SoundExtentMs(heard, 1500).first;
    EXPECT_NEAR(static_cast<double>(heardMs), 1200 / 0.7, 1200 / 0.7 * 0.05);
    EXPECT_NEAR(test::SpeechPitchHz(heard), 220.0, 220.0 * 0.03);

    renderer.Release();
    EXPECT_FALSE(fs::exists(rendered.path)) << "a released sentence leaves no files behind";
}

TEST_F(RealSound, TheRecorderHoldsTheSpeechStopsOnSilenceAndKeepsItForReplay)
{
    // The default input hears the sink: what is played is what the learner "says".
    RequireInput();
    const import::PcmAudio said = Spoken("I would like a cup of tea, please.");
    const std::string saidFile = (m_folder.path() / "said.wav").string();
    test::WriteWav(saidFile, said);

    platform::ShadowRecorder recorder(practice::RecordingStore((m_folder.path() / "recordings").string()));
    QSignalSpy finished(&recorder, &platform::ShadowRecorder::finished);
    std::string why;
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.IsAvailable(&why); }, 3000)) << why;
    const std::string sentence = "/library/Book/Lesson 1/01 I would like a cup of tea, please..sau";
    constexpr std::int64_t kAllowedMs = 12000;
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(recorder.Start(sentence, kAllowedMs)) << recorder.LastError();
    EXPECT_TRUE(recorder.IsRecording());
    QTest::qWait(400);
    Play(saidFile);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.IsRecording(); }, 15000));
    const qint64 recordedFor = clock.elapsed();
    EXPECT_EQ(recorder.LastError(), "");
    ASSERT_EQ(finished.count(), 1);
    // A second of silence after the speech ends it, long before the time allowed.
    EXPECT_LT(recordedFor, kAllowedMs - 4000);

    const std::string kept = recorder.LastRecordingOf(sentence);
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(finished.at(0).at(0).toString().toStdString(), kept);
    EXPECT_EQ(fs::path(kept).extension(), ".mp3");
    EXPECT_EQ(kept.rfind((m_folder.path() / "recordings").string(), 0), 0u);
    lectoria::import::PcmAudio recording;
    ASSERT_TRUE(platform::GstAudioDecoder().Decode(kept, recording, nullptr).ok());
    EXPECT_NEAR(static_cast<double>(test::SpeechLengthMs(recording)), static_cast<double>(test::SpeechLengthMs(said)),
                test::SpeechLengthMs(said) * 0.15)
        << "the recording holds the whole sentence that was said";
    EXPECT_NEAR(test::SpeechPitchHz(recording), test::SpeechPitchHz(said), test::SpeechPitchHz(said) * 0.05);

    // Replaying the kept recording is heard again.
    test::SinkMonitor capture(m_sink, kRate);
    ASSERT_TRUE(capture.started());
    QTest::qWait(200);
    Play(kept);
    QTest::qWait(300);
    const import::PcmAudio replayed = capture.Stop();
    EXPECT_NEAR(static_cast<double>(test::SpeechLengthMs(replayed)), static_cast<double>(test::SpeechLengthMs(said)),
                test::SpeechLengthMs(said) * 0.15);
}

TEST_F(RealSound, WithOnlySilenceTheRecorderRunsItsFullTimeAndStopDropsARecording)
{
    RequireInput();
    platform::ShadowRecorder recorder(practice::RecordingStore((m_folder.path() / "recordings").string()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.IsAvailable(nullptr); }, 3000));
    const std::string sentence = "/library/Book/Lesson 1/02 Quiet..sau";
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(recorder.Start(sentence, 1500));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.IsRecording(); }, 8000));
    EXPECT_GE(clock.elapsed(), 1400);
    EXPECT_EQ(recorder.LastError(), "");
    EXPECT_FALSE(recorder.LastRecordingOf(sentence).empty()) << "a silent try is kept as it was";

    const std::string first = recorder.LastRecordingOf(sentence);
    ASSERT_TRUE(recorder.Start(sentence, 5000));
    QTest::qWait(300);
    recorder.Stop();
    EXPECT_FALSE(recorder.IsRecording());
    QTest::qWait(300);
    EXPECT_EQ(recorder.LastRecordingOf(sentence), first) << "a stopped recording is dropped";
}

} // namespace
