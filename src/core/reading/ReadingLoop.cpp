#include "reading/ReadingLoop.h"

#include <algorithm>
#include <cmath>

#include "library/SentenceAudio.h"
#include "reading/IMediaPlayer.h"
#include "reading/Panes.h"
#include "reading/PracticeInterfaces.h"
#include "reading/SpeedSchedule.h"
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
        // A slowed reading is longer, and so is the time the learner needs to say it again.
        return static_cast<int>(std::lround(m_fitSeconds * 1000 / m_speed));
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
    if (!m_isReading) {
        return;
    }
    switch (m_phase) {
    case Phase::Recording:
        if (m_recorder == nullptr || !m_recorder->IsRecording()) {
            RecordingEnded();
        }
        return;
    case Phase::PlayingBack:
        if (m_player.PlayState() == IMediaPlayer::kStopped) {
            // A recording that cannot be played back is the learner's loss, not the reading's.
            m_phase = Phase::Reading;
            m_view.UpdateStatusLine(m_problem);
            WaitAndMoveOn();
        }
        return;
    case Phase::Reading:
        if (m_player.PlayState() == IMediaPlayer::kStopped) {
            ReadingEnded();
        }
        return;
    }
}

void ReadingLoop::ReadingEnded()
{
    const bool failed = !m_problem.empty() || !m_player.LastError().empty();
    if (failed && m_problem.empty()) {
        RecordProblem("无法播放: " + m_player.LastError());
    }
    m_readingFailed = failed;
    if (failed) {
        if (++m_failuresInRow == 1) {
            m_failuresFrom = m_settings.nNowPlayNum;
        }
    } else {
        m_failuresInRow = 0;
    }
    if (failed && m_failuresInRow >= chosenCount()) {
        // Nothing of the playlist can be heard: cycling on in silence would only look like reading.
        m_clock.StopPolling();
        m_isReading = false;
        m_repeatRound = 1;
        ++m_moves;
        // Back to where the silent round began, which is where the learner resumes once the sound
        // works again, rather than wherever the round happened to give up.
        if (m_failuresFrom >= 1 && m_failuresFrom <= chosenCount() && m_failuresFrom != m_settings.nNowPlayNum) {
            m_settings.nNowPlayNum = m_failuresFrom;
            ShowPosition(m_failuresFrom);
        }
        // The last reason goes with it: "no sound device" and "files missing" want different help.
        m_view.UpdateStatusLine(std::string(kNothingPlayable) + " " + m_problem);
        return;
    }
    if (!failed && ShadowingWanted() && StartRecording()) {
        return;
    }
    WaitAndMoveOn();
}

bool ReadingLoop::ShadowingWanted() const
{
    return m_settings.isShadowing && m_recorder != nullptr;
}

bool ReadingLoop::StartRecording()
{
    // The learner gets the length of what they just heard, half as long again to find their words,
    // and a second to begin.
    const std::int64_t heardMs = m_sentenceMs > 0
                                     ? static_cast<std::int64_t>(static_cast<double>(m_sentenceMs) / m_speed)
                                     : static_cast<std::int64_t>(m_fitSeconds) * 1000;
    const std::int64_t maxMs = heardMs * 3 / 2 + 1000;
    if (!m_recorder->Start(m_view.AudioPath(currentListIndex()), maxMs)) {
        const std::string why = m_recorder->LastError();
        m_settings.isShadowing = false;
        m_view.ShadowingFailed(why);
        m_view.UpdateStatusLine(m_problem);
        return false;
    }
    m_phase = Phase::Recording;
    m_view.UpdateStatusLine(m_problem);
    return true;
}

