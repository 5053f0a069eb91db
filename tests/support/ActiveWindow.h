#pragma once

#include <QTest>
#include <QWidget>

namespace lectoria::test {

/// Shows a window and waits until it is the active one, as a user's window is when they type:
/// the window's keys reach it only then.
inline bool ShowActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

} // namespace lectoria::test
