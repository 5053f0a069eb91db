// The start-up restore in both modes, the open-text and open-topic commands, and the window's
// own commands: pane toggles, the full-screen view, colours and the title bar.
#include "CParlivoDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include "CProgressCtrlStart.h"
#include "CSelectSubjectDlg.h"
#include "CSelectTextDlg.h"
#include "FakeMediaPlayer.h"
#include "Gb18030.h"
#include "QSettingsProfile.h"
#include "MainWindowTesting.h"
#include "TempFolder.h"
#include "TitleBar.h"
#include "WindowCommands.h"
#include "notes/LessonNotes.h"
#include "library/Library.h"

using namespace lectoria;
using lectoria::test::FakeMediaPlayer;
using lectoria::test::Gb18030;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

class WindowFixture : public testing::Test
{
protected:
    WindowFixture()
    {
        const fs::path one = fs::path("program") / "New Concept English Book 1";
        for (const char* title : {"01 Excuse me!", "02 Yes^", "03 He has lost it.", "04 Thanks.", "05 Bye."}) {
            m_folder.Write(one / "Lesson 001 Excuse me" / (std::string(title) + ".sau"));
        }
        for (const char* title : {"01 She has gone home.", "02 Where is it^"}) {
            m_folder.Write(one / "Lesson 002 Other" / (std::string(title) + ".sau"));
        }
    }

    std::string Root() const { return (m_folder.path() / "program").string() + "/"; }
    std::string DefaultLesson() const { return Root() + library::NativeRelativePath(library::kDefaultLesson); }

    void Open(const std::string& profile)
    {
        m_window.reset(); // it saves into the profile it was given
        m_folder.Write("profile.ini", profile);
        m_window = test::OpenMainWindow(m_folder.path(), &m_player, m_profile, Root(), QSize(900, 640));
    }

    /// Answers the text dialog: the lesson at `row` of its lesson list, confirmed with `button`.
    static std::function<bool(ui::CSelectTextDlg&)> ChooseLesson(int row, int button)
    {
        return [row, button](ui::CSelectTextDlg& dialog) {
            dialog.lessonBox()->setCurrentIndex(row);
            dialog.show();
            QTest::mouseClick(dialog.button(button), Qt::LeftButton);
            return dialog.result() == QDialog::Accepted;
        };
    }

    QStringList ListTexts() const
    {
        QStringList texts;
        for (int row = 0; row < m_window->sentenceList()->count(); ++row) {
            texts << m_window->sentenceList()->item(row)->text();
        }
        return texts;
    }

    /// Answers the next message box and returns its text. The timer belongs to the fixture, so
    /// one left waiting dies with its test instead of answering a later test's box.
    void AnswerNextMessage(QString* text)
    {
        auto* poll = new QTimer(&m_answers);
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, text] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
                    *text = box->text();
                    box->accept();
                    poll->deleteLater();
                    poll->stop();
                    return;
                }
            }
        });
        poll->start();
    }

    TempFolder m_folder;
    FakeMediaPlayer m_player;
    std::unique_ptr<platform::QSettingsProfile> m_profile;
    std::unique_ptr<ui::CParlivoDlg> m_window;
    QObject m_answers;
};

TEST_F(WindowFixture, TextRestoreKeepsTheSavedPositionWithinTheLesson)
{
    Open("[kelvaro]\nnNowPlayNum=12\n");
    m_window->RestoreLastState();
    EXPECT_EQ(m_window->sentenceList()->count(), 5);
    EXPECT_TRUE(m_window->readingLoop().isReading());
    EXPECT_EQ(m_window->settings().nNowPlayNum, 5);
}

TEST_F(WindowFixture, TopicRestoreRunsTheSearchAgainWithHighlightsAndResumes)
{
    Open("[kelvaro]\nisSelectSubject=1\nnNowPlayNum=2\nstrSubjectBook=New Concept English Book 1\n"
         "strSubjectWord=has+\nstrSubjectGrammar=时态+现在完成时\nstrFullPath=" +
         DefaultLesson() + "\n");
    m_window->RestoreLastState();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_window->restoring(); }, 20000));
    EXPECT_EQ(ListTexts(),
              (QStringList{QStringLiteral("03 He has lost it."), QStringLiteral("01 She has gone home.")}));
    EXPECT_TRUE(m_window->restoreProgress()->isHidden());
    EXPECT_TRUE(m_window->readingLoop().isReading());
    EXPECT_EQ(m_window->settings().nNowPlayNum, 2);
    for (int row = 0; row < 2; ++row) {
        const QString highlights =
            m_window->sentenceList()->item(row)->data(ui::CSpecialListBox::HighlightRole).toString();
        EXPECT_TRUE(highlights.endsWith(QStringLiteral("has?"))) << highlights.toStdString();
    }
    EXPECT_TRUE(m_window->statusLine()->text().startsWith(QStringLiteral("主题模式 主题词为:has+ 语法主题为:")));
    EXPECT_EQ(m_window->wholeSentencePane()->toPlainText(),
              QStringLiteral("Current Text:New Concept English Book 1\\Lesson 002 Other"));
}

