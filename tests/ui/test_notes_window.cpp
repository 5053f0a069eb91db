// Notes typed in the main window, as a user types them: when they reach the disk, which line they
// go to, and what happens when the disk refuses them.
#include <csignal>
#include <filesystem>
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "CParlivoDlg.h"
#include "CSelectTextDlg.h"
#include "FakeMediaPlayer.h"
#include "Gb18030.h"
#include "NotesKeeper.h"
#include "QSettingsProfile.h"
#include "FileSizeLimit.h"
#include "MainWindowTesting.h"
#include "TempFolder.h"
#include "TerminationSignals.h"
#include "library/Library.h"

using namespace lectoria;
using lectoria::test::FakeMediaPlayer;
using lectoria::test::Gb18030;
using lectoria::test::ReadBytes;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

const char* const kBook = "New Concept English Book 1";

class NotesWindowTest : public testing::Test
{
protected:
    void AddLesson(const std::string& lesson, std::initializer_list<const char*> titles, const std::string& notes = "")
    {
        for (const char* title : titles) {
            m_folder.Write(fs::path("program") / kBook / lesson / (std::string(title) + ".sau"), "audio");
        }
        if (!notes.empty()) {
            m_folder.Write(fs::path("program") / kBook / lesson /
                               (std::string(kBook) + " Lesson" + library::LessonNumberOf(lesson) + ".txt"),
                           notes);
        }
    }
    std::string LessonPath(const std::string& lesson) const
    {
        return (m_folder.path() / "program" / kBook / lesson).string();
    }
    fs::path NoteFile(const std::string& lesson) const { return library::NoteFileOf(LessonPath(lesson)); }

    /// Starts the window on a lesson, reading it whole, then pauses so the panes stay.
    void Open(const std::string& lesson, bool pause = true)
    {
        m_folder.Write("profile.ini", "[kelvaro]\nstrFullPath=" + LessonPath(lesson) + "\n");
        m_window = test::OpenMainWindow(m_folder.path(), &m_player, m_profile,
                                        (m_folder.path() / "program").string() + "/", QSize(900, 600));
        m_window->RestoreLastState();
        if (pause) {
            Key(Qt::Key_F3);
        }
    }
    void Key(int key) const { QTest::keyClick(m_window->sentenceList(), static_cast<Qt::Key>(key)); }
    void Type(const char* text) const
    {
        m_window->grammarPane()->setFocus();
        m_window->grammarPane()->moveCursor(QTextCursor::End);
        QTest::keyClicks(m_window->grammarPane(), QString::fromLatin1(text));
    }
    QString Note() const { return m_window->grammarPane()->toPlainText(); }
    void Close()
    {
        m_window->close();
        m_window.reset();
    }

    TempFolder m_folder;
    FakeMediaPlayer m_player;
    std::unique_ptr<platform::QSettingsProfile> m_profile;
    std::unique_ptr<ui::CParlivoDlg> m_window;
};

const std::string kNineLines = Gb18030("(1)\r\n(2)\r\n(3)\r\n(4)\r\n(5)\r\n(6)六\r\n(7)\r\n(8)\r\n(9)\r\n");

TEST_F(NotesWindowTest, ANoteReachesTheDiskSoonAfterTypingStopsAndWhenTheSentenceChanges)
{
    AddLesson("Lesson 001 A", {"01 One.", "02 Two.", "03 Three."}, "(1)\r\n(2)\r\n(3)\r\n");
    Open("Lesson 001 A");
    Type("first");
    EXPECT_EQ(ReadBytes(NoteFile("Lesson 001 A")), "(1)\r\n(2)\r\n(3)\r\n") << "not yet: the user is typing";
    QTest::qWait(ui::NotesKeeper::kSaveDelayMs + 500);
    EXPECT_EQ(ReadBytes(NoteFile("Lesson 001 A")), "(1)first\r\n(2)\r\n(3)\r\n") << "a killed program keeps it";

    Key(Qt::Key_PageDown);
    Type("second");
    Key(Qt::Key_PageDown);
    EXPECT_EQ(ReadBytes(NoteFile("Lesson 001 A")), "(1)first\r\n(2)second\r\n(3)\r\n");
}

