// The main window under the pointer and at its edges: splitter drags that stray off the panes,
// the volume slider dragged out of its column, the smallest window size, the system menu's
// window commands and the tool-tip delay.
#include "CParlivoDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTextEdit>
#include <QToolTip>

#include <gtest/gtest.h>

#include "CVolumeControl.h"
#include "FakeMediaPlayer.h"
#include "QSettingsProfile.h"
#include "MainWindowTesting.h"
#include "TempFolder.h"
#include "TitleBar.h"
#include "WindowCommands.h"

using namespace lectoria;
using namespace lectoria::ui;
using lectoria::test::FakeMediaPlayer;
using lectoria::test::TempFolder;

namespace {

class WindowInteraction : public testing::Test
{
protected:
    WindowInteraction()
    {
        m_folder.Write("profile.ini", "[kelvaro]\n");
        m_window = test::OpenMainWindow(m_folder.path(), &m_player, m_profile,
                                        (m_folder.path() / "program").string() + "/", QSize(1000, 712));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    QWidget* Client() const { return m_window->clientArea(); }
    const PaneLayout& Layout() const { return m_window->paneLayout(); }

    /// Presses at `from`, moves through `path` and releases at the last point, all in client
    /// coordinates, as a hand on the mouse does.
    void Drag(QPoint from, const std::vector<QPoint>& path)
    {
        QTest::mousePress(Client(), Qt::LeftButton, {}, from);
        for (const QPoint& point : path) {
            QTest::mouseMove(Client(), point);
        }
        QTest::mouseRelease(Client(), Qt::LeftButton, {}, path.back());
    }

    TempFolder m_folder;
    FakeMediaPlayer m_player;
    std::unique_ptr<platform::QSettingsProfile> m_profile;
    std::unique_ptr<CParlivoDlg> m_window;
};

TEST_F(WindowInteraction, SplitterDropsWhereItsLineWasWhenThePointerStraysOffTheOtherAxis)
{
    ASSERT_EQ(Client()->size(), QSize(1000, 680));
    const int listMiddle = Layout().listArea.center().x();
    const int panesMiddle = (Layout().listArea.y() + BottomOf(Layout().listArea)) / 2;

    // The lower splitter released at mid-height with the pointer over the list.
    const QPoint lower = Layout().lowerSplitter.center();
    Drag(lower, {lower + QPoint(0, 40), QPoint(lower.x(), panesMiddle), QPoint(listMiddle, panesMiddle)});
    EXPECT_EQ(Layout().grammarPane.y(), panesMiddle);

    // The list splitter released just below the panes.
    const QPoint list = Layout().verticalSplitter.center();
    const int listRight = 400;
    Drag(list, {QPoint(listRight, list.y()), QPoint(listRight, BottomOf(Layout().listArea) + 8)});
    EXPECT_EQ(RightOf(Layout().listArea), listRight);

    // The upper splitter released right of the window's panes, inside its limits in height.
    const QPoint upper = Layout().upperSplitter.center();
    const int wholeBottom = Layout().wholePane.y() + 60;
    Drag(upper, {QPoint(upper.x(), wholeBottom), QPoint(RightOf(Layout().rightColumn) + 5, wholeBottom)});
    EXPECT_EQ(BottomOf(Layout().wholePane), wholeBottom);

    // Beyond the limit on the dragged axis the drop still stops at the limit.
    const QPoint again = Layout().lowerSplitter.center();
    Drag(again, {QPoint(listMiddle, BottomOf(Layout().listArea) + 30)});
    EXPECT_EQ(Layout().grammarPane.height(), layout::kPaneDragLimit);
}

TEST_F(WindowInteraction, VolumeSliderKeepsTheMouseUntilReleaseWhereverThePointerGoes)
{
    QPushButton* volumeButton = m_window->button(1087);
    QTest::mouseMove(volumeButton, volumeButton->rect().center());
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->volumePopup() != nullptr; }, 2000));
    CVolumeControl* popup = m_window->volumePopup();
    ASSERT_TRUE(QTest::qWaitFor([popup] { return popup->isGrown(); }, 5000));
    const QPointer<QSlider> slider = popup->slider();
    QTest::mouseMove(slider, QPoint(slider->width() / 2, slider->height() / 2));
    const int startValue = slider->value();

    // Full volume puts the handle at the top; grab it there and pull it down past the middle,
    // drifting far to the left of the 32-pixel column.
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, 5));
    ASSERT_TRUE(slider->isSliderDown());
    QTest::mouseMove(slider, QPoint(slider->width() / 2 - 20, 30));
    QTest::mouseMove(slider, QPoint(-200, slider->height() * 3 / 4));
    ASSERT_EQ(m_window->volumePopup(), popup) << "the popup vanished mid-drag";
    EXPECT_TRUE(popup->isVisible());
    EXPECT_GT(slider->value(), startValue + 20000);

    // Let go out there: the drag is over and the popup goes.
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(-200, slider->height() * 3 / 4));
    EXPECT_EQ(m_window->volumePopup(), nullptr);
    QTest::qWait(1);
    EXPECT_TRUE(slider.isNull());
}

