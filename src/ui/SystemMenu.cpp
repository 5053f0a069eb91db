#include "SystemMenu.h"

#include <QMenu>
#include <QWidget>

#include "ButtonStyle.h"

namespace lectoria::ui {

QMenu* CreateSystemMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    struct Item
    {
        int id;
        const char* text;
        bool enabled;
    };
    const QWidget* window = parent != nullptr ? parent->window() : nullptr;
    const Qt::WindowStates state = window != nullptr ? window->windowState() : Qt::WindowStates();
    const bool maximized = state & (Qt::WindowMaximized | Qt::WindowFullScreen);
    const bool minimized = state & Qt::WindowMinimized;
    const bool normal = !maximized && !minimized;
    const bool resizable = window == nullptr || window->minimumSize() != window->maximumSize();
    const Item windowItems[] = {
        {kRestoreCommand, "还原(&R)", !normal},
        {kMoveCommand, "移动(&M)", normal},
        {kSizeCommand, "大小(&S)", normal && resizable},
        {kMinimizeCommand, "最小化(&N)", !minimized},
        {kMaximizeCommand, "最大化(&X)", !maximized && resizable},
    };
    for (const Item& item : windowItems) {
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        action->setData(item.id);
        action->setEnabled(item.enabled);
    }
    menu->addSeparator();
    const Item programItems[] = {
        {kCancelTitleColorCommand, "取消标题栏颜色(&Q)", true},
        {kSetTitleColorCommand, "设置标题栏颜色(&C)", true},
        {kFullScreenCommand, "全屏显示开关(&F)       F8", true},
        {kHelpCommand, "帮助系统", true},
    };
    for (const Item& item : programItems) {
        QAction* action = menu->addAction(CommandIcon(item.id), QString::fromUtf8(item.text));
        action->setData(item.id);
    }
    menu->addSeparator();
    QAction* close = menu->addAction(QStringLiteral("关闭(&C)\tAlt+F4"));
    close->setData(static_cast<int>(kCloseCommand));
    return menu;
}

} // namespace lectoria::ui
