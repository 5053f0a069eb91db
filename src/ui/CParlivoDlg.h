#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "library/SentenceAudio.h"
#include "reading/ReadingLoop.h"
#include "settings/Settings.h"
#include "SentencePanes.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTextEdit;
class QTimer;
class QToolButton;

namespace lectoria::reading {
class IMediaPlayer;
}

namespace lectoria::platform {
class CMediaPlayer2;
}

namespace lectoria::ui {

/// What the main window is built from; tests replace the profile, the player and the folders.
struct MainWindowOptions
{
    settings::ProfileStore* profile = nullptr; ///< required; outlives the window
    reading::IMediaPlayer* player = nullptr;   ///< null: the window creates the real player
    std::string tempDir;                       ///< empty: the per-user temporary folder
    std::string programDirectory;              ///< empty: the running program's folder
};

/// The main window: owns the settings, the sentence list, the three panes, the reading
/// controls and the hidden player; loads the profile when built and saves it when destroyed.
class CParlivoDlg : public QWidget, public reading::IReadingView, public reading::IReadingClock
{
    Q_OBJECT

public:
    explicit CParlivoDlg(const MainWindowOptions& options, QWidget* parent = nullptr);
    ~CParlivoDlg() override;

    const settings::Settings& settings() const { return m_settings; }

    // Controls, by their role; tests and the later parts of the window reach them here.
    QLineEdit* statusLine() const { return m_statusLine; }
    QListWidget* sentenceList() const { return m_sentenceList; }
    QTextEdit* wholeSentencePane() const { return m_wholePane; }
    QTextEdit* currentSentencePane() const { return m_currentPane; }
    QPlainTextEdit* grammarPane() const { return m_grammarPane; }
    QComboBox* repeatList() const { return m_repeatList; }
    QComboBox* intervalList() const { return m_intervalList; }
    QPushButton* button(int id) const;
    QToolButton* systemMenuButton() const { return m_systemMenuButton; }
    QProgressBar* restoreProgress() const { return m_restoreProgress; }
    reading::IMediaPlayer& player() const { return *m_player; }
    const library::SentenceAudioDecoder& audio() const { return m_audio; }
    reading::ReadingLoop& readingLoop() { return *m_loop; }
    const std::vector<std::string>& grammarNotes() const { return m_grammarNotes; }

    /// Runs the start-up restore now instead of on the first tick of the start-up timer.
    void RestoreLastState();

    /// Writes the edited notes back: the whole lesson file in text mode, each edited item's
    /// line in topic mode.
    void SaveNotes();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The reading loop's view of the window.
    std::string ItemText(int listIndex) const override;
    std::string AudioPath(int listIndex) const override;
    void ShowPanes(int position) override;
    void ClearPanes() override;
    void UpdateStatusLine(const std::string& problem) override;
    // The reading loop's clock: timer 2 and the interval wait.
    void StartPolling() override;
    void StopPolling() override;
    void WaitPumping(int ms) override;

    void ShowCurrentSentence(int position);
    void ShowWholeSentence(int position);
    void ShowGrammarNote(int position);
    /// The note slot of a playlist position: by list index in topic mode, by sentence number in
    /// text mode; -1 when there is none.
    int NoteIndex(int position) const;
    void OnGrammarPaneChanged();
    void OnSelectionChanged();
    void OnItemEntered(int row);
    /// Loads the notes of the open lesson, one per sentence number.
    void LoadLessonNotes();
    /// Handles the reading keys; true when the key must not reach its control.
    bool HandleKey(int key);

    void CreateControls();
    void ArrangeControls();
    void CreateSystemMenu();
    void ApplyPaneColors();
    void FillDropDownLists();
    void OnRepeatChanged(int index);
    void OnIntervalChanged(int index);
    /// The close paths: the system menu's Close, the window's close button and exit button 1088.
    void PrepareToClose();

    settings::ProfileStore& m_profile;
    settings::Settings m_settings;
    library::SentenceAudioDecoder m_audio;
    std::unique_ptr<platform::CMediaPlayer2> m_ownPlayer;
    reading::IMediaPlayer* m_player = nullptr;
    bool m_restored = false;
    bool m_closePrepared = false;
    bool m_statusShowsItem = false;
    struct
    {
        const QEvent* event = nullptr;
        quint64 timestamp = 0;
        QWidget* receiver = nullptr;
    } m_lastKey;
    std::string m_statusProblem;

    // One entry per list item in topic mode; grammar notes by sentence number in text mode.
    std::vector<std::string> m_itemPaths;
    std::vector<std::string> m_highlightWords;
    std::vector<std::string> m_grammarNotes;
    std::vector<char> m_noteDirty;

    QLineEdit* m_statusLine = nullptr;
    QListWidget* m_sentenceList = nullptr;
    QTextEdit* m_wholePane = nullptr;
    QTextEdit* m_currentPane = nullptr;
    QPlainTextEdit* m_grammarPane = nullptr;
    QLabel* m_repeatCaption = nullptr;
    QLabel* m_intervalCaption = nullptr;
    QComboBox* m_repeatList = nullptr;
    QComboBox* m_intervalList = nullptr;
    std::vector<std::pair<int, QPushButton*>> m_buttons;
    QToolButton* m_systemMenuButton = nullptr;
    QProgressBar* m_restoreProgress = nullptr;
    QTimer* m_startTimer = nullptr;
    QTimer* m_pollTimer = nullptr;
    std::unique_ptr<SentencePanes> m_panes;
    std::unique_ptr<reading::ReadingLoop> m_loop;
};

} // namespace lectoria::ui