TEST_F(WindowFixture, OpenTextSwitchesLessonAndStartsReading)
{
    Open("[kelvaro]\n");
    m_window->RestoreLastState();
    m_window->runTextDialog = ChooseLesson(1, 1091);
    m_window->OpenText();
    EXPECT_EQ(ListTexts(), (QStringList{QStringLiteral("01 She has gone home."), QStringLiteral("02 Where is it?")}));
    EXPECT_EQ(m_window->sentenceList()->selectedItems().size(), 2);
    EXPECT_TRUE(m_window->readingLoop().isReading());
    EXPECT_FALSE(m_window->settings().isSelectSubject);
    EXPECT_EQ(test::ReadBytes(library::NoteFileOf(m_window->settings().strFullPath)), "(1)\r\n(2)\r\n")
        << "a lesson without a note file gets one";
}

TEST_F(WindowFixture, OpeningALessonAfterAPauseReadsItsFirstSentenceInFull)
{
    Open("[kelvaro]\nnRepeatPlayNum=3\nnDuration=0\n");
    m_window->RestoreLastState();
    m_player.Finish(); // the first reading ends; the second begins
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_window->readingLoop().repeatRound() == 2; }, 2000));
    QTest::mouseClick(m_window->button(1083), Qt::LeftButton);
    m_window->runTextDialog = ChooseLesson(1, 1091);
    m_window->OpenText();
    ASSERT_TRUE(m_window->readingLoop().isReading());
    EXPECT_EQ(m_window->readingLoop().repeatRound(), 1);
    EXPECT_TRUE(m_window->statusLine()->text().endsWith(QStringLiteral("共选择2句,正第1次朗读第1句.")))
        << m_window->statusLine()->text().toStdString();
}

TEST_F(WindowFixture, TopicRestoreSearchesByTheParserWhenThatWasChosen)
{
    m_folder.Write(fs::path("program") / "New Concept English Book 1" / "Lesson 002 Other" /
                   "03 I have finished my homework..sau");
    Open("[kelvaro]\nisSelectSubject=1\nisSearchByParser=1\nstrSubjectBook=New Concept English Book 1\n"
         "strSubjectWord=+\nstrSubjectGrammar=时态+现在完成时\nstrFullPath=" +
         DefaultLesson() + "\n");
    m_window->RestoreLastState();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_window->restoring(); }, 60000));
    EXPECT_EQ(ListTexts(), (QStringList{QStringLiteral("03 He has lost it."), QStringLiteral("01 She has gone home."),
                                        QStringLiteral("03 I have finished my homework.")}));
    EXPECT_TRUE(m_window->settings().isSearchByParser);
}

TEST_F(WindowFixture, TopicRestoreReadsWhatIsLeftAndNamesABookThatIsGone)
{
    Open("[kelvaro]\nisSelectSubject=1\nstrSubjectBook=New Concept English Book 1/Gone Book\n"
         "strSubjectWord=has+\nstrSubjectGrammar=时态+现在完成时\nstrFullPath=" +
         DefaultLesson() + "\n");
    m_window->RestoreLastState();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_window->restoring(); }, 20000));
    EXPECT_EQ(ListTexts(),
              (QStringList{QStringLiteral("03 He has lost it."), QStringLiteral("01 She has gone home.")}));
    EXPECT_TRUE(m_window->readingLoop().isReading());
    EXPECT_TRUE(
        m_window->statusLine()->text().contains(QString::fromStdString("找不到课本文件夹: " + Root() + "Gone Book")))
        << m_window->statusLine()->text().toStdString();
}

