#include "reading/ReadingLoop.h"

#include <fstream>
#include <functional>
#include <map>

#include <gtest/gtest.h>

#include "FakeMediaPlayer.h"
#include "TempFolder.h"
#include "library/Library.h"
#include "library/SentenceAudio.h"
#include "reading/IMediaPlayer.h"
#include "reading/PracticeInterfaces.h"
#include "settings/Settings.h"

using namespace lectoria;
using lectoria::test::TempFolder;

namespace {

/// Virtual time: the poll timer, the interval wait, a player whose clips last a fixed time and
/// user commands scheduled at given moments.
class VirtualTime : public reading::IReadingClock, public test::FakeMediaPlayer
{
public:
    VirtualTime() { autoStart = true; }

    // Clock.
    void StartPolling() override
    {
        m_polling = true;
        m_nextTick = now + 100;
    }
    void StopPolling() override { m_polling = false; }
    void WaitPumping(int ms) override
    {
        waits.push_back(ms);
        RunUntil(now + ms);
    }

    // Player.
    void Open(const std::string& path) override
    {
        FakeMediaPlayer::Open(path);
        openTimes.push_back(now);
        positions.push_back(loop->nowPlayNum());
        m_playingUntil = now + clipMs;
    }
    int PlayState() const override { return playing && now < m_playingUntil ? kPlaying : kStopped; }

    /// Runs user commands, poll ticks and waits until virtual time `end`.
    void RunUntil(long end)
    {
        while (now < end) {
            long next = end;
            if (m_polling) {
                next = std::min(next, m_nextTick);
            }
            if (!m_commands.empty()) {
                next = std::min(next, m_commands.begin()->first);
            }
            now = next;
            if (!m_commands.empty() && m_commands.begin()->first <= now) {
                const auto command = m_commands.begin()->second;
                m_commands.erase(m_commands.begin());
                command();
                continue;
            }
            if (m_polling && m_nextTick <= now) {
                m_nextTick = now + 100;
                loop->OnPollTick();
            }
        }
    }
    void At(long time, std::function<void()> command) { m_commands.emplace(time, std::move(command)); }

    reading::ReadingLoop* loop = nullptr;
    long now = 0;
    long clipMs = 1000;
    std::vector<long> openTimes;
    /// The playlist position of each opened reading.
    std::vector<int> positions;
    std::vector<int> waits;

private:
    bool m_polling = false;
    long m_nextTick = 0;
    long m_playingUntil = 0;
    std::multimap<long, std::function<void()>> m_commands;
};

/// The window's side: list items backed by real files, and a record of what was shown.
class ListView : public reading::IReadingView
{
public:
    std::string ItemText(int listIndex) const override { return items.at(static_cast<std::size_t>(listIndex)); }
    std::string AudioPath(int listIndex) const override { return (folder / (ItemText(listIndex) + ".sau")).string(); }
    void ShowPanes(int position) override { shown.push_back(position); }
    void ClearPanes() override { ++clears; }
    void UpdateStatusLine(const std::string& problem) override { lastProblem = problem; }

    std::filesystem::path folder;
    std::vector<std::string> items;
    std::vector<int> shown;
    int clears = 0;
    std::string lastProblem;
};

class ReadingLoopTest : public testing::Test
{
protected:
    ReadingLoopTest()
        : m_audio((m_folder.path() / "TemporaryQenReading").string() + "/"),
          m_loop(m_settings, m_time, m_audio, m_time, m_view)
    {
        m_audio.CreateTempDir();
        m_time.loop = &m_loop;
        m_view.folder = m_folder.path();
        for (const char* item : {"01 One two three.", "02 Four five six.", "03 Seven."}) {
            m_view.items.push_back(item);
            m_folder.Write(std::string(item) + ".sau", Scrambled(item));
        }
    }

    /// Sentence files hold their own title, so a decoded file shows which sentence it is.
    static std::string Scrambled(const std::string& text)
    {
        std::string bytes = text;
        for (char& c : bytes) {
            c = static_cast<char>(c ^ library::kAudioKey);
        }
        return bytes;
    }