TEST_F(NotesWindowTest, TopicResultsWriteToTheirSentenceNumberAndViewingWritesNothing)
{
    // Sentences 1-3 lost their audio: line 9 still belongs to sentence 9.
    AddLesson("Lesson 001 A", {"04 Four.", "05 Five.", "06 Six.", "07 Seven.", "08 Eight.", "09 You're welcome."},
              kNineLines);
    m_folder.Write("profile.ini", std::string("[kelvaro]\nisSelectSubject=1\nstrSubjectBook=") + kBook +
                                      "\nstrSubjectWord=welcome+\nstrFullPath=" + LessonPath("Lesson 001 A") + "\n");
    m_window = test::OpenMainWindow(m_folder.path(), &m_player, m_profile);
    m_window->RestoreLastState();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_window->restoring(); }, 10000));
    ASSERT_EQ(m_window->sentenceList()->count(), 1);
    EXPECT_EQ(m_window->currentSentencePane()->toPlainText(), QStringLiteral("You're welcome."));
    Close();
    EXPECT_EQ(ReadBytes(NoteFile("Lesson 001 A")), kNineLines) << "showing a note is not editing it";

    m_window = test::OpenMainWindow(m_folder.path(), &m_player, m_profile);
    m_window->RestoreLastState();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_window->restoring(); }, 10000));
    Key(Qt::Key_F3);
    Type("polite");
    Close();
    EXPECT_EQ(ReadBytes(NoteFile("Lesson 001 A")),
              Gb18030("(1)\r\n(2)\r\n(3)\r\n(4)\r\n(5)\r\n(6)六\r\n(7)\r\n(8)\r\n(9)polite\r\n"));
}

TEST_F(NotesWindowTest, SentencesWithoutAKeptLineShowThemselvesAndSaySoInTheNotePane)
{
    AddLesson("Lesson 001 A", {"Excuse me!", "2147483647 x", "99999999 y."});
    const auto started = std::chrono::steady_clock::now();
    Open("Lesson 001 A");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << "no file sized by a number";
    struct Case
    {
        const char* current;
    };
    for (const Case& c : {Case{"x "}, Case{"y."}, Case{"Excuse me!"}}) {
        EXPECT_EQ(m_window->currentSentencePane()->toPlainText(), QString::fromUtf8(c.current));
        EXPECT_TRUE(m_window->grammarPane()->isReadOnly()) << c.current;
        EXPECT_FALSE(m_window->grammarPane()->placeholderText().isEmpty()) << c.current;
        if (std::string(c.current) == "Excuse me!") {
            EXPECT_EQ(m_window->wholeSentencePane()->toPlainText(), QStringLiteral("Excuse me!"));
        }
        Key(Qt::Key_PageDown);
    }
    Close();
    EXPECT_LT(fs::file_size(NoteFile("Lesson 001 A")), 100u);
}

TEST_F(NotesWindowTest, WhenTheSelectionChangesWhileReadingTheNoteFollowsTheSentenceOnScreen)
{
    AddLesson("Lesson 001 A", {"01 One.", "02 Two.", "03 Three.", "04 Four."},
              Gb18030("(1)\r\n(2)\r\n(3)三\r\n(4)四\r\n"));
    Open("Lesson 001 A", false);
    Key(Qt::Key_PageDown);
    Key(Qt::Key_PageDown);
    ASSERT_EQ(m_window->settings().nNowPlayNum, 3);
    ASSERT_EQ(Note(), QStringLiteral("三"));
    // Deselecting the first sentence makes position 3 the fourth sentence.
    m_window->sentenceList()->item(0)->setSelected(false);
    EXPECT_EQ(m_window->currentSentencePane()->toPlainText(), QStringLiteral("Four."));
    EXPECT_EQ(Note(), QStringLiteral("四"));
    Type("!");
    Close();
    EXPECT_EQ(ReadBytes(NoteFile("Lesson 001 A")), Gb18030("(1)\r\n(2)\r\n(3)三\r\n(4)四!\r\n"));
}

