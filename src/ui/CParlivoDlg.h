#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "library/SentenceAudio.h"
#include "settings/Settings.h"

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
class CParlivoDlg : public QWidget
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

    /// Runs the start-up restore now instead of on the first tick of the start-up timer.
    void RestoreLastState();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
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
};

} // namespace lectoria::ui
