#pragma once

#include <functional>
#include <map>
#include <set>

#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace lectoria::ui {

/// Ids of the main window's commands. The bottom bar's buttons keep their control ids and the
/// menus' commands their menu ids, so tests and the button table find them by the same numbers.
enum WindowCommandId : int
{
    kStartReadingCommand = 1082,
    kPauseReadingCommand = 1083,
    kStopReadingCommand = 1084,
    kPreviousSentenceCommand = 1085,
    kNextSentenceCommand = 1086,
    kExitCommand = 1088,
    kOpenTextCommand = 1010,
    kOpenTopicCommand = 1011,
    kCancelClientColorCommand = 32796,
    kSetClientColorCommand = 32794,
    kSetGrammarColorCommand = 32786,
    kToggleListCommand = 32789,
    kToggleGrammarCommand = 32791,
    kToggleWholeCommand = 32790,
    kClientHelpCommand = 32831,
    /// Escape: taken by the window so that it never closes it nor reaches a control.
    kSwallowEscapeCommand = 1,
    // The system menu: the program's four items, and the window commands every window has (the
    // ids a Windows system menu gives them).
    kFullScreenCommand = 1201,
    kCancelTitleColorCommand = 1202,
    kSetTitleColorCommand = 1203,
    kHelpCommand = 1204,
    kGrammarAnalysisCommand = 1205,
    // Speaking practice.
    kShadowingCommand = 1206,
    kPlayBackRecordingCommand = 1207,
    kReplayRecordingCommand = 1208,
    kSpeechPictureCommand = 1209,
    kSizeCommand = 0xF000,
    kMoveCommand = 0xF010,
    kMinimizeCommand = 0xF020,
    kMaximizeCommand = 0xF030,
    kCloseCommand = 0xF060,
    kRestoreCommand = 0xF120,
};

/// The main window's commands, declared once: each is a QAction with its text, icon and key,
/// added to the window so that its key works whichever control has the focus (a control that
/// needs the key itself claims it first, as Qt's shortcut system lets it). Buttons trigger the
/// same actions; the client and system menus list them. The window binds what each one does.
class WindowCommands : public QObject
{
    Q_OBJECT

public:
    explicit WindowCommands(QWidget* window);

    /// The action of a command id; null for an id that is not a window command.
    QAction* action(int id) const;
    /// What the command does when triggered by its key, button or menu item.
    void Bind(int id, std::function<void()> handler);
    /// Runs a command as its button or menu item would.
    void Run(int id) const;

    /// The client area's menu: colours, pane toggles and help.
    QMenu* CreateClientMenu(QWidget* parent) const;
    /// The window's system menu: the window commands, enabled as the window's state allows, the
    /// program's four items and Close.
    QMenu* CreateSystemMenu(QWidget* parent) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    std::map<int, QAction*> m_actions;
    /// Commands whose key, once the command has run, also goes on to the control with the focus.
    std::set<QAction*> m_passKeyOn;
};

} // namespace lectoria::ui