    TempFolder m_folder;
    settings::Settings m_settings;
    VirtualTime m_time;
    ListView m_view;
    library::SentenceAudioDecoder m_audio;
    reading::ReadingLoop m_loop;
};

TEST_F(ReadingLoopTest, RepeatsEachSentenceWithTheIntervalAfterEveryReadingAndWraps)
{
    m_settings.nRepeatPlayNum = 3;
    m_settings.nDuration = 2;
    m_loop.UpdatePlaylist({0, 1});
    m_loop.StartReading();
    m_time.RunUntil(18500);
    // Clips of 1 s, each followed by 2 s: three readings of 1, three of 2, then 1 again.
    EXPECT_EQ(m_time.openTimes, (std::vector<long>{0, 3000, 6000, 9000, 12000, 15000, 18000}));
    EXPECT_EQ(m_view.shown, (std::vector<int>{1, 1, 2, 1}));
    EXPECT_TRUE(m_loop.isReading());
    EXPECT_EQ(m_loop.nowPlayNum(), 1);
}

TEST_F(ReadingLoopTest, StartWhileReadingOrWithNothingSelectedDoesNothing)
{
    m_loop.StartReading();
    EXPECT_FALSE(m_loop.isReading());
    EXPECT_TRUE(m_time.opened.empty());

    m_loop.UpdatePlaylist({0});
    m_loop.StartReading();
    m_time.RunUntil(500);
    m_loop.StartReading();
    EXPECT_EQ(m_time.opened.size(), 1u);
}

TEST_F(ReadingLoopTest, PreviousAndNextWrapAndWorkWhileIdle)
{
    m_loop.UpdatePlaylist({0, 1, 2});
    EXPECT_EQ(m_loop.nowPlayNum(), 1);
    m_loop.PreviousSentence();
    EXPECT_EQ(m_loop.nowPlayNum(), 3);
    m_loop.NextSentence();
    EXPECT_EQ(m_loop.nowPlayNum(), 1);
    EXPECT_TRUE(m_time.opened.empty()) << "idle moves only change the shown sentence";
    EXPECT_EQ(m_view.shown, (std::vector<int>{1, 3, 1}));

    m_loop.StartReading();
    m_loop.NextSentence();
    EXPECT_EQ(m_loop.nowPlayNum(), 2);
    EXPECT_EQ(m_time.opened.size(), 2u);
}

TEST_F(ReadingLoopTest, StopResetsPositionAndRoundPauseKeepsThem)
{
    m_settings.nRepeatPlayNum = 2;
    m_loop.UpdatePlaylist({0, 1, 2});
    m_loop.StartReading();
    m_loop.NextSentence();
    m_time.RunUntil(1500); // the first reading of sentence 2 is over: round 2 has begun
    ASSERT_EQ(m_loop.repeatRound(), 2);

    m_loop.PauseReading();
    EXPECT_FALSE(m_loop.isReading());
    EXPECT_EQ(m_loop.nowPlayNum(), 2);
    EXPECT_EQ(m_loop.repeatRound(), 2);
    EXPECT_EQ(m_time.waits.back(), 1000);
    const std::size_t opens = m_time.opened.size();
    m_loop.StartReading();
    EXPECT_EQ(m_time.opened.size(), opens + 1) << "the paused sentence starts again";

    m_loop.StopReading();
    EXPECT_FALSE(m_loop.isReading());
    EXPECT_EQ(m_loop.nowPlayNum(), 1);
    EXPECT_EQ(m_loop.repeatRound(), 1);
    EXPECT_EQ(m_time.waits.back(), 500);
    EXPECT_EQ(m_view.shown.back(), 1);
    EXPECT_EQ(m_time.opened.size(), opens + 1) << "stop shows sentence 1 but plays nothing";
}

TEST_F(ReadingLoopTest, FitWaitsByTheLengthOfTheShownText)
{
    m_settings.nDuration = settings::kFitInterval;
    m_view.items = {"01 abcdefghijklmnopqrstuvwxyz", "02 ab3cd4efgh", "03 abcd."};
    for (const std::string& item : m_view.items) {
        m_folder.Write(item + ".sau", "audio");
    }
    m_loop.UpdatePlaylist({0, 1, 2});
    m_loop.StartReading();
    m_time.RunUntil(10000);
    // 26 letters and the trailing blank: 27 / 13 = 2 s; 10 characters with 2 digits and the
    // blank: (11 + 16) / 13 = 2 s; 5 characters: at least 1 s.
    ASSERT_GE(m_time.waits.size(), 3u);
    EXPECT_EQ(std::vector<int>(m_time.waits.begin(), m_time.waits.begin() + 3), (std::vector<int>{2000, 2000, 1000}));
}

TEST_F(ReadingLoopTest, DeselectingAllStopsAfterTheCurrentReadingAndClearsThePanes)
{
    m_settings.nDuration = 1;
    m_loop.UpdatePlaylist({0, 1});
    m_loop.StartReading();
    m_time.At(500, [this] { m_loop.UpdatePlaylist({}); });
    m_time.RunUntil(5000);
    EXPECT_FALSE(m_loop.isReading());
    EXPECT_EQ(m_time.opened.size(), 1u);
    EXPECT_GE(m_view.clears, 1);
}

TEST_F(ReadingLoopTest, ANextDuringTheIntervalWaitIsNotFollowedByAnotherStep)
{
    m_settings.nDuration = 3;
    m_loop.UpdatePlaylist({0, 1, 2});
    m_loop.StartReading();
    m_time.At(2000, [this] { m_loop.NextSentence(); }); // during the wait after sentence 1
    m_time.RunUntil(6500);
    // Sentence 2 follows the command and sentence 3 follows sentence 2; the wait that the command
    // interrupted adds no step of its own.
    EXPECT_EQ(m_time.openTimes, (std::vector<long>{0, 2000, 6000}));
    EXPECT_EQ(m_loop.nowPlayNum(), 3);
}

TEST_F(ReadingLoopTest, AMissingSentenceIsShownReportedAndSkipped)
{
    m_settings.nRepeatPlayNum = 2;
    m_settings.nDuration = 1;
    std::filesystem::remove(m_folder.path() / "02 Four five six..sau");
    m_loop.UpdatePlaylist({0, 1, 2});
    m_loop.NextSentence();
    m_loop.StartReading();
    EXPECT_EQ(m_view.shown.back(), 2);
    EXPECT_FALSE(m_view.lastProblem.empty());
    m_time.RunUntil(1500);
    // Skipped after one interval, not repeated: sentence 3 plays at 1.1 s (first tick + 1 s).
    ASSERT_EQ(m_time.opened.size(), 1u);
    EXPECT_EQ(m_time.openTimes.front(), 1100);
    EXPECT_EQ(m_loop.nowPlayNum(), 3);
    EXPECT_TRUE(m_view.lastProblem.empty());
}

TEST_F(ReadingLoopTest, APlaylistWithNothingPlayableStopsWithAMessage)
{
    std::filesystem::remove(m_folder.path() / "01 One two three..sau");
    std::filesystem::remove(m_folder.path() / "03 Seven..sau");
    m_loop.UpdatePlaylist({0, 2});
    m_loop.NextSentence();
    const int startedAt = m_loop.nowPlayNum();
    m_loop.StartReading();
    m_time.RunUntil(10000);
    EXPECT_FALSE(m_loop.isReading());
    EXPECT_TRUE(m_time.opened.empty());
    // It stops where the silent round began, where the learner was.
    EXPECT_EQ(m_loop.nowPlayNum(), startedAt);
    EXPECT_EQ(m_view.shown.back(), startedAt);
    // It says why, too.
    EXPECT_EQ(m_view.lastProblem.rfind(reading::kNothingPlayable, 0), 0u) << m_view.lastProblem;
    EXPECT_GT(m_view.lastProblem.size(), std::string(reading::kNothingPlayable).size() + 1) << m_view.lastProblem;
}

TEST_F(ReadingLoopTest, AStartDuringThePauseOrStopWaitKeepsTheFileItPlays)
{
    struct Case
    {
        const char* name;
        bool stop;
        long restartAt; ///< 0: no new start during the wait
    };
    // The command comes at 400 ms; pause waits 1 s, stop 0.5 s before deleting.
    for (const Case& test : {Case{"pause, start", false, 700}, Case{"stop, start", true, 600},
                             Case{"pause alone", false, 0}, Case{"stop alone", true, 0}}) {
        SCOPED_TRACE(test.name);
        const std::filesystem::path tempDir = m_folder.path() / test.name;
        library::SentenceAudioDecoder audio(tempDir.string() + "/");
        ASSERT_TRUE(audio.CreateTempDir());
        VirtualTime time;
        settings::Settings settings;
        settings.nRepeatPlayNum = 3;
        settings.nDuration = 1;
        reading::ReadingLoop loop(settings, time, audio, time, m_view);
        time.loop = &loop;

        loop.UpdatePlaylist({0, 1, 2});
        loop.StartReading();
        time.At(400, [&] { test.stop ? loop.StopReading() : loop.PauseReading(); });
        if (test.restartAt != 0) {
            time.At(test.restartAt, [&] { loop.StartReading(); });
        }
        const long waitEnd = 400 + (test.stop ? 500 : 1000);
        std::string held;
        std::string heldBytes;
        int tempFiles = -1;
        time.At(waitEnd + 50, [&] {
            held = time.held;
            heldBytes = held.empty() ? std::string() : test::ReadBytes(held);
            tempFiles = 0;
            for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(tempDir)) {
                ++tempFiles;
            }
        });
        time.RunUntil(15000);

        if (test.restartAt == 0) {
            EXPECT_EQ(held, "") << "the player let go of its file before it was deleted";
            EXPECT_EQ(tempFiles, 0);
            continue;
        }
        // The new start's file outlives the wait, holding sentence 1, and all three readings of
        // sentence 1 are heard before sentence 2.
        ASSERT_FALSE(held.empty());
        EXPECT_EQ(heldBytes, "01 One two three.");
        const std::vector<int> sinceRestart(time.positions.begin() + 1, time.positions.begin() + 5);
        EXPECT_EQ(sinceRestart, (std::vector<int>{1, 1, 1, 2}));
        EXPECT_EQ(time.lastError, "");
        EXPECT_EQ(loop.problem(), "");
    }
}