TEST_F(WindowFixture, ALessonThatCannotBeListedSaysWhatIsWrongAndWhere)
{
    const std::string book = Root() + "New Concept English Book 1";
    const std::pair<std::string, std::string> cases[] = {
        {Root() + "Gone Book/Lesson 001 X", "找不到课本文件夹: " + Root() + "Gone Book"},
        {book + "/Lesson 009 X", "找不到课文文件夹: " + book + "/Lesson 009 X"},
    };
    for (const auto& [lesson, message] : cases) {
        Open("[kelvaro]\nstrFullPath=" + lesson + "\n");
        m_window->RestoreLastState();
        EXPECT_EQ(m_window->sentenceList()->count(), 0);
        EXPECT_TRUE(m_window->statusLine()->text().contains(QString::fromStdString(message)))
            << m_window->statusLine()->text().toStdString();
    }
    // A lesson that can be listed again clears the message.
    m_window->runTextDialog = ChooseLesson(0, 1030);
    m_window->OpenText();
    EXPECT_EQ(m_window->sentenceList()->count(), 5);
    EXPECT_FALSE(m_window->statusLine()->text().contains(QStringLiteral("找不到")));
}

TEST_F(WindowFixture, UnusualSentenceFileNamesWorkInTextAndTopicMode)
{
    // A file name holding '\\' and one in GBK, as an archive made on Windows leaves them.
    const fs::path lesson = fs::path("program") / "New Concept English Book 1" / "Lesson 003 Odd";
    m_folder.Write(lesson / "01 Either\\or..sau", "either");
    m_folder.Write(lesson / ("02 " + Gb18030("狗") + " dog..sau"), "dog");
    const std::string lessonPath = Root() + "New Concept English Book 1/Lesson 003 Odd";
    auto readsBothWithoutProblem = [this] {
        for (int step = 0; step < 2; ++step) {
            EXPECT_EQ(m_player.lastError, "") << "reading " << step;
            EXPECT_EQ(m_window->readingLoop().problem(), "") << "reading " << step;
            QTest::keyClick(m_window->sentenceList(), Qt::Key_PageDown);
        }
    };

    Open("[kelvaro]\nstrFullPath=" + lessonPath + "\n");
    m_window->RestoreLastState();
    EXPECT_EQ(ListTexts(), (QStringList{QStringLiteral("01 Either\\or."), QStringLiteral("02 狗 dog.")}));
    readsBothWithoutProblem();

    // Topic mode: all of book 1; the two odd sentences are the last results.
    Open("[kelvaro]\nisSelectSubject=1\nnNowPlayNum=8\nstrSubjectBook=New Concept English Book 1\n"
         "strSubjectWord=+\nstrSubjectGrammar=所有+所有+所有\nstrFullPath=" +
         lessonPath + "\n");
    m_window->RestoreLastState();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_window->restoring(); }, 20000));
    ASSERT_EQ(m_window->sentenceList()->count(), 9);
    EXPECT_EQ(ListTexts().mid(7), (QStringList{QStringLiteral("01 Either\\or."), QStringLiteral("02 狗 dog.")}));
    EXPECT_EQ(m_window->wholeSentencePane()->toPlainText(),
              QStringLiteral("Current Text:New Concept English Book 1\\Lesson 003 Odd"));
    m_window->grammarPane()->setPlainText(QStringLiteral("either … or"));
    readsBothWithoutProblem();
    QString message;
    AnswerNextMessage(&message);
    m_window->close();
    QTest::qWait(20);
    EXPECT_TRUE(message.isEmpty()) << message.toStdString();
    EXPECT_EQ(test::ReadBytes(library::NoteFileOf(lessonPath)), Gb18030("(1)either … or\r\n(2)\r\n"));
}

TEST_F(WindowFixture, OpenTopicFromTheLargePaneTakesTheSelectedWord)
{
    Open("[kelvaro]\n");
    m_window->RestoreLastState();
    QString allWords;
    QString grammar;
    m_window->runTopicDialog = [&](ui::CSelectSubjectDlg& dialog) {
        allWords = dialog.allWordsEdit()->text();
        grammar = dialog.parentBox()->currentText() + QLatin1Char('+') + dialog.childBox()->currentText();
        return false;
    };
    QString message;
    AnswerNextMessage(&message);
    m_window->currentSentencePane()->setFocus();
    QTextEdit* pane = m_window->currentSentencePane();
    pane->setPlainText(QStringLiteral("Would you"));
    QTextCursor cursor(pane->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
    QMetaObject::invokeMethod(pane, "customContextMenuRequested", Q_ARG(QPoint, QPoint(5, 5)));
    QMenu* menu = pane->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("打开主题(&S)")) {
            action->trigger();
        }
    }
    EXPECT_EQ(allWords, QStringLiteral("would"));
    EXPECT_EQ(grammar, QStringLiteral("所有+所有"));
}

