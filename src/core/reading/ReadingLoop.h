#pragma once

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

    /// The interval after a reading, in milliseconds ("Fit" depends on the shown text).
    int IntervalMs() const;

private:
    /// Moves one sentence back (-1) or on (+1), wrapping at the ends.
    void MoveBy(int step);
    void PlayPosition(bool refreshPanes, bool decode);
    void ShowPosition(int position);
    void StopPlayback();
    /// The end of a pause or stop: deletes the temporary audio that nothing is about to play.
    void DeleteIdleTempAudio();
    void RecordProblem(const std::string& problem);

    settings::Settings& m_settings;
    IMediaPlayer& m_player;
    library::SentenceAudioDecoder& m_audio;
    IReadingClock& m_clock;
    IReadingView& m_view;

    std::vector<int> m_chosenIndices;
    bool m_isReading = false;
    int m_repeatRound = 1;
    int m_fitSeconds = 1;
    std::string m_problem;
    /// Sentences in a row that could not be heard; a whole playlist of them stops reading.
    int m_failuresInRow = 0;
    /// Changes whenever the loop moves by a command, so a wait that ends afterwards knows its
    /// pending step is stale.
    unsigned m_moves = 0;
};

/// The message that ends reading when no sentence of the playlist can be heard.
inline constexpr const char* kNothingPlayable = "所选句子的音频都无法播放,已停止朗读.";

} // namespace lectoria::reading
