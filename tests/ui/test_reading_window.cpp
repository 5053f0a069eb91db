// The main window as a reader uses it: selecting, the reading keys, the panes, the status line
// and notes that survive a restart.
#include "CParlivoDlg.h"

#include <chrono>
#include <filesystem>

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

#include "FakeMediaPlayer.h"
#include "QSettingsProfile.h"
#include "MainWindowTesting.h"
#include "TempFolder.h"
#include "notes/LessonNotes.h"
#include "library/Library.h"

using namespace lectoria;
using lectoria::test::FakeMediaPlayer;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

class ReadingWindowTest : public testing::Test
{
protected:
    ReadingWindowTest()
    {
        for (const char* title : {"01 Excuse me!", "02 Yes^", "03 Is this your", "04 handbag^", "05 Thank you."}) {
            m_folder.Write(fs::path("program") / library::NativeRelativePath(library::kDefaultLesson) /
                               (std::string(title) + ".sau"),
                           "audio");
        }
        notes::CreateNoteFile(library::NoteFileOf(Lesson()), {{1, "感叹句"}, {3, "一般疑问句"}, {5, "礼貌用语"}});
        Open();
    }

    /// Starts the window as a user would: the restore selects everything and starts reading.
    /// `idle` then stops and deselects, so a test starts from a quiet window.
    void Open(bool idle = true)
    {
        m_window.reset();
        m_window = test::OpenMainWindow(m_folder.path(), &m_player, m_profile,
                                        (m_folder.path() / "program").string() + "/", QSize(900, 600));
        m_window->RestoreLastState();
        if (idle) {
            Key(Qt::Key_F4);
            m_window->sentenceList()->SelectNoItems();
            m_player.opened.clear();
        }
    }

    void Close()
    {
        m_window->close();
        m_window.reset();
    }

    std::string Lesson() const
    {
        return (m_folder.path() / "program").string() + "/" + library::NativeRelativePath(library::kDefaultLesson);
    }
    QListWidget* List() const { return m_window->sentenceList(); }
    void SelectAll() const { List()->selectAll(); }
    void Key(int key) const { QTest::keyClick(List(), static_cast<Qt::Key>(key)); }

    TempFolder m_folder;
    FakeMediaPlayer m_player;
    std::unique_ptr<platform::QSettingsProfile> m_profile;
    std::unique_ptr<ui::CParlivoDlg> m_window;
};

TEST_F(ReadingWindowTest, ReadingKeysWorkFromTheListAndEscapeIsSwallowed)
{
    SelectAll();
    Key(Qt::Key_F2);
    EXPECT_TRUE(m_window->readingLoop().isReading());
    ASSERT_EQ(m_player.opened.size(), 1u);
    EXPECT_EQ(fs::path(m_player.opened[0]).parent_path().filename(), "TemporaryQenReading");
    Key(Qt::Key_PageDown);
    EXPECT_EQ(m_window->settings().nNowPlayNum, 2);
    EXPECT_EQ(m_player.opened.size(), 2u);
    Key(Qt::Key_Escape);
    EXPECT_TRUE(m_window->isVisible());
    Key(Qt::Key_F4);
    EXPECT_FALSE(m_window->readingLoop().isReading());
    EXPECT_EQ(m_window->settings().nNowPlayNum, 1);
}

TEST_F(ReadingWindowTest, PageKeysMoveTheSentenceAndStillReachTheFocusedControl)
{
    SelectAll();
    // The list: PageDown shows the next sentence and also moves the list's current row.
    List()->setFocus();
    List()->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(m_window->settings().nNowPlayNum, 2);
    EXPECT_GT(List()->currentRow(), 0);

    // A focused drop-down list keeps its own use of the key: the repeat count moves a page, and
    // so does the sentence.
    QComboBox* repeat = m_window->repeatList();
    repeat->setFocus();
    const int repeatBefore = repeat->currentIndex();
    QTest::keyClick(repeat, Qt::Key_PageDown);
    EXPECT_EQ(m_window->settings().nNowPlayNum, 3);
    EXPECT_GT(repeat->currentIndex(), repeatBefore);

    // The reading keys that are commands only: F4 in the drop-down list stops reading.
    Key(Qt::Key_F2);
    ASSERT_TRUE(m_window->readingLoop().isReading());
    QTest::keyClick(repeat, Qt::Key_F4);
    EXPECT_FALSE(m_window->readingLoop().isReading());
}

TEST_F(ReadingWindowTest, ButtonsDriveTheLoop)
{
    SelectAll();
    QTest::mouseClick(m_window->button(1082), Qt::LeftButton);
    EXPECT_TRUE(m_window->readingLoop().isReading());
    QTest::mouseClick(m_window->button(1085), Qt::LeftButton);
    EXPECT_EQ(m_window->settings().nNowPlayNum, 5);
    QTest::mouseClick(m_window->button(1083), Qt::LeftButton);
    EXPECT_FALSE(m_window->readingLoop().isReading());
    EXPECT_EQ(m_window->settings().nNowPlayNum, 5);
}