TEST_F(WindowFixture, PaneTogglesAndTheFullScreenView)
{
    Open("[kelvaro]\n");
    m_window->RestoreLastState();
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F5);
    EXPECT_FALSE(m_window->sentenceList()->isVisible());
    EXPECT_EQ(m_window->currentSentencePane()->geometry().left(), 10);
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F8);
    EXPECT_EQ(m_window->currentSentencePane()->geometry(), m_window->clientArea()->rect());
    EXPECT_FALSE(m_window->statusLine()->isVisible());
    // F5 in the full view changes only the flag; leaving the view shows the new state.
    QTest::keyClick(m_window->currentSentencePane(), Qt::Key_F5);
    EXPECT_TRUE(m_window->paneState().showList);
    EXPECT_FALSE(m_window->sentenceList()->isVisible());
    QTest::keyClick(m_window->currentSentencePane(), Qt::Key_F8);
    EXPECT_TRUE(m_window->sentenceList()->isVisible());
    EXPECT_TRUE(m_window->statusLine()->isVisible());
    // A double-click on the grammar pane hides it.
    QTest::mouseDClick(m_window->grammarPane()->viewport(), Qt::LeftButton);
    EXPECT_FALSE(m_window->grammarPane()->isVisible());
}

TEST_F(WindowFixture, ClientColoursCancelledTakeTheButtonFace)
{
    Open("[kelvaro]\n");
    m_window->commands().Run(32796);
    const QColor face = QApplication::palette().color(QPalette::Button);
    const settings::Rgb entry = m_window->settings().colorTable[settings::kClientBackground];
    EXPECT_EQ(QColor(entry.red, entry.green, entry.blue), face);
    EXPECT_EQ(m_window->settings().colorTable[settings::kStatusText], (settings::Rgb{0, 0, 0}));
    EXPECT_FALSE(m_window->settings().isColorClient);
}

TEST_F(WindowFixture, CancellingTheTitleColourTellsOnlyWhenItWasSet)
{
    Open("[kelvaro]\nisColorTitle=1\n");
    EXPECT_TRUE(m_window->titleBar()->isColored());
    QString message;
    AnswerNextMessage(&message);
    m_window->commands().Run(ui::kCancelTitleColorCommand);
    EXPECT_EQ(message, QStringLiteral("已取消标题栏颜色"));
    EXPECT_FALSE(m_window->titleBar()->isColored());
    message.clear();
    AnswerNextMessage(&message);
    m_window->commands().Run(ui::kCancelTitleColorCommand);
    QTest::qWait(20);
    EXPECT_TRUE(message.isEmpty());
}

TEST_F(WindowFixture, MenusHoldTheirCommandsWithIcons)
{
    Open("[kelvaro]\n");
    std::unique_ptr<QMenu> client(m_window->commands().CreateClientMenu(m_window.get()));
    QStringList texts;
    for (QAction* action : client->actions()) {
        if (!action->isSeparator()) {
            texts << action->text();
            EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
        }
    }
    EXPECT_EQ(texts, (QStringList{QStringLiteral("取消窗口界面颜色(&Q)"), QStringLiteral("设置窗口界面颜色(&C)"),
                                  QStringLiteral("设置语法窗口颜色(&D)"), QStringLiteral("列表框显示开关(&L)\tF5"),
                                  QStringLiteral("语法框显示开关(&G)\tF6"), QStringLiteral("整句框显示开关(&W)\tF7"),
                                  QStringLiteral("帮助系统")}));
    std::unique_ptr<QMenu> system(m_window->commands().CreateSystemMenu(m_window.get()));
    QList<int> ids;
    for (QAction* action : system->actions()) {
        if (!action->isSeparator()) {
            ids << action->data().toInt();
        }
    }
    EXPECT_EQ(ids, (QList<int>{ui::kRestoreCommand, ui::kMoveCommand, ui::kSizeCommand, ui::kMinimizeCommand,
                               ui::kMaximizeCommand, 1202, 1203, 1201, 1204, ui::kCloseCommand}));
}

} // namespace
