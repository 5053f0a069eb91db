#include "CSpecialListBox.h"

#include <initializer_list>

#include <QMenu>
#include <QMessageBox>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using lectoria::ui::CSpecialListBox;
using lectoria::ui::SentenceListOwner;

namespace {

QStringList Strings(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts) {
        list << QString::fromUtf8(text);
    }
    return list;
}

class RecordingOwner : public SentenceListOwner
{
public:
    void UpdatePlaylist() override { ++updates; }
    void OpenText() override { ++openTexts; }
    void OpenTopic() override { ++openTopics; }
    void ShowHelp() override { ++helps; }
    bool IsTopicMode() const override { return topicMode; }
    void ReloadLesson() override { ++reloads; }

    int updates = 0;
    int openTexts = 0;
    int openTopics = 0;
    int helps = 0;
    int reloads = 0;
    bool topicMode = false;
};

class SentenceListTest : public testing::Test
{
protected:
    SentenceListTest() : m_list(m_owner)
    {
        for (const char* text : {"a", "b", "c", "d", "e"}) {
            auto* item = new QListWidgetItem(QString::fromLatin1(text), &m_list);
            item->setData(CSpecialListBox::PathRole,
                          QString(QStringLiteral("Book\\Lesson 1 x\\") + QLatin1String(text)));
            item->setData(CSpecialListBox::HighlightRole, QString(QStringLiteral("note ") + QLatin1String(text)));
        }
        m_list.resize(200, 120);
        m_list.show();
    }

    QStringList Texts() const
    {
        QStringList texts;
        for (int row = 0; row < m_list.count(); ++row) {
            texts << m_list.item(row)->text();
        }
        return texts;
    }
    QStringList Notes() const
    {
        QStringList notes;
        for (int row = 0; row < m_list.count(); ++row) {
            notes << m_list.item(row)->data(CSpecialListBox::HighlightRole).toString();
        }
        return notes;
    }
    QPoint Centre(int row) const { return m_list.visualItemRect(m_list.item(row)).center(); }

    RecordingOwner m_owner;
    CSpecialListBox m_list;
};

