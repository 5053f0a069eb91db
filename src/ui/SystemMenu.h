#pragma once

class QMenu;
class QWidget;

namespace lectoria::ui {

/// Command ids of the window's system menu: the window commands every window has (the ids a
/// Windows system menu gives them) and the four items the program adds.
enum SystemCommand : int
{
    kFullScreenCommand = 1201,
    kCancelTitleColorCommand = 1202,
    kSetTitleColorCommand = 1203,
    kHelpCommand = 1204,
    kSizeCommand = 0xF000,
    kMoveCommand = 0xF010,
    kMinimizeCommand = 0xF020,
    kMaximizeCommand = 0xF030,
    kCloseCommand = 0xF060,
    kRestoreCommand = 0xF120,
};

/// The window's system menu: Restore, Move, Size, Minimise, Maximise, then 1202, 1203, 1201,
/// 1204, then Close; each action's data is its id. The window commands are enabled as the state
/// of `parent`'s window allows (Restore only when maximised or minimised, Move and Size only in
/// the normal state, Minimise and Maximise unless the window already is so).
QMenu* CreateSystemMenu(QWidget* parent);

} // namespace lectoria::ui