TEST_F(ReadingLoopTest, AStartAfterPauseAndStopReadsTheFirstSentenceInFull)
{
    struct Case
    {
        const char* name;
        long pauseAt; ///< when the pause comes, in the middle of some reading
        int pausedPosition;
        int pausedRound;
    };
    // Repeat 3, clips of 1 s, interval 1 s: readings start at 0, 2 s, 4 s, 6 s ...
    for (const Case& test :
         {Case{"second reading of sentence 1", 2500, 1, 2}, Case{"first reading of sentence 2", 6500, 2, 1},
          Case{"third reading of sentence 2", 10500, 2, 3}}) {
        SCOPED_TRACE(test.name);
        VirtualTime time;
        settings::Settings settings;
        settings.nRepeatPlayNum = 3;
        settings.nDuration = 1;
        reading::ReadingLoop loop(settings, time, m_audio, time, m_view);
        time.loop = &loop;
        loop.UpdatePlaylist({0, 1, 2});
        loop.StartReading();
        time.At(test.pauseAt, [&] {
            loop.PauseReading();
            EXPECT_EQ(loop.nowPlayNum(), test.pausedPosition);
            EXPECT_EQ(loop.repeatRound(), test.pausedRound);
        });
        time.At(test.pauseAt + 2000, [&] { loop.StopReading(); });
        time.At(test.pauseAt + 3000, [&] {
            EXPECT_EQ(loop.nowPlayNum(), 1);
            EXPECT_EQ(loop.repeatRound(), 1);
            time.positions.clear();
            loop.StartReading();
        });
        time.RunUntil(test.pauseAt + 3000 + 7000);
        ASSERT_GE(time.positions.size(), 4u);
        EXPECT_EQ(std::vector<int>(time.positions.begin(), time.positions.begin() + 4), (std::vector<int>{1, 1, 1, 2}));
    }
}

