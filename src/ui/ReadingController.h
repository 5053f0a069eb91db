#pragma once

#include <memory>
#include <string>

#include <QObject>

#include "library/SentenceAudio.h"
#include "notes/LessonNotes.h"
#include "reading/PracticeInterfaces.h"
#include "reading/ReadingLoop.h"
#include "settings/Settings.h"

class QLineEdit;
class QPlainTextEdit;
class QTextEdit;
class QTimer;

namespace lectoria::ui {

class CSpecialListBox;
class NotesKeeper;
class SentencePanes;

/// The controls the reading shows itself in; the window owns them.
struct ReadingControls
{
    CSpecialListBox* list = nullptr;
    QLineEdit* statusLine = nullptr;
    QTextEdit* wholePane = nullptr;
    QTextEdit* currentPane = nullptr;
    QPlainTextEdit* grammarPane = nullptr;
    /// Takes the focus whenever a sentence is shown, so that no pane keeps a stale selection.
    QWidget* focusAfterShow = nullptr;
    /// Parent of the messages the reading shows.
    QWidget* messageParent = nullptr;
};

/// Reading aloud in the window: owns the reading loop, its sentence audio and its clock, and
/// fills the three panes and the status line from the position; the grammar pane's typing goes to
/// the note of the sentence on screen.
class ReadingController : public QObject, public reading::IReadingView, public reading::IReadingClock
{
    Q_OBJECT

public:
    ReadingController(settings::Settings& settings, reading::IMediaPlayer& player, const std::string& tempDir,
                      const ReadingControls& controls, NotesKeeper& notes, QObject* parent = nullptr);
    /// Stops the loop and the player and removes the temporary audio folder.
    ~ReadingController() override;

    reading::ReadingLoop& loop() { return *m_loop; }
    const library::SentenceAudioDecoder& audio() const { return m_audio; }

    /// Takes the list's selection as the new playlist; while reading, the panes follow the position.
    void UpdatePlaylist();
    /// Shows the current and whole sentence again, as after the panes were resized.
    void RefreshSentence();
    /// Why the list could not be filled (or which folders a search could not read); shown in the
    /// status line until the list is filled again.
    void SetListProblem(std::string problem);
    /// Writes the status line again from the settings and the loop.
    void RefreshStatusLine() { UpdateStatusLine(m_statusProblem); }
    /// Shows a list item's text in the status line while the pointer is over it.
    void ShowItemText(int row);
    /// The pointer left the list: the status line shows the reading state again.
    void PointerLeftList();
    /// The close path: the loop stops and the temporary audio goes.
    void Shutdown();
    /// Records the learner after each reading while shadowing is on; null: no recording.
    void SetRecorder(reading::IShadowRecorder* recorder);
    /// The library file of the sentence shown, or empty when none is.
    std::string CurrentAudioPath() const;

    // The loop's view and clock; public so that tests can drive the clock the window uses.
    std::string ItemText(int listIndex) const override;
    std::string AudioPath(int listIndex) const override;
    void ShowPanes(int position) override;
    void ClearPanes() override;
    void UpdateStatusLine(const std::string& problem) override;
    void StartPolling() override;
    void StopPolling() override;
    void WaitPumping(int ms) override;
    void ShadowingFailed(const std::string& why) override;

signals:
    /// The input device failed: shadowing is off and `why` says so.
    void shadowingFailed(const QString& why);

private:
    /// The lesson folder and note line of a list item, in either mode.
    struct NoteTarget
    {
        std::string lesson;
        notes::NoteSlot slot;
        int listIndex = -1;
    };
    NoteTarget NoteTargetOf(int listIndex) const;
    void ShowCurrentSentence(int position);
    void ShowWholeSentence(int position);
    void ShowGrammarNote(int position);
    void OnGrammarPaneChanged();

    settings::Settings& m_settings;
    reading::IMediaPlayer& m_player;
    ReadingControls m_controls;
    NotesKeeper& m_notes;
    library::SentenceAudioDecoder m_audio;
    /// Makes the slowed and sped-up copies of the sentence; its files live in the audio's folder.
    std::unique_ptr<reading::ISpeechRenderer> m_renderer;
    std::unique_ptr<SentencePanes> m_panes;
    QTimer* m_pollTimer = nullptr;
    std::unique_ptr<reading::ReadingLoop> m_loop;
    std::string m_statusProblem;
    std::string m_listProblem;
    bool m_statusShowsItem = false;
    // The note the grammar pane shows: what is typed there belongs to it, whatever the position
    // points at by now.
    NoteTarget m_shownNote;
    std::string m_lastNoteProblem;
};

} // namespace lectoria::ui
