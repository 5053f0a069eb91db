#include "CParlivoDlg.h"

#include <filesystem>

#include <QComboBox>
#include <QListWidget>
#include <QProgressBar>

#include "CProgressCtrlStart.h"
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "FakeMediaPlayer.h"
#include "QSettingsProfile.h"
#include "TempFolder.h"
#include "library/Library.h"

using namespace lectoria;
using lectoria::test::FakeMediaPlayer;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

class MainWindowTest : public testing::Test
{
protected:
    MainWindowTest()
    {
        // A small library of its own beside the "program", so the default lesson exists.
        for (const char* title : {"01 Excuse me!", "02 Yes^", "03 Is this your", "04 handbag^", "05 Thank you."}) {
            m_folder.Write(fs::path("program") / library::NativeRelativePath(library::kDefaultLesson) /
                               (std::string(title) + ".sau"),
                           "audio");
        }
    }
    std::string LibraryRoot() const { return (m_folder.path() / "program").string() + "/"; }
    std::string DefaultLesson() const { return LibraryRoot() + library::NativeRelativePath(library::kDefaultLesson); }

    ui::MainWindowOptions Options(platform::QSettingsProfile& profile)
    {
        ui::MainWindowOptions options;
        options.profile = &profile;
        options.player = &m_player;
        options.tempDir = TempDir();
        options.libraryRoot = LibraryRoot();
        return options;
    }
    QString Ini() const { return QString::fromStdString((m_folder.path() / "profile.ini").string()); }
    std::string TempDir() const { return (m_folder.path() / "TemporaryQenReading").string() + "/"; }

    TempFolder m_folder;
    FakeMediaPlayer m_player;
};

TEST_F(MainWindowTest, FirstStartShowsTheDefaultLessonWithDefaults)
{
    platform::QSettingsProfile profile(Ini());
    ui::CParlivoDlg window(Options(profile));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lectoria"));
    EXPECT_TRUE(fs::is_directory(TempDir()));
    EXPECT_TRUE(m_player.autoStart);
    EXPECT_EQ(m_player.playCount, 1);

    // The start-up timer lists the saved lesson on its first tick.
    ASSERT_TRUE(QTest::qWaitFor([&window] { return window.sentenceList()->count() > 0; }, 5000));
    EXPECT_EQ(window.settings().strFullPath, DefaultLesson());
    EXPECT_EQ(window.sentenceList()->item(0)->text(), QStringLiteral("01 Excuse me!"));
    // Every sentence is selected and reading starts at the first.
    EXPECT_EQ(window.sentenceList()->selectedItems().size(), 5);
    EXPECT_TRUE(window.readingLoop().isReading());
    EXPECT_EQ(window.settings().nNowPlayNum, 1);
    ASSERT_EQ(m_player.opened.size(), 1u);
    EXPECT_EQ(window.repeatList()->count(), 99);
    EXPECT_EQ(window.repeatList()->currentText(), QStringLiteral("1"));
    EXPECT_EQ(window.intervalList()->count(), 22);
    EXPECT_EQ(window.intervalList()->currentText(), QStringLiteral("0"));
    EXPECT_EQ(window.intervalList()->itemText(21), QStringLiteral("Fit"));
    EXPECT_TRUE(window.restoreProgress()->isHidden());
    EXPECT_FALSE(window.settings().isSelectSubject);
    EXPECT_EQ(window.button(1082)->toolTip(), QStringLiteral("开始朗读,热键为F2"));
    EXPECT_EQ(window.button(1088)->toolTip(), QStringLiteral("退出软件"));
}

TEST_F(MainWindowTest, ChosenRepeatAndIntervalSurviveARestart)
{
    {
        platform::QSettingsProfile profile(Ini());
        ui::CParlivoDlg window(Options(profile));
        window.repeatList()->setCurrentIndex(4);
        window.intervalList()->setCurrentIndex(21);
        EXPECT_EQ(window.settings().nRepeatPlayNum, 5);
        EXPECT_EQ(window.settings().nDuration, 21);
    }
    // Closing removed the temporary folder.
    EXPECT_FALSE(fs::exists(TempDir()));
    platform::QSettingsProfile profile(Ini());
    ui::CParlivoDlg window(Options(profile));
    EXPECT_EQ(window.repeatList()->currentText(), QStringLiteral("5"));
    EXPECT_EQ(window.intervalList()->currentText(), QStringLiteral("Fit"));
}

TEST_F(MainWindowTest, DamagedProfileStillSelectsAnEntry)
{
    m_folder.Write("profile.ini",
                   "[kelvaro]\nnRepeatPlayNum=-3\nnDuration=400\nstrFullPath=/no/such/Book/Lesson 1 x\n");
    platform::QSettingsProfile profile(Ini());
    ui::CParlivoDlg window(Options(profile));
    window.RestoreLastState();
    EXPECT_EQ(window.repeatList()->currentText(), QStringLiteral("1"));
    EXPECT_EQ(window.intervalList()->currentText(), QStringLiteral("Fit"));
    EXPECT_EQ(window.sentenceList()->count(), 0);
}

TEST_F(MainWindowTest, ExitButtonClosesAndDeletesTheTemporaryAudio)
{
    platform::QSettingsProfile profile(Ini());
    ui::CParlivoDlg window(Options(profile));
    window.show();
    const fs::path temp1 = fs::path(TempDir()) / "vantorelMp3temp1.mp3";
    m_folder.Write(temp1.lexically_relative(m_folder.path()), "audio");
    QTest::mouseClick(window.button(1088), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(fs::exists(temp1));
}

} // namespace
