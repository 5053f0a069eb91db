#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lectoria::library {
class SentenceAudioDecoder;
}

namespace lectoria::settings {
struct Settings;
}

namespace lectoria::reading {

class IMediaPlayer;
class IShadowRecorder;
class ISpeechRenderer;

/// Timer 2 and the interval wait; the window uses Qt timers and a nested event loop, tests
/// use virtual time.
class IReadingClock
{
public:
    virtual ~IReadingClock() = default;
    /// Starts the 100 ms poll that calls ReadingLoop::OnPollTick.
    virtual void StartPolling() = 0;
    virtual void StopPolling() = 0;
    /// Waits `ms` milliseconds while the user's commands keep being handled.
    virtual void WaitPumping(int ms) = 0;
};

/// What the reading loop needs from the window: the list's items and the panes.
class IReadingView
{
public:
    virtual ~IReadingView() = default;
    virtual std::string ItemText(int listIndex) const = 0;
    virtual std::string AudioPath(int listIndex) const = 0;
    /// Shows the current sentence, the whole sentence and the note of a playlist position.
    virtual void ShowPanes(int position) = 0;
    virtual void ClearPanes() = 0;
    /// Rebuilds the status line; `problem`, when not empty, says why a sentence was not heard.
    virtual void UpdateStatusLine(const std::string& problem) = 0;
    /// Shadowing was turned off because the input device failed; `why` says so in Chinese.
    virtual void ShadowingFailed(const std::string& why) { (void)why; }
};

/// The playlist and the loop that reads it aloud: each selected sentence `nRepeatPlayNum`
/// times with the chosen interval after every reading, endlessly, until paused or stopped.
class ReadingLoop
{
public:
    ReadingLoop(settings::Settings& settings, IMediaPlayer& player, library::SentenceAudioDecoder& audio,
                IReadingClock& clock, IReadingView& view);

    /// The list's selection changed: `selected` holds the selected list indices.
    void UpdatePlaylist(std::vector<int> selected);
    void StartReading();
    void PauseReading();
    void StopReading();
    void PreviousSentence();
    void NextSentence();
    /// Timer 2: moves on when the player has finished the current reading.
    void OnPollTick();
    /// Ends reading for good (the window is closing) and releases the player's file; no wait.
    void Shutdown();
    /// Speaking practice: `renderer` plays repetitions at the speeds of the schedule, `recorder`
    /// records the learner after each reading when shadowing is on. Either may be null.
    void SetPractice(ISpeechRenderer* renderer, IShadowRecorder* recorder);
    /// The speed list or the shadowing switch changed; a running repetition keeps its speed.
    void PracticeChanged();

    bool isReading() const { return m_isReading; }
    int chosenCount() const { return static_cast<int>(m_chosenIndices.size()); }
    const std::vector<int>& chosenIndices() const { return m_chosenIndices; }
    int repeatRound() const { return m_repeatRound; }
    int nowPlayNum() const;
    int fitSeconds() const { return m_fitSeconds; }
    /// The list index shown at the current position, or -1 with an empty playlist.
    int currentListIndex() const;
    /// Why the current sentence could not be heard, or empty.
    const std::string& problem() const { return m_problem; }

    /// The interval after a reading, in milliseconds ("Fit" depends on the shown text and the
    /// repetition's speed).
    int IntervalMs() const;
    /// The speed of the repetition being read (or about to be).
    double speed() const { return m_speed; }
    /// What the status line adds about speed and shadowing; empty at normal speed without it.
    std::string PracticeText() const;
    bool isRecording() const { return m_phase == Phase::Recording; }
    bool isPlayingBack() const { return m_phase == Phase::PlayingBack; }

private:
    enum class Phase
    {
        Reading,     ///< the sentence is being read (or the loop is idle)
        Recording,   ///< the learner is being recorded after the reading
        PlayingBack, ///< the learner's recording is being played
    };
    /// The reading of the current repetition has ended: record the learner, or go on.
    void ReadingEnded();
    /// The recording has ended: play it back, or go on.
    void RecordingEnded();
    /// Waits the interval and moves on to the next repetition or sentence.
    void WaitAndMoveOn();
    bool StartRecording();
    /// Ends recording and playing back of the learner at once.
    void StopPractice();
    bool ShadowingWanted() const;
    /// Moves one sentence back (-1) or on (+1), wrapping at the ends.
    void MoveBy(int step);
    void PlayPosition(bool refreshPanes, bool decode);
    void ShowPosition(int position);
    void StopPlayback();
    /// Opens the current sentence at the speed its repetition has in the schedule.
    void OpenAtScheduledSpeed();
    /// The end of a pause or stop: deletes the temporary audio that nothing is about to play.
    void DeleteIdleTempAudio();
    void RecordProblem(const std::string& problem);

    settings::Settings& m_settings;
    IMediaPlayer& m_player;
    library::SentenceAudioDecoder& m_audio;
    IReadingClock& m_clock;
    IReadingView& m_view;
    ISpeechRenderer* m_renderer = nullptr;
    IShadowRecorder* m_recorder = nullptr;

    std::vector<int> m_chosenIndices;
    bool m_isReading = false;
    int m_repeatRound = 1;
    int m_fitSeconds = 1;
    double m_speed = 1.0;
    /// Length of the sentence's audio at normal speed, or -1 when unknown.
    std::int64_t m_sentenceMs = -1;
    Phase m_phase = Phase::Reading;
    /// The reading just heard could not be played: it is not repeated.
    bool m_readingFailed = false;
    std::string m_problem;
    /// Sentences in a row that could not be heard; a whole playlist of them stops reading.
    int m_failuresInRow = 0;
    int m_failuresFrom = 0; ///< the position where the failures in a row began
    /// Changes whenever the loop moves by a command, so a wait that ends afterwards knows its
    /// pending step is stale.
    unsigned m_moves = 0;
};

/// The message that ends reading when no sentence of the playlist can be heard.
inline constexpr const char* kNothingPlayable = "所选句子的音频都无法播放,已停止朗读.";

} // namespace lectoria::reading
