#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QWidget>

#include "CSpecialListBox.h"
#include "LessonOpener.h"
#include "PaneArranger.h"
#include "ReadingController.h"
#include "settings/Settings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;
class QTimer;
class QMenu;

namespace lectoria::reading {
class IMediaPlayer;
class IShadowRecorder;
} // namespace lectoria::reading

namespace lectoria::platform {
class ISentencePlayer;
}

namespace lectoria::ui {

class CProgressCtrlStart;
class CSelectSubjectDlg;
class CSelectTextDlg;
class ImportLessonDlg;
class CVolumeControl;
class FramelessResizer;
class HalftoneBand;
class IVolume;
class NotesKeeper;
class SearchWorker;
class SpeakingPractice;
class TitleBar;
class WindowColours;
class WindowCommands;

/// What the main window is built from; tests replace the profile, the player and the folders.
struct MainWindowOptions
{
    settings::ProfileStore* profile = nullptr;    ///< required; outlives the window
    reading::IMediaPlayer* player = nullptr;      ///< null: the window creates the real player
    std::string tempDir;                          ///< empty: the per-user temporary folder
    std::string libraryRoot;                      ///< the library a first start opens; empty: the user's
    bool libraryChosen = false;                   ///< the user named libraryRoot: a saved lesson elsewhere moves there
    std::string demoLibrary;                      ///< lessons a new library gets; empty: none are copied
    reading::IShadowRecorder* recorder = nullptr; ///< null: the real recorder on the default input
};

/// The main window: owns the settings, the sentence list, the three panes, the reading
/// controls and the hidden player; loads the profile when built and saves it when destroyed.
class CParlivoDlg : public QWidget, public SentenceListOwner, public DialogRunners
{
    Q_OBJECT

public:
    explicit CParlivoDlg(const MainWindowOptions& options, QWidget* parent = nullptr);
    ~CParlivoDlg() override;

    const settings::Settings& settings() const { return m_settings; }

    // Controls, by their role; tests and the later parts of the window reach them here.
    QLineEdit* statusLine() const { return m_statusLine; }
    CSpecialListBox* sentenceList() const { return m_sentenceList; }
    QTextEdit* wholeSentencePane() const { return m_wholePane; }
    QTextEdit* currentSentencePane() const { return m_currentPane; }
    QPlainTextEdit* grammarPane() const { return m_grammarPane; }
    QComboBox* repeatList() const { return m_repeatList; }
    QComboBox* intervalList() const { return m_intervalList; }
    QComboBox* speedList() const { return m_speedList; }
    QPushButton* shadowButton() const { return m_shadowButton; }
    SpeakingPractice& practice() const { return *m_practice; }
    QPushButton* button(int id) const;
    /// Every command of the window, as actions: buttons, menus and keys trigger them.
    WindowCommands& commands() const { return *m_commands; }
    TitleBar* titleBar() const { return m_titleBar; }
    /// The area below the title bar that holds every control.
    QWidget* clientArea() const { return m_client; }
    PaneState paneState() const { return m_arranger->state(); }
    const PaneLayout& paneLayout() const { return m_arranger->layout(); }
    CVolumeControl* volumePopup() const { return m_arranger->volumePopup(); }
    CProgressCtrlStart* restoreProgress() const { return m_restoreProgress; }
    reading::IMediaPlayer& player() const { return *m_player; }
    const library::SentenceAudioDecoder& audio() const { return m_reading->audio(); }
    reading::ReadingLoop& readingLoop() { return m_reading->loop(); }
    /// The reading loop with the panes and the status line it fills, and its clock.
    ReadingController& reading() const { return *m_reading; }
    /// Every note the window has shown or taken, by lesson; saved as the user goes.
    NotesKeeper& notesKeeper() const { return *m_notes; }

    /// Brings back the last text or topic search, selects everything and starts reading.
    /// Normally run by the first tick of the start-up timer.
    void RestoreLastState();
    /// True while the start-up restore's search is still running, or a long list of results is
    /// still going in.
    bool restoring() const;

    /// Writes every edited note into its lesson's note file now; a failure is shown to the user.
    /// True when nothing is left unsaved.
    bool SaveNotes();

    // Window commands.
    void TogglePane(int key);
    /// Places every control from the stored proportions (the layout arithmetic of PaneLayout).
    void LayoutPanes();

    // The sentence list's owner.
    void UpdatePlaylist() override;
    void OpenText() override;
    /// "导入课文": imports a lesson and opens it.
    void ImportLesson();
    void OpenTopic() override;
    void ShowHelp() override;
    bool IsTopicMode() const override { return m_settings.isSelectSubject; }
    void ReloadLesson() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Chooses the library a first start (or `--library`) opens and gives a new library the demo
    /// lessons; a file that could not be copied is shown once the window is up.
    void OpenLibrary(const MainWindowOptions& options);
    void CreateControls();
    /// What each window command does; its text, icon and key are declared in WindowCommands.
    void BindCommands();
    /// The window's mouse handling (splitters, pointer tracking, double-clicks) on each control.
    void WatchMouseOf(QWidget* widget);
    void ShowWholePaneMenu(const QPoint& globalPos);
    void FillDropDownLists();
    /// The close paths: the system menu's Close, the window's close button and exit button 1088.
    /// False when the user chose to keep the window open (notes that could not be saved).
    bool PrepareToClose();
    /// Writes every setting to the profile; false when the profile could not be written.
    bool SaveProfile();

    void ShowLargePaneMenu(const QPoint& globalPos);
    /// "语法分析" of the sentence being read.
    void AnalyseCurrentSentence();

    settings::ProfileStore& m_profile;
    settings::Settings m_settings;
    std::unique_ptr<platform::ISentencePlayer> m_ownPlayer;
    reading::IMediaPlayer* m_player = nullptr;
    bool m_closePrepared = false;

    NotesKeeper* m_notes = nullptr;

    QLineEdit* m_statusLine = nullptr;
    CSpecialListBox* m_sentenceList = nullptr;
    QTextEdit* m_wholePane = nullptr;
    QTextEdit* m_currentPane = nullptr;
    QPlainTextEdit* m_grammarPane = nullptr;
    QLabel* m_repeatCaption = nullptr;
    QLabel* m_intervalCaption = nullptr;
    QComboBox* m_repeatList = nullptr;
    QComboBox* m_intervalList = nullptr;
    QLabel* m_speedCaption = nullptr;
    QComboBox* m_speedList = nullptr;
    QPushButton* m_shadowButton = nullptr;
    SpeakingPractice* m_practice = nullptr;
    std::vector<std::pair<int, QPushButton*>> m_buttons;
    WindowCommands* m_commands = nullptr;
    TitleBar* m_titleBar = nullptr;
    QWidget* m_client = nullptr;
    HalftoneBand* m_band = nullptr;
    FramelessResizer* m_resizer = nullptr;
    std::unique_ptr<IVolume> m_volume;
    PaneArranger* m_arranger = nullptr;
    WindowColours* m_colours = nullptr;
    LessonOpener* m_opener = nullptr;
    CProgressCtrlStart* m_restoreProgress = nullptr;
    QTimer* m_startTimer = nullptr;
    std::unique_ptr<ReadingController> m_reading;
};

} // namespace lectoria::ui
