// Which library the window opens: a first start copies the demo lessons into the user's own
// library and reads from there, notes go there too, and a saved lesson elsewhere still opens.
#include <filesystem>
#include <memory>

#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "ActiveWindow.h"
#include "CParlivoDlg.h"
#include "FakeMediaPlayer.h"
#include "QSettingsProfile.h"
#include "TempFolder.h"
#include "library/Library.h"

using namespace lectoria;
using lectoria::test::FakeMediaPlayer;
using lectoria::test::ReadBytes;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

const fs::path kLesson = library::NativeRelativePath(library::kDefaultLesson);
const char* const kNoteFile = "New Concept English Book 1 Lesson001.txt";

class FirstStartTest : public testing::Test
{
protected:
    FirstStartTest()
    {
        for (const char* title : {"01 Excuse me!", "02 Yes^", "03 Is this your handbag^"}) {
            m_folder.Write("demo" / kLesson / (std::string(title) + ".sau"), "audio");
        }
        m_folder.Write("demo" / kLesson / kNoteFile, "(1)\r\n(2)\r\n(3)\r\n");
    }
    std::string UserLibrary() const { return (m_folder.path() / "data" / "Lectoria" / "library").string() + "/"; }

    /// Starts the window as the program does, on the test's demo library, and waits for the list.
    void Start(const std::string& libraryRoot, bool chosen)
    {
        m_profile = std::make_unique<platform::QSettingsProfile>(
            QString::fromStdString((m_folder.path() / "profile.ini").string()));
        ui::MainWindowOptions options;
        options.profile = m_profile.get();
        options.player = &m_player;
        options.tempDir = (m_folder.path() / "TemporaryQenReading").string() + "/";
        options.libraryRoot = libraryRoot;
        options.libraryChosen = chosen;
        options.demoLibrary = (m_folder.path() / "demo").string() + "/";
        m_window = std::make_unique<ui::CParlivoDlg>(options);
        m_window->resize(900, 600);
        ASSERT_TRUE(test::ShowActive(m_window.get()));
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return !m_window->restoring() && m_window->sentenceList()->count() > 0; }, 5000));
    }

    TempFolder m_folder;
    FakeMediaPlayer m_player;
    std::unique_ptr<platform::QSettingsProfile> m_profile;
    std::unique_ptr<ui::CParlivoDlg> m_window;
};

TEST_F(FirstStartTest, ReadsTheDemoFromTheUsersLibraryAndWritesNotesThere)
{
    Start(UserLibrary(), false);
    EXPECT_EQ(m_window->settings().strFullPath, UserLibrary() + kLesson.string());
    EXPECT_EQ(m_window->sentenceList()->item(0)->text(), QStringLiteral("01 Excuse me!"));
    EXPECT_TRUE(fs::exists(fs::path(UserLibrary()) / kLesson / "02 Yes^.sau"));

    QTest::keyClick(m_window->sentenceList(), Qt::Key_F3);
    m_window->grammarPane()->setFocus();
    m_window->grammarPane()->moveCursor(QTextCursor::End);
    QTest::keyClicks(m_window->grammarPane(), QStringLiteral("polite"));
    m_window->close();
    m_window.reset();
    EXPECT_EQ(ReadBytes(fs::path(UserLibrary()) / kLesson / kNoteFile), "(1)polite\r\n(2)\r\n(3)\r\n");
    EXPECT_EQ(ReadBytes(m_folder.path() / "demo" / kLesson / kNoteFile), "(1)\r\n(2)\r\n(3)\r\n")
        << "the installed lessons are never written";
}

TEST_F(FirstStartTest, ASavedLessonBesideTheProgramStillOpensAndNothingIsCopied)
{
    m_folder.Write("program" / kLesson / "01 Old place.sau", "audio");
    const std::string old = (m_folder.path() / "program" / kLesson).string();
    m_folder.Write("profile.ini", "[kelvaro]\nstrFullPath=" + old + "\n");
    Start(UserLibrary(), false);
    EXPECT_EQ(m_window->settings().strFullPath, old);
    EXPECT_EQ(m_window->sentenceList()->item(0)->text(), QStringLiteral("01 Old place"));
    EXPECT_FALSE(fs::exists(UserLibrary()));
}

TEST_F(FirstStartTest, AChosenLibraryThatExistsIsOpenedWithoutTheDemo)
{
    m_folder.Write("program" / kLesson / "01 Old place.sau", "audio");
    m_folder.Write("profile.ini", "[kelvaro]\nstrFullPath=" + (m_folder.path() / "program" / kLesson).string() + "\n");
    m_folder.Write("mine" / kLesson / "01 My own.sau", "audio");
    const std::string mine = (m_folder.path() / "mine").string();
    Start(mine, true);
    EXPECT_EQ(m_window->settings().strFullPath, mine + "/" + kLesson.string());
    ASSERT_EQ(m_window->sentenceList()->count(), 1);
    EXPECT_EQ(m_window->sentenceList()->item(0)->text(), QStringLiteral("01 My own"));
}

TEST_F(FirstStartTest, AChosenFolderThatIsNewGetsTheDemo)
{
    const std::string fresh = (m_folder.path() / "fresh").string() + "/";
    Start(fresh, true);
    EXPECT_EQ(m_window->sentenceList()->count(), 3);
    EXPECT_TRUE(fs::exists(fs::path(fresh) / kLesson / kNoteFile));
}

} // namespace