TEST_F(ReadingWindowTest, StatusLineFollowsTheSelectionAndReading)
{
    const std::string lesson = "当前课文:New Concept English Book 1 Lesson 001 Excuse me ";
    EXPECT_EQ(m_window->statusLine()->text().toStdString(), lesson + "未选择");
    SelectAll();
    EXPECT_EQ(m_window->statusLine()->text().toStdString(), lesson + "共选择5句,当前显示第1句.");
    Key(Qt::Key_F2);
    EXPECT_EQ(m_window->statusLine()->text().toStdString(), lesson + "共选择5句,正第1次朗读第1句.");
}

TEST_F(ReadingWindowTest, PanesShowThePieceTheWrittenSentenceAndTheNote)
{
    SelectAll();
    // A short sentence's fitted type runs a few dots past its pane: no scroll bar may appear for it.
    ASSERT_EQ(m_window->wholeSentencePane()->toPlainText(), QStringLiteral("Excuse me!"));
    for (QTextEdit* pane : {m_window->wholeSentencePane(), m_window->currentSentencePane()}) {
        EXPECT_FALSE(pane->verticalScrollBar()->isVisible());
        EXPECT_FALSE(pane->horizontalScrollBar()->isVisible());
    }
    Key(Qt::Key_PageDown);
    Key(Qt::Key_PageDown);
    Key(Qt::Key_PageDown); // piece 4 "handbag?" of "Is this your handbag?"
    EXPECT_EQ(m_window->currentSentencePane()->toPlainText(), QStringLiteral("handbag?"));
    QTextEdit* whole = m_window->wholeSentencePane();
    EXPECT_EQ(whole->toPlainText(), QStringLiteral("Is this your handbag?"));
    const QTextBlock block = whole->document()->firstBlock();
    auto colourAt = [&block](int position) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() <= position && position < fragment.position() + fragment.length()) {
                return fragment.charFormat().foreground().color();
            }
        }
        return QColor();
    };
    EXPECT_EQ(colourAt(0), QColor(0, 0, 255));  // the sentence around the piece
    EXPECT_EQ(colourAt(14), QColor(255, 0, 0)); // the current piece
    EXPECT_TRUE(m_window->grammarPane()->toPlainText().isEmpty());
    Key(Qt::Key_PageUp);
    EXPECT_EQ(m_window->currentSentencePane()->toPlainText(), QStringLiteral("Is this your "));
    EXPECT_EQ(m_window->grammarPane()->toPlainText(), QStringLiteral("一般疑问句"));
    // Showing moves the focus off the panes.
    EXPECT_FALSE(m_window->grammarPane()->hasFocus());
}

TEST_F(ReadingWindowTest, AnEditedNoteWithALineBreakSurvivesARestartAndMovesNoOtherNote)
{
    SelectAll();
    Key(Qt::Key_PageDown); // sentence 2, no note yet
    m_window->grammarPane()->setPlainText(QStringLiteral("Yes? 升调\n表示询问"));
    Close();
    const notes::LessonNotes saved(Lesson());
    const std::vector<std::string> expected{"感叹句", "Yes? 升调\n表示询问", "一般疑问句", "", "礼貌用语"};
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(saved.NoteText(k), expected[static_cast<std::size_t>(k - 1)]) << k;
    }
    Open(false); // reading resumes at the saved position, sentence 2
    EXPECT_TRUE(m_window->readingLoop().isReading());
    EXPECT_EQ(m_window->settings().nNowPlayNum, 2);
    EXPECT_EQ(m_window->grammarPane()->toPlainText(), QStringLiteral("Yes? 升调\n表示询问"));
}

TEST_F(ReadingWindowTest, HoveringAnItemShowsItsTextInTheStatusLine)
{
    QListWidgetItem* item = List()->item(3);
    emit List()->entered(List()->indexFromItem(item));
    EXPECT_EQ(m_window->statusLine()->text(), QStringLiteral("04 handbag?"));
    QTest::mouseMove(m_window->grammarPane()->viewport());
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(m_window->grammarPane()->viewport(), &move);
    EXPECT_TRUE(m_window->statusLine()->text().startsWith(QStringLiteral("当前课文:")))
        << m_window->statusLine()->text().toStdString();
}

TEST_F(ReadingWindowTest, IntervalWaitsAreNeverShorterThanAsked)
{
    reading::IReadingClock& clock = m_window->reading();
    for (const int ms : {2000, 3000}) {
        // Qt moves a coarse timer's wake-up to a nearby full second of the monotonic clock, so a
        // wait that starts just after one is where an early end would show.
        using namespace std::chrono;
        while (duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count() % 1000 != 50) {
            QTest::qSleep(1);
        }
        QElapsedTimer elapsed;
        elapsed.start();
        clock.WaitPumping(ms);
        EXPECT_GE(elapsed.elapsed(), ms);
    }
}

} // namespace