void ReadingLoop::RecordingEnded()
{
    m_phase = Phase::Reading;
    const std::string error = m_recorder != nullptr ? m_recorder->LastError() : std::string();
    if (!error.empty()) {
        // The device failed mid-recording: shadowing stops, reading goes on.
        m_settings.isShadowing = false;
        m_view.ShadowingFailed(error);
    } else if (m_settings.isPlayBackRecording && m_recorder != nullptr) {
        const std::string recording = m_recorder->LastRecordingOf(m_view.AudioPath(currentListIndex()));
        if (!recording.empty()) {
            m_phase = Phase::PlayingBack;
            m_view.UpdateStatusLine(m_problem);
            m_player.Open(recording);
            return;
        }
    }
    m_view.UpdateStatusLine(m_problem);
    WaitAndMoveOn();
}

void ReadingLoop::WaitAndMoveOn()
{
    m_clock.StopPolling();
    const bool failed = m_readingFailed;
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

void ReadingLoop::SetPractice(ISpeechRenderer* renderer, IShadowRecorder* recorder)
{
    m_renderer = renderer;
    m_recorder = recorder;
}

void ReadingLoop::PracticeChanged()
{
    if (!m_settings.isShadowing && m_phase == Phase::Recording) {
        // Turned off while recording: the half-spoken recording is dropped and reading goes on.
        m_recorder->Stop();
    }
    m_view.UpdateStatusLine(m_problem);
}

void ReadingLoop::StopPractice()
{
    if (m_phase == Phase::Recording && m_recorder != nullptr) {
        m_recorder->Stop();
    }
    m_phase = Phase::Reading;
}

std::string ReadingLoop::PracticeText() const
{
    std::string text;
    const auto schedule = ParseSpeedSchedule(m_settings.strSpeedSchedule);
    if (schedule && !schedule->isNormal()) {
        text = "语速";
        text += SpeedText(m_isReading ? m_speed : schedule->SpeedOf(1));
        if (schedule->speeds().size() > 1) {
            text += '(';
            text += schedule->Text();
            text += ')';
        }
    }
    if (m_phase == Phase::Recording) {
        text += std::string(text.empty() ? "" : " ") + "请跟读, 正在录音…";
    } else if (m_phase == Phase::PlayingBack) {
        text += std::string(text.empty() ? "" : " ") + "正在回放跟读录音";
    } else if (ShadowingWanted()) {
        text += std::string(text.empty() ? "" : " ") + "跟读";
    }
    return text;
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
            m_sentenceMs = -1;
            if (m_renderer != nullptr) {
                m_renderer->Release();
            }
            const library::AudioResult result = m_audio.DecodeSentenceAudio(m_view.AudioPath(listIndex));
            if (!result.ok()) {
                RecordProblem(result.error == library::AudioError::SourceUnreadable ? "音频文件缺失或无法读取"
                                                                                    : "无法写入临时音频文件");
            }
        }
    }
    if (m_isReading) {
        m_phase = Phase::Reading;
        if (m_problem.empty()) {
            OpenAtScheduledSpeed();
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
    StopPractice();
    m_player.Stop();
}

void ReadingLoop::OpenAtScheduledSpeed()
{
    const auto schedule = ParseSpeedSchedule(m_settings.strSpeedSchedule);
    m_speed = schedule ? schedule->SpeedOf(m_repeatRound) : 1.0;
    m_view.UpdateStatusLine(m_problem);
    // At normal speed the decoded file plays as it is; the renderer is still asked when
    // shadowing, which needs the sentence's length.
    if (m_renderer == nullptr) {
        m_speed = 1.0; // nothing can change the speed
    }
    if (m_renderer == nullptr || (m_speed == 1.0 && !ShadowingWanted())) {
        m_player.Open(m_audio.tempAudioPath());
        return;
    }
    const RenderedAudio rendered = m_renderer->Render(m_audio.tempAudioPath(), m_speed);
    if (!rendered.ok()) {
        RecordProblem(rendered.error);
        m_player.Stop();
        return;
    }
    m_sentenceMs = rendered.durationMs;
    m_player.Open(rendered.path);
}

void ReadingLoop::RecordProblem(const std::string& problem)
{
    m_problem = problem;
    m_view.UpdateStatusLine(m_problem);
}

} // namespace lectoria::reading
