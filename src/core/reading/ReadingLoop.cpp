#include "reading/ReadingLoop.h"

#include <algorithm>

#include "library/SentenceAudio.h"
#include "reading/IMediaPlayer.h"
#include "reading/Panes.h"
#include "settings/Settings.h"

namespace lectoria::reading {

ReadingLoop::ReadingLoop(settings::Settings& settings, IMediaPlayer& player, library::SentenceAudioDecoder& audio,
                         IReadingClock& clock, IReadingView& view)
    : m_settings(settings), m_player(player), m_audio(audio), m_clock(clock), m_view(view)
{}

int ReadingLoop::nowPlayNum() const
{
    return m_settings.nNowPlayNum;
}

int ReadingLoop::currentListIndex() const
{
    const int position = m_settings.nNowPlayNum;
    if (position < 1 || position > chosenCount()) {
        return -1;
    }
    return m_chosenIndices[static_cast<std::size_t>(position - 1)];
}

int ReadingLoop::IntervalMs() const
{
    if (m_settings.nDuration >= settings::kFitInterval) {
        return m_fitSeconds * 1000;
    }
    return std::max(m_settings.nDuration, 0) * 1000;
}

void ReadingLoop::UpdatePlaylist(std::vector<int> selected)
{
    std::sort(selected.begin(), selected.end());
    m_chosenIndices = std::move(selected);
    m_failuresInRow = 0;
    const int count = chosenCount();
    if (count >= 1 && m_settings.nNowPlayNum > count) {
        m_settings.nNowPlayNum = count;
    }
    if (m_settings.nNowPlayNum < 1) {
        m_settings.nNowPlayNum = 1;
    }
    m_view.UpdateStatusLine(std::string());
    if (!m_isReading && count > 0) {
        ShowPosition(m_settings.nNowPlayNum);
    } else if (!m_isReading) {
        m_problem.clear();
        m_view.ClearPanes();
    }
}

void ReadingLoop::StartReading()
{
    if (m_isReading || chosenCount() == 0) {
        return;
    }
    m_isReading = true;
    m_failuresInRow = 0;
    ++m_moves;
    PlayPosition(true, true);
}

void ReadingLoop::PauseReading()
{
    if (m_isReading) {
        StopPlayback();
        m_isReading = false;
        ++m_moves;
        m_view.UpdateStatusLine(m_problem);
    }
    m_clock.WaitPumping(1000);
    DeleteIdleTempAudio();
}

void ReadingLoop::StopReading()
{
    if (m_isReading) {
        StopPlayback();
        m_isReading = false;
        ++m_moves;
    }
    // Also when idle: a pause before the stop left the count in the middle of a sentence, and
    // the next start (or the next lesson) must begin with a full count at the first sentence.
    m_repeatRound = 1;
    m_settings.nNowPlayNum = 1;
    PlayPosition(true, false);
    m_clock.WaitPumping(500);
    DeleteIdleTempAudio();
}

void ReadingLoop::DeleteIdleTempAudio()
{
    if (m_isReading) {
        // Reading started again during the wait: its sentence plays from the current file.
        m_audio.DeleteTempAudioExcept(m_audio.tempAudioPath());
        return;
    }
    m_player.Stop(); // releases the file the player still holds
    m_audio.DeleteTempAudio();
}

void ReadingLoop::PreviousSentence()
{
    MoveBy(-1);
}

void ReadingLoop::NextSentence()
{
    MoveBy(+1);
}

void ReadingLoop::MoveBy(int step)
{
    const int count = chosenCount();
    if (count <= 0) {
        return;
    }
    if (m_isReading) {
        StopPlayback();
    }
    // The playlist wraps at both ends; a position outside it starts again from the end it left.
    const int position = m_settings.nNowPlayNum;
    if (step < 0) {
        m_settings.nNowPlayNum = position <= 1 || position > count ? count : position - 1;
    } else {
        m_settings.nNowPlayNum = position >= count || position < 1 ? 1 : position + 1;
    }
    ++m_moves;
    // The reading count goes on: the new sentence gets the readings left of the current round.
    PlayPosition(true, true);
}

void ReadingLoop::Shutdown()
{
    if (m_isReading) {
        m_isReading = false;
        ++m_moves;
    }
    // The window deletes the temporary audio next: the player must let go of it first.
    StopPlayback();
}

void ReadingLoop::OnPollTick()
{
    if (!m_isReading || m_player.PlayState() != IMediaPlayer::kStopped || !m_isReading) {
        return;
    }
    m_clock.StopPolling();
    const bool failed = !m_problem.empty() || !m_player.LastError().empty();
    if (failed && m_problem.empty()) {
        RecordProblem("无法播放: " + m_player.LastError());
    }
    if (failed) {
        ++m_failuresInRow;
    } else {
        m_failuresInRow = 0;
    }
    if (failed && m_failuresInRow >= chosenCount()) {
        // Nothing of the playlist can be heard: cycling on in silence would only look like reading.
        m_isReading = false;
        m_repeatRound = 1;
        ++m_moves;
        m_view.UpdateStatusLine(kNothingPlayable);
        return;
    }

    const unsigned moves = m_moves;
    m_clock.WaitPumping(IntervalMs());
    if (!m_isReading || moves != m_moves) {
        // Stopped, paused, or moved to another sentence during the wait: that command has
        // already decided what comes next.
        return;
    }
    // A sentence that cannot be heard is not repeated: it counts as read in full.
    if (!failed && m_repeatRound < m_settings.nRepeatPlayNum) {
        ++m_repeatRound;
        PlayPosition(false, false);
        return;
    }
    m_repeatRound = 1;
    const int count = chosenCount();
    m_settings.nNowPlayNum = m_settings.nNowPlayNum >= count ? 1 : m_settings.nNowPlayNum + 1;
    PlayPosition(true, true);
}

void ReadingLoop::PlayPosition(bool refreshPanes, bool decode)
{
    if (chosenCount() < 1) {
        StopPlayback();
        m_repeatRound = 1;
        m_settings.nNowPlayNum = 1;
        m_isReading = false;
        m_problem.clear();
        m_view.ClearPanes();
        m_view.UpdateStatusLine(std::string());
        return;
    }
    if (m_settings.nNowPlayNum < 1 || m_settings.nNowPlayNum > chosenCount()) {
        m_settings.nNowPlayNum = 1;
    }
    if (refreshPanes) {
        m_problem.clear();
    }
    m_view.UpdateStatusLine(m_problem);
    const int listIndex = currentListIndex();
    if (refreshPanes) {
        ShowPosition(m_settings.nNowPlayNum);
        if (decode && m_isReading) {
            // Decoding deletes the file of the sentence before, which the player still holds.
            m_player.Stop();
            const library::AudioResult result = m_audio.DecodeSentenceAudio(m_view.AudioPath(listIndex));
            if (!result.ok()) {
                RecordProblem(result.error == library::AudioError::SourceUnreadable ? "音频文件缺失或无法读取"
                                                                                    : "无法写入临时音频文件");
            }
        }
    }
    if (m_isReading) {
        if (m_problem.empty()) {
            m_player.Open(m_audio.tempAudioPath());
        } else {
            m_player.Stop();
        }
        m_clock.StartPolling();
    }
}

void ReadingLoop::ShowPosition(int position)
{
    const int listIndex = m_chosenIndices[static_cast<std::size_t>(position - 1)];
    m_fitSeconds = FitSeconds(CurrentSentenceText(m_view.ItemText(listIndex)));
    m_view.ShowPanes(position);
}

void ReadingLoop::StopPlayback()
{
    m_clock.StopPolling();
    m_player.Stop();
}

void ReadingLoop::RecordProblem(const std::string& problem)
{
    m_problem = problem;
    m_view.UpdateStatusLine(m_problem);
}

} // namespace lectoria::reading