TEST_F(SentenceListTest, AClickTogglesTheItemAndUpdatesThePlaylist)
{
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, Centre(1));
    EXPECT_TRUE(m_list.item(1)->isSelected());
    EXPECT_EQ(Texts(), Strings({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(m_owner.updates, 1);
    QTest::mouseClick(m_list.viewport(), Qt::LeftButton, {}, Centre(1));
    EXPECT_FALSE(m_list.item(1)->isSelected());
}

TEST_F(SentenceListTest, DeletingSelectedItemsTakesTheirDataAlong)
{
    m_list.item(1)->setSelected(true);
    m_list.item(3)->setSelected(true);
    m_list.DeleteSelectedItems();
    EXPECT_EQ(Texts(), Strings({"a", "c", "e"}));
    EXPECT_EQ(Notes(), Strings({"note a", "note c", "note e"}));
    EXPECT_GE(m_owner.updates, 1);
}

TEST_F(SentenceListTest, MovingTheCurrentItemSelectsItAndStopsAtTheEnds)
{
    m_list.setCurrentRow(0, QItemSelectionModel::NoUpdate);
    m_list.MoveSelectedUp();
    EXPECT_EQ(Texts(), Strings({"a", "b", "c", "d", "e"}));
    m_list.MoveSelectedDown();
    EXPECT_EQ(Texts(), Strings({"b", "a", "c", "d", "e"}));
    EXPECT_EQ(Notes().at(1), QStringLiteral("note a"));
    EXPECT_TRUE(m_list.item(1)->isSelected());
    m_list.setCurrentRow(4, QItemSelectionModel::NoUpdate);
    m_list.MoveSelectedDown();
    EXPECT_EQ(Texts().last(), QStringLiteral("e"));
}

struct MoveCase
{
    int source;
    int target;
    QStringList result;
};

TEST_F(SentenceListTest, DropMovesLikeTheOriginalList)
{
    const MoveCase cases[] = {
        {1, 3, Strings({"a", "c", "b", "d", "e"})},  // the second item onto the fourth lands third
        {1, -1, Strings({"a", "c", "d", "e", "b"})}, // into the empty area: the last item
        {3, 0, Strings({"d", "a", "b", "c", "e"})},  // the fourth onto the first lands first
        {2, 2, Strings({"a", "b", "c", "d", "e"})},  // onto itself: nothing moves
    };
    for (const MoveCase& c : cases) {
        while (m_list.count() > 0) {
            delete m_list.takeItem(0);
        }
        for (const char* text : {"a", "b", "c", "d", "e"}) {
            auto* item = new QListWidgetItem(QString::fromLatin1(text), &m_list);
            item->setData(CSpecialListBox::HighlightRole, QString(QStringLiteral("note ") + QLatin1String(text)));
        }
        m_list.MoveItem(c.source, c.target);
        EXPECT_EQ(Texts(), c.result) << c.source << " -> " << c.target;
        for (int row = 0; row < m_list.count(); ++row) {
            EXPECT_EQ(m_list.item(row)->data(CSpecialListBox::HighlightRole).toString(),
                      QStringLiteral("note ") + m_list.item(row)->text());
        }
    }
}

TEST_F(SentenceListTest, DraggingWithTheMouseReordersWithoutSweepingASelection)
{
    QTest::mousePress(m_list.viewport(), Qt::LeftButton, {}, Centre(1));
    QMouseEvent move(QEvent::MouseMove, QPointF(Centre(3)), m_list.viewport()->mapToGlobal(QPointF(Centre(3))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_list.viewport(), &move);
    EXPECT_EQ(m_list.dropTarget(), 3);
    QTest::mouseRelease(m_list.viewport(), Qt::LeftButton, {}, Centre(3));
    EXPECT_EQ(Texts(), Strings({"a", "c", "b", "d", "e"}));
    EXPECT_FALSE(m_list.item(3)->isSelected());
    EXPECT_FALSE(m_list.item(1)->isSelected());
}

TEST(AutoScroll, DraggingBelowALongListScrollsItAndDropsOnAnItemThatWasOutOfView)
{
    RecordingOwner owner;
    CSpecialListBox list(owner);
    for (int k = 0; k < 60; ++k) {
        new QListWidgetItem(QStringLiteral("item %1").arg(k), &list);
    }
    list.resize(200, 120);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QWidget* viewport = list.viewport();
    const int rowHeight = list.visualItemRect(list.item(0)).height();
    const int visibleRows = viewport->height() / rowHeight;
    ASSERT_LT(visibleRows, 20);
    auto moveTo = [viewport](QPoint point) {
        QMouseEvent move(QEvent::MouseMove, QPointF(point), viewport->mapToGlobal(QPointF(point)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    };

    // Pick up item 1 and hold it 50 pixels below the list while the auto-scroll timer runs.
    const QPoint start = list.visualItemRect(list.item(1)).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, start);
    moveTo(start + QPoint(0, rowHeight));
    const QPoint below(start.x(), viewport->height() + 50);
    moveTo(below);
    ASSERT_TRUE(QTest::qWaitFor([&list] { return list.verticalScrollBar()->value() >= 20; }, 5000))
        << "no auto-scroll; scrolled to " << list.verticalScrollBar()->value();
    // The drop target travels with the view and never stands on an item out of sight.
    const int target = list.dropTarget();
    ASSERT_GE(target, 0);
    EXPECT_TRUE(viewport->rect().intersects(list.visualItemRect(list.item(target)))) << target;

    // Back over the list the scrolling stops; the item lands on the row under the pointer.
    const QPoint landing(start.x(), viewport->height() / 2);
    moveTo(landing);
    EXPECT_EQ(list.scrollInterval(), 0);
    const int onto = list.row(list.itemAt(landing));
    EXPECT_GT(onto, visibleRows) << "the drop row was out of view when the drag began";
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, landing);
    EXPECT_EQ(list.item(onto - 1)->text(), QStringLiteral("item 1"));
    EXPECT_EQ(list.count(), 60);
}

TEST(AutoScroll, IntervalShrinksWithTheDistance)
{
    EXPECT_EQ(CSpecialListBox::AutoScrollInterval(50, 16), 62);
    EXPECT_EQ(CSpecialListBox::AutoScrollInterval(10, 16), 250);
    EXPECT_EQ(CSpecialListBox::AutoScrollInterval(0, 16), 250);
}

TEST_F(SentenceListTest, ArrangeReloadsInTextModeAndRefusesInTopicMode)
{
    m_list.ArrangeTexts();
    EXPECT_EQ(m_owner.reloads, 1);
    m_owner.topicMode = true;
    // The refusal is a message box; close it as a user would.
    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget)) {
                EXPECT_EQ(box->text(), QStringLiteral("主题播放状态下不能排列文本"));
                box->accept();
            }
        }
    });
    m_list.ArrangeTexts();
    EXPECT_EQ(m_owner.reloads, 1);
    EXPECT_EQ(Texts(), Strings({"a", "b", "c", "d", "e"}));
}