/// Writes a file per asked speed, as the real renderer does, and says every sentence lasts 2 s.
class FakeRenderer : public reading::ISpeechRenderer
{
public:
    reading::RenderedAudio Render(const std::string& mp3Path, double speed) override
    {
        speeds.push_back(speed);
        reading::RenderedAudio rendered;
        rendered.durationMs = 2000;
        if (fail) {
            rendered.error = "无法改变语速";
            return rendered;
        }
        rendered.path = speed == 1.0 ? mp3Path : folder + "/speed-" + std::to_string(speed) + ".wav";
        std::ofstream(rendered.path, std::ios::app).put('x');
        return rendered;
    }
    void Release() override { ++releases; }

    std::string folder;
    std::vector<double> speeds;
    int releases = 0;
    bool fail = false;
};

/// A recorder whose learner speaks for `speakMs` of virtual time; the recording is a real file.
class FakeRecorder : public reading::IShadowRecorder
{
public:
    explicit FakeRecorder(VirtualTime& time) : m_time(time) {}

    bool IsAvailable(std::string* /*why*/) const override { return true; }
    bool Start(const std::string& audioPath, std::int64_t maxMs) override
    {
        starts.push_back({m_time.now, maxMs});
        if (failStart) {
            m_error = "录音设备无法打开";
            return false;
        }
        m_error.clear();
        m_audioPath = audioPath;
        m_until = m_time.now + std::min<long>(speakMs, static_cast<long>(maxMs));
        m_recording = true;
        return true;
    }
    bool IsRecording() const override
    {
        if (m_recording && m_time.now >= m_until) {
            m_recording = false;
            if (failDuring) {
                m_error = "录音设备出错";
            } else {
                std::ofstream(m_audioPath + ".rec.mp3").put('x');
                m_kept = m_audioPath + ".rec.mp3";
            }
        }
        return m_recording;
    }
    void Stop() override
    {
        ++stops;
        m_recording = false;
    }
    std::string LastError() const override { return m_error; }
    std::string LastRecordingOf(const std::string& /*audioPath*/) const override { return m_kept; }