TEST_F(WindowInteraction, AtItsSmallestSizeEveryControlStaysUsable)
{
    for (const QSize tooSmall : {QSize(400, 300), QSize(200, 150)}) {
        m_window->resize(tooSmall);
        QTest::qWait(1);
        EXPECT_GE(m_window->width(), m_window->minimumWidth());
        EXPECT_GE(m_window->height(), m_window->minimumHeight());
        EXPECT_GT(m_window->width(), tooSmall.width());
    }
    ASSERT_EQ(m_window->size(), m_window->minimumSize());
    m_window->LayoutPanes();

    // The bottom bar: every button, list and caption is shown, inside the client area, and none
    // covers another.
    std::vector<std::pair<std::string, QWidget*>> controls = {{"repeat list", m_window->repeatList()},
                                                              {"interval list", m_window->intervalList()},
                                                              {"speed list", m_window->speedList()},
                                                              {"shadowing switch", m_window->shadowButton()}};
    for (int id : {1010, 1011, 1082, 1083, 1084, 1085, 1086, 1087, 1088}) {
        controls.emplace_back("button " + std::to_string(id), m_window->button(id));
    }
    for (QLabel* caption : Client()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        controls.emplace_back("caption " + caption->text().toStdString(), caption);
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const auto& [name, control] = controls[i];
        EXPECT_TRUE(control->isVisible()) << name;
        EXPECT_TRUE(Client()->rect().contains(control->geometry())) << name;
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(control->geometry().intersects(controls[j].second->geometry()))
                << name << " covers " << controls[j].first;
        }
    }
    // The panes keep room to read in, and the volume popup room to grow.
    EXPECT_GE(m_window->currentSentencePane()->height(), layout::kPaneDragLimit);
    EXPECT_GE(Layout().volumeArea.y(), 0);

    // The title: caption, help label and the window buttons (which touch one another) apart.
    const TitleBar* bar = m_window->titleBar();
    const QRect buttons = bar->buttonRect(TitleBar::Minimize) | bar->buttonRect(TitleBar::Close);
    const QRect parts[] = {bar->captionRect(), bar->helpLabelRect(), buttons};
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        EXPECT_TRUE(bar->rect().contains(parts[i])) << i;
        for (std::size_t j = i + 1; j < std::size(parts); ++j) {
            EXPECT_FALSE(parts[i].intersects(parts[j])) << i << " and " << j;
        }
    }
}

/// The system menu's commands by id, and which of them are enabled.
std::vector<std::pair<int, bool>> MenuStates(QMenu& menu)
{
    std::vector<std::pair<int, bool>> states;
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            states.emplace_back(action->data().toInt(), action->isEnabled());
        }
    }
    return states;
}