TEST_F(SentenceListTest, ContextMenuHoldsEveryCommandInOrder)
{
    QMenu* menu = m_list.CreateContextMenu();
    QStringList texts;
    int separators = 0;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            ++separators;
        } else {
            texts << action->text();
        }
    }
    EXPECT_EQ(texts,
              Strings({"选择全部(&A)", "全部不选(&N)", "删除全部(&G)", "删除选中(&W)", "上移选中(&U)", "下移选中(&D)",
                       "打开文本(&T)", "打开专题(&B)", "导入课文(&I)", "排列文本(&S)", "选择颜色(&C)", "帮助系统"}));
    EXPECT_EQ(separators, 7);
    for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("打开专题(&B)")) {
            action->trigger();
        }
        if (action->text() == QStringLiteral("选择全部(&A)")) {
            action->trigger();
        }
    }
    EXPECT_EQ(m_owner.openTopics, 1);
    EXPECT_EQ(m_list.selectedItems().size(), 5);
    delete menu;
}

} // namespace

namespace {

std::vector<std::string> Results(int count, const std::string& lesson)
{
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i) {
        items.push_back("Book\\" + lesson + "\\" + std::to_string(i) + " Sentence " + std::to_string(i) + ".");
    }
    return items;
}

TEST_F(SentenceListTest, ALongFillOfResultsLetsTheEventLoopRunAndEndsWhole)
{
    const int total = 2 * CSpecialListBox::kFillChunk + 7;
    std::vector<std::string> highlights(static_cast<std::size_t>(total), "sentence?");
    std::vector<int> progress;
    QObject::connect(&m_list, &CSpecialListBox::fillProgress, [&progress](int done, int) { progress.push_back(done); });
    int turnsWhileFilling = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [this, &turnsWhileFilling] { turnsWhileFilling += m_list.filling(); });
    ticker.start(0);
    int done = 0;
    m_list.FillResults(Results(total, "Lesson 1 x"), highlights, [&done] { ++done; });

    // The call hands back before the list is whole; the list takes no input meanwhile.
    EXPECT_TRUE(m_list.filling());
    EXPECT_FALSE(m_list.isEnabled());
    EXPECT_EQ(done, 0);
    ASSERT_TRUE(QTest::qWaitFor([&done] { return done == 1; }, 20000));
    EXPECT_GT(turnsWhileFilling, 0);
    EXPECT_FALSE(m_list.filling());
    EXPECT_TRUE(m_list.isEnabled());
    EXPECT_EQ(progress, (std::vector<int>{CSpecialListBox::kFillChunk, 2 * CSpecialListBox::kFillChunk, total}));
    ASSERT_EQ(m_list.count(), total);
    for (int row : {0, CSpecialListBox::kFillChunk, total - 1}) {
        const std::string title = std::to_string(row) + " Sentence " + std::to_string(row) + ".";
        EXPECT_EQ(m_list.item(row)->text().toStdString(), title);
        EXPECT_EQ(m_list.item(row)->data(CSpecialListBox::PathRole).toString().toStdString(),
                  "Book\\Lesson 1 x\\" + title);
        EXPECT_EQ(m_list.item(row)->data(CSpecialListBox::HighlightRole).toString(), QStringLiteral("sentence?"));
    }
    QTest::qWait(10);
    EXPECT_EQ(done, 1);
}

TEST_F(SentenceListTest, ALongLastTitleBringsNoHorizontalScrollBar)
{
    std::vector<std::string> items = Results(30, "Lesson 1 x");
    items.push_back("Book\\Lesson 1 x\\31 When I first moved to the city I had no idea how loud the nights would be.");
    m_list.FillResults(items, {}, [] {});
    QApplication::processEvents();
    EXPECT_FALSE(m_list.horizontalScrollBar()->isVisible());
    EXPECT_TRUE(m_list.verticalScrollBar()->isVisible());
}

TEST_F(SentenceListTest, ALaterFillOrClearAbandonsAnUnfinishedOne)
{
    int firstDone = 0;
    int secondDone = 0;
    m_list.FillResults(Results(CSpecialListBox::kFillChunk + 1, "Lesson 1 x"), {}, [&firstDone] { ++firstDone; });
    ASSERT_TRUE(m_list.filling());
    // A short fill is whole at once, and the long one never finishes into it.
    m_list.FillResults(Results(3, "Lesson 2 y"), {"a?", "b?", "c?"}, [&secondDone] { ++secondDone; });
    EXPECT_EQ(secondDone, 1);
    EXPECT_FALSE(m_list.filling());
    EXPECT_TRUE(m_list.isEnabled());
    QTest::qWait(50);
    EXPECT_EQ(firstDone, 0);
    EXPECT_EQ(Texts(), Strings({"0 Sentence 0.", "1 Sentence 1.", "2 Sentence 2."}));
    EXPECT_EQ(Notes(), Strings({"a?", "b?", "c?"}));

    m_list.FillResults(Results(CSpecialListBox::kFillChunk + 1, "Lesson 1 x"), {}, [&firstDone] { ++firstDone; });
    m_list.DeleteAllItems();
    QTest::qWait(50);
    EXPECT_EQ(firstDone, 0);
    EXPECT_EQ(m_list.count(), 0);
    EXPECT_TRUE(m_list.isEnabled());
}

} // namespace