TEST_F(NotesWindowTest, ANoteTypedWhileADialogHandsOverIsKept)
{
    AddLesson("Lesson 001 A", {"01 One.", "02 Two."}, "(1)\r\n(2)\r\n");
    AddLesson("Lesson 002 B", {"01 Other."});
    Open("Lesson 001 A");
    m_window->runTextDialog = [this](ui::CSelectTextDlg& dialog) {
        Type("late");
        dialog.lessonBox()->setCurrentIndex(1);
        dialog.show();
        QTest::mouseClick(dialog.button(1030), Qt::LeftButton);
        return dialog.result() == QDialog::Accepted;
    };
    m_window->OpenText();
    ASSERT_EQ(m_window->settings().strFullPath, LessonPath("Lesson 002 B"));
    EXPECT_EQ(ReadBytes(NoteFile("Lesson 001 A")), "(1)late\r\n(2)\r\n");
}

TEST_F(NotesWindowTest, AFailedSaveAtCloseIsShownAndCanBeRetriedOrKeptOpen)
{
    AddLesson("Lesson 001 A", {"01 One."}, "(1)\r\n");
    Open("Lesson 001 A");
    Type("kept");
    std::vector<std::string> messages;
    int answers = 0;
    m_window->notesKeeper().askOnFailure = [&](const std::string& message, bool closing) {
        messages.push_back(message);
        EXPECT_TRUE(closing);
        return ++answers == 1 ? ui::NotesKeeper::Choice::Cancel : ui::NotesKeeper::Choice::Retry;
    };
    // A file-size limit makes every write fail, as a full disk does.
    lectoria::test::FileSizeLimit limit(2);
    ASSERT_TRUE(limit.active());
    m_window->close();
    limit.Lift();

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(NoteFile("Lesson 001 A").string()), std::string::npos) << messages[0];
    EXPECT_TRUE(m_window->isVisible()) << "the user chose to keep the window open";
    EXPECT_EQ(ReadBytes(NoteFile("Lesson 001 A")), "(1)\r\n");

    Close();
    EXPECT_EQ(messages.size(), 1u) << "with room on the disk the close saves without asking";
    EXPECT_EQ(ReadBytes(NoteFile("Lesson 001 A")), "(1)kept\r\n");
}

TEST_F(NotesWindowTest, AnUnsavableNoteCanBeSavedElsewhere)
{
    AddLesson("Lesson 001 A", {"01 One."}, "(1)\r\n");
    Open("Lesson 001 A");
    Type("copy me");
    const fs::path copy = m_folder.path() / "elsewhere.txt";
    m_window->notesKeeper().askOnFailure = [](const std::string&, bool) {
        return ui::NotesKeeper::Choice::SaveElsewhere;
    };
    m_window->notesKeeper().pickOtherFile = [&](const std::string& suggested) {
        EXPECT_EQ(suggested, NoteFile("Lesson 001 A").filename().string());
        return copy.string();
    };
    // The note file's place is taken by a folder, so the file cannot be replaced.
    fs::remove(NoteFile("Lesson 001 A"));
    fs::create_directories(NoteFile("Lesson 001 A") / "blocked");
    Close();
    EXPECT_EQ(ReadBytes(copy), "(1)copy me\r\n");
}

TEST_F(NotesWindowTest, AnUnreadableNoteFileIsNeitherEditedNorWrittenOver)
{
    AddLesson("Lesson 001 A", {"01 One."});
    fs::create_directories(NoteFile("Lesson 001 A") / "blocked");
    Open("Lesson 001 A");
    EXPECT_TRUE(m_window->grammarPane()->isReadOnly());
    EXPECT_TRUE(
        m_window->grammarPane()->placeholderText().contains(QString::fromStdString(NoteFile("Lesson 001 A").string())));
    Close();
    EXPECT_TRUE(fs::is_directory(NoteFile("Lesson 001 A") / "blocked"));
}

TEST_F(NotesWindowTest, TerminationLeavesThroughTheClosePathAndSavesTheNote)
{
    AddLesson("Lesson 001 A", {"01 One."}, "(1)\r\n");
    Open("Lesson 001 A");
    platform::TerminationSignals termination;
    QObject::connect(&termination, &platform::TerminationSignals::terminationRequested, m_window.get(),
                     [this] { m_window->close(); });
    Type("before log-out");
    ASSERT_EQ(::raise(SIGTERM), 0);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_window->isVisible(); }, 5000));
    EXPECT_EQ(ReadBytes(NoteFile("Lesson 001 A")), "(1)before log-out\r\n");
}

} // namespace