TEST_F(WindowInteraction, SystemMenuWindowCommandsFollowTheWindowState)
{
    std::unique_ptr<QMenu> normal(m_window->commands().CreateSystemMenu(m_window.get()));
    const std::vector<std::pair<int, bool>> normalStates = {
        {kRestoreCommand, false},      {kMoveCommand, true},       {kSizeCommand, true},
        {kMinimizeCommand, true},      {kMaximizeCommand, true},   {kCancelTitleColorCommand, true},
        {kSetTitleColorCommand, true}, {kFullScreenCommand, true}, {kHelpCommand, true},
        {kCloseCommand, true},
    };
    EXPECT_EQ(MenuStates(*normal), normalStates);

    m_window->commands().Run(kMaximizeCommand);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->isMaximized(); }, 2000));
    std::unique_ptr<QMenu> maximized(m_window->commands().CreateSystemMenu(m_window.get()));
    const std::vector<std::pair<int, bool>> maximizedStates = {
        {kRestoreCommand, true},       {kMoveCommand, false},      {kSizeCommand, false},
        {kMinimizeCommand, true},      {kMaximizeCommand, false},  {kCancelTitleColorCommand, true},
        {kSetTitleColorCommand, true}, {kFullScreenCommand, true}, {kHelpCommand, true},
        {kCloseCommand, true},
    };
    EXPECT_EQ(MenuStates(*maximized), maximizedStates);

    m_window->commands().Run(kRestoreCommand);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_window->isMaximized(); }, 2000));
    m_window->commands().Run(kMinimizeCommand);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->isMinimized(); }, 2000));
    m_window->commands().Run(kRestoreCommand);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_window->isMinimized(); }, 2000));
    QTest::qWait(150); // the relayout after a state change
}

TEST_F(WindowInteraction, MoveAndSizeFromTheSystemMenuFollowThePointerUntilAClick)
{
    m_window->move(100, 100);
    const QRect before = m_window->geometry();
    m_window->commands().Run(kMoveCommand);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->titleBar()->isTrackingMenuCommand(); }, 1000));
    // The pointer starts at the middle of the title bar; the window keeps that grip.
    const QPoint grip = m_window->titleBar()->mapToGlobal(m_window->titleBar()->rect().center());
    QTest::mouseMove(m_window.get(), m_window->mapFromGlobal(grip + QPoint(30, 20)));
    // QTest hands presses to the widget it is given; the window system gives them to the grabber.
    QWidget* grabber = QWidget::mouseGrabber();
    ASSERT_NE(grabber, nullptr);
    QTest::mouseClick(grabber, Qt::LeftButton, {}, grabber->mapFromGlobal(grip + QPoint(30, 20)));
    EXPECT_FALSE(m_window->titleBar()->isTrackingMenuCommand());
    EXPECT_EQ(m_window->pos(), before.topLeft() + QPoint(30, 20));

    // Size: the bottom-right corner follows; Escape puts the window back. (The offscreen platform
    // delivers no pointer moves outside the window, so the test shrinks it.)
    const QRect moved = m_window->geometry();
    m_window->commands().Run(kSizeCommand);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->titleBar()->isTrackingMenuCommand(); }, 1000));
    const QPoint corner(moved.x() + moved.width() - 1, moved.y() + moved.height() - 1);
    QTest::mouseMove(m_window.get(), m_window->mapFromGlobal(corner + QPoint(-50, -40)));
    EXPECT_EQ(m_window->size(), moved.size() - QSize(50, 40));
    ASSERT_EQ(QWidget::keyboardGrabber(), m_window->titleBar());
    QTest::keyClick(QWidget::keyboardGrabber(), Qt::Key_Escape);
    EXPECT_FALSE(m_window->titleBar()->isTrackingMenuCommand());
    EXPECT_EQ(m_window->geometry(), moved);
}

TEST_F(WindowInteraction, ButtonTipsAppearAfterTheShortDelay)
{
    QPushButton* start = m_window->button(1082);
    QTest::mouseMove(m_window.get(), QPoint(5, 300));
    QTest::mouseMove(start, start->rect().center());
    // The usual style delay is 700 ms; the program's is far shorter.
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 300));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("开始朗读,热键为F2"));
    QToolTip::hideText();
    QTest::qWait(1);
}

} // namespace