    struct StartCall
    {
        long at;
        std::int64_t maxMs;
    };
    std::vector<StartCall> starts;
    long speakMs = 1500;
    bool failStart = false;
    bool failDuring = false;
    int stops = 0;

private:
    VirtualTime& m_time;
    mutable bool m_recording = false;
    mutable std::string m_error;
    mutable std::string m_kept;
    std::string m_audioPath;
    long m_until = 0;
};

class PracticeLoopTest : public ReadingLoopTest
{
protected:
    PracticeLoopTest() : m_recorder(m_time)
    {
        m_renderer.folder = m_folder.path().string();
        m_loop.SetPractice(&m_renderer, &m_recorder);
        m_settings.nDuration = 1;
    }

    FakeRenderer m_renderer;
    FakeRecorder m_recorder;
};

TEST_F(PracticeLoopTest, EachRepetitionReadsAtItsScheduledSpeedAndTheNextSentenceStartsSlowAgain)
{
    m_settings.strSpeedSchedule = "0.7, 0.85, 1.0";
    m_settings.nRepeatPlayNum = 4;
    m_loop.UpdatePlaylist({0, 1});
    m_loop.StartReading();
    std::vector<std::string> practice;
    for (long at : {500L, 2500L, 4500L, 6500L, 8500L}) {
        m_time.At(at, [&] { practice.push_back(m_loop.PracticeText()); });
    }
    m_time.RunUntil(10500);
    // Normal speed without shadowing plays the decoded sentence itself: nothing to render.
    EXPECT_EQ(m_renderer.speeds, (std::vector<double>{0.7, 0.85, 0.7, 0.85}));
    ASSERT_EQ(m_time.opened.size(), 6u);
    EXPECT_NE(m_time.opened[0].find("speed-0.7"), std::string::npos);
    EXPECT_NE(m_time.opened[1].find("speed-0.85"), std::string::npos);
    EXPECT_EQ(m_time.opened[2].find("speed-"), std::string::npos);
    EXPECT_NE(m_time.opened[2].find("vantorelMp3temp"), std::string::npos);
    EXPECT_EQ(m_time.opened[3], m_time.opened[2]);
    EXPECT_EQ(m_time.positions, (std::vector<int>{1, 1, 1, 1, 2, 2}));
    EXPECT_EQ(practice, (std::vector<std::string>{"语速0.7×(0.7, 0.85, 1.0)", "语速0.85×(0.7, 0.85, 1.0)",
                                                  "语速1.0×(0.7, 0.85, 1.0)", "语速1.0×(0.7, 0.85, 1.0)",
                                                  "语速0.7×(0.7, 0.85, 1.0)"}));
}

TEST_F(PracticeLoopTest, FitIntervalFollowsTheSlowedReading)
{
    m_settings.nDuration = settings::kFitInterval;
    m_loop.UpdatePlaylist({0});
    const int normal = m_loop.IntervalMs();
    m_settings.strSpeedSchedule = "0.5";
    m_loop.StartReading();
    m_time.RunUntil(1500);
    ASSERT_FALSE(m_time.waits.empty());
    EXPECT_EQ(m_time.waits.front(), normal * 2);
}

