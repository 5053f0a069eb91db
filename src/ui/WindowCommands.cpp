#include "WindowCommands.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include "ButtonStyle.h"

namespace lectoria::ui {

namespace {

/// One command: a null text takes the tool tip of the bottom-bar button with the same id. Menu
/// texts carry their own key hints exactly as they are shown, so the action's key is not added.
struct CommandEntry
{
    int id;
    const char* text;
    int key;
    bool menuIcon;
    /// The key also goes on to the focused control, so PageDown in the list also scrolls it.
    bool passKeyOn = false;
};

constexpr CommandEntry kCommands[] = {
    {kStartReadingCommand, nullptr, Qt::Key_F2, false},
    {kPauseReadingCommand, nullptr, Qt::Key_F3, false},
    {kStopReadingCommand, nullptr, Qt::Key_F4, false},
    {kPreviousSentenceCommand, nullptr, Qt::Key_PageUp, false, true},
    {kNextSentenceCommand, nullptr, Qt::Key_PageDown, false, true},
    {kExitCommand, nullptr, 0, false},
    {kOpenTextCommand, nullptr, 0, false},
    {kOpenTopicCommand, nullptr, 0, false},
    {kCancelClientColorCommand, "取消窗口界面颜色(&Q)", 0, true},
    {kSetClientColorCommand, "设置窗口界面颜色(&C)", 0, true},
    {kSetGrammarColorCommand, "设置语法窗口颜色(&D)", 0, true},
    {kToggleListCommand, "列表框显示开关(&L)\tF5", Qt::Key_F5, true},
    {kToggleGrammarCommand, "语法框显示开关(&G)\tF6", Qt::Key_F6, true},
    {kToggleWholeCommand, "整句框显示开关(&W)\tF7", Qt::Key_F7, true},
    {kClientHelpCommand, "帮助系统", 0, true},
    {kRestoreCommand, "还原(&R)", 0, false},
    {kMoveCommand, "移动(&M)", 0, false},
    {kSizeCommand, "大小(&S)", 0, false},
    {kMinimizeCommand, "最小化(&N)", 0, false},
    {kMaximizeCommand, "最大化(&X)", 0, false},
    {kCancelTitleColorCommand, "取消标题栏颜色(&Q)", 0, true},
    {kSetTitleColorCommand, "设置标题栏颜色(&C)", 0, true},
    {kFullScreenCommand, "全屏显示开关(&F)       F8", Qt::Key_F8, true},
    {kHelpCommand, "帮助系统", 0, true},
    {kGrammarAnalysisCommand, "语法分析(&A)\tF9", Qt::Key_F9, true},
    {kShadowingCommand, "跟读开关(&R)\tF10", Qt::Key_F10, true},
    {kPlayBackRecordingCommand, "跟读后回放录音(&B)", 0, false},
    {kReplayRecordingCommand, "回放跟读录音(&P)\tF11", Qt::Key_F11, true},
    {kSpeechPictureCommand, "跟读对比(&V)\tF12", Qt::Key_F12, true},
    {kCloseCommand, "关闭(&C)\tAlt+F4", 0, false},
    {kSwallowEscapeCommand, "", Qt::Key_Escape, false},
};

// The client menu, with a separator after the entries marked.
constexpr std::pair<int, bool> kClientMenu[] = {
    {kCancelClientColorCommand, false}, {kSetClientColorCommand, true}, {kSetGrammarColorCommand, true},
    {kToggleListCommand, false},        {kToggleGrammarCommand, false}, {kToggleWholeCommand, true},
    {kClientHelpCommand, false},
};

QString ButtonTip(int id)
{
    for (const MainButton& button : MainWindowButtons()) {
        if (button.id == id) {
            return QString::fromUtf8(button.tip);
        }
    }
    return QString();
}

} // namespace

WindowCommands::WindowCommands(QWidget* window) : QObject(window), m_window(window)
{
    for (const CommandEntry& entry : kCommands) {
        auto* action = new QAction(entry.text != nullptr ? QString::fromUtf8(entry.text) : ButtonTip(entry.id), this);
        action->setData(entry.id);
        if (entry.menuIcon) {
            action->setIcon(CommandIcon(entry.id));
        }
        if (entry.key != 0) {
            action->setShortcut(QKeySequence(entry.key));
            action->setShortcutContext(Qt::WindowShortcut);
            action->setShortcutVisibleInContextMenu(false);
        }
        if (entry.passKeyOn) {
            m_passKeyOn.insert(action);
            action->installEventFilter(this);
        }
        window->addAction(action);
        m_actions.emplace(entry.id, action);
    }
}

QAction* WindowCommands::action(int id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

void WindowCommands::Bind(int id, std::function<void()> handler)
{
    QAction* command = action(id);
    Q_ASSERT(command != nullptr);
    connect(command, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
}

void WindowCommands::Run(int id) const
{
    if (QAction* command = action(id)) {
        command->trigger();
    }
}

bool WindowCommands::eventFilter(QObject* watched, QEvent* event)
{
    auto* command = qobject_cast<QAction*>(watched);
    if (event->type() != QEvent::Shortcut || command == nullptr || !m_passKeyOn.contains(command)) {
        return QObject::eventFilter(watched, event);
    }
    // The key goes to the control it was typed in, even when the command moves the focus.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    command->trigger();
    if (focus != nullptr && (focus == m_window || m_window->isAncestorOf(focus))) {
        const QKeyCombination key = command->shortcut()[0];
        QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
        // Qt looks for a shortcut in every key it delivers; while the command is off, this one
        // goes to the control.
        command->setEnabled(false);
        QCoreApplication::sendEvent(focus, &press);
        command->setEnabled(true);
    }
    return true;
}

QMenu* WindowCommands::CreateClientMenu(QWidget* parent) const
{
    auto* menu = new QMenu(parent);
    for (const auto& [id, separatorAfter] : kClientMenu) {
        menu->addAction(action(id));
        if (separatorAfter) {
            menu->addSeparator();
        }
    }
    return menu;
}

QMenu* WindowCommands::CreateSystemMenu(QWidget* parent) const
{
    const QWidget* window = m_window->window();
    const Qt::WindowStates state = window->windowState();
    const bool maximized = state & (Qt::WindowMaximized | Qt::WindowFullScreen);
    const bool minimized = state & Qt::WindowMinimized;
    const bool normal = !maximized && !minimized;
    const bool resizable = window->minimumSize() != window->maximumSize();
    const std::pair<int, bool> windowItems[] = {
        {kRestoreCommand, !normal},
        {kMoveCommand, normal},
        {kSizeCommand, normal && resizable},
        {kMinimizeCommand, !minimized},
        {kMaximizeCommand, !maximized && resizable},
    };
    auto* menu = new QMenu(parent);
    for (const auto& [id, enabled] : windowItems) {
        action(id)->setEnabled(enabled);
        menu->addAction(action(id));
    }
    menu->addSeparator();
    for (int id : {kCancelTitleColorCommand, kSetTitleColorCommand, kFullScreenCommand, kHelpCommand}) {
        menu->addAction(action(id));
    }
    menu->addSeparator();
    menu->addAction(action(kCloseCommand));
    return menu;
}

} // namespace lectoria::ui