TEST_F(PracticeLoopTest, ShadowingRecordsAfterTheReadingPlaysItBackThenWaitsTheInterval)
{
    m_settings.isShadowing = true;
    m_settings.isPlayBackRecording = true;
    m_settings.strSpeedSchedule = "0.5";
    m_loop.UpdatePlaylist({0, 1});
    m_loop.StartReading();
    std::string whileRecording;
    m_time.At(1500, [&] { whileRecording = m_loop.PracticeText(); });
    m_time.RunUntil(6000);
    // The reading (1 s), the recording (1.5 s, by the learner's silence), its playback (1 s), then
    // the interval (1 s): the next sentence starts at 4.5 s plus the ticks that notice each end.
    ASSERT_GE(m_recorder.starts.size(), 1u);
    EXPECT_EQ(m_recorder.starts[0].at, 1000);
    // A 2 s sentence read at half speed lasts 4 s: the learner gets 1.5 times that and a second.
    EXPECT_EQ(m_recorder.starts[0].maxMs, 4000 * 3 / 2 + 1000);
    ASSERT_GE(m_time.opened.size(), 3u);
    EXPECT_NE(m_time.opened[1].find(".rec.mp3"), std::string::npos) << "the recording is played back";
    EXPECT_EQ(m_time.openTimes[1], 2500);
    EXPECT_EQ(m_time.openTimes[2], 2500 + 1000 + 1000);
    EXPECT_EQ(m_time.positions[2], 2);
    EXPECT_EQ(whileRecording, "语速0.5× 请跟读, 正在录音…");
    EXPECT_TRUE(m_loop.isReading());
}

TEST_F(PracticeLoopTest, WithoutPlaybackTheIntervalFollowsTheRecording)
{
    m_settings.isShadowing = true;
    m_settings.isPlayBackRecording = false;
    m_loop.UpdatePlaylist({0, 1});
    m_loop.StartReading();
    m_time.RunUntil(4500);
    ASSERT_GE(m_time.opened.size(), 2u);
    EXPECT_EQ(m_time.openTimes[1], 1000 + 1500 + 1000);
    EXPECT_EQ(m_time.positions[1], 2);
    EXPECT_EQ(m_renderer.speeds.front(), 1.0) << "shadowing at normal speed still needs the sentence's length";
}

TEST_F(PracticeLoopTest, AFailingDeviceStopsShadowingButNeverReading)
{
    struct Case
    {
        const char* name;
        bool failStart;
        bool failDuring;
    };
    for (const Case& test : {Case{"cannot start", true, false}, Case{"fails while recording", false, true}}) {
        SCOPED_TRACE(test.name);
        VirtualTime time;
        settings::Settings settings;
        settings.nDuration = 1;
        settings.isShadowing = true;
        std::string failure;
        struct FailureView : ListView
        {
            std::string* failure = nullptr;
            void ShadowingFailed(const std::string& why) override { *failure = why; }
        } failing;
        static_cast<ListView&>(failing) = m_view;
        failing.failure = &failure;
        reading::ReadingLoop loop(settings, time, m_audio, time, failing);
        FakeRecorder recorder(time);
        recorder.failStart = test.failStart;
        recorder.failDuring = test.failDuring;
        loop.SetPractice(&m_renderer, &recorder);
        time.loop = &loop;
        loop.UpdatePlaylist({0, 1});
        loop.StartReading();
        time.RunUntil(9000);
        EXPECT_FALSE(failure.empty());
        EXPECT_FALSE(settings.isShadowing);
        EXPECT_EQ(recorder.starts.size(), 1u) << "no second attempt on a broken device";
        EXPECT_TRUE(loop.isReading());
        EXPECT_GE(time.positions.size(), 3u);
        for (const std::string& opened : time.opened) {
            EXPECT_EQ(opened.find(".rec.mp3"), std::string::npos);
        }
    }
}

TEST_F(PracticeLoopTest, PausingWhileRecordingDropsTheRecordingAndNothingIsPlayedBack)
{
    m_settings.isShadowing = true;
    m_loop.UpdatePlaylist({0});
    m_loop.StartReading();
    m_time.At(1700, [&] {
        ASSERT_TRUE(m_loop.isRecording());
        m_loop.PauseReading();
    });
    m_time.RunUntil(8000);
    EXPECT_EQ(m_recorder.stops, 1);
    EXPECT_FALSE(m_loop.isRecording());
    EXPECT_EQ(m_time.opened.size(), 1u);
}

TEST_F(PracticeLoopTest, ASentenceThatCannotBeRenderedIsReportedAndSkipped)
{
    m_renderer.fail = true;
    m_settings.strSpeedSchedule = "0.8";
    m_loop.UpdatePlaylist({0, 1});
    m_loop.StartReading();
    EXPECT_EQ(m_loop.problem(), "无法改变语速");
    m_time.RunUntil(3000);
    // Nothing of the playlist can be heard at this speed: reading ends instead of cycling silently.
    EXPECT_FALSE(m_loop.isReading());
}

} // namespace
