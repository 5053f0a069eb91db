// Speaking practice in the window: the speed list, reading at a slower speed, and the shadowing
// switch with a device that is missing or fails.
#include "CParlivoDlg.h"

#include <filesystem>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QLabel>
#include <QMessageBox>
#include <QListWidget>
#include <fstream>

#include <gtest/gtest.h>

#include "FakeMediaPlayer.h"
#include "GstAudioDecoder.h"
#include "LameMp3Encoder.h"
#include "MainWindowTesting.h"
#include "QSettingsProfile.h"
#include "SpeakingPractice.h"
#include "SpokenFixture.h"
#include "TempFolder.h"
#include "WindowCommands.h"
#include "library/Library.h"
#include "library/SentenceAudio.h"

using namespace lectoria;
using lectoria::test::FakeMediaPlayer;
using lectoria::test::TempFolder;
namespace fs = std::filesystem;

namespace {

/// A recorder whose device is there or not, and which fails to start when told to.
class ScriptedRecorder : public reading::IShadowRecorder
{
public:
    bool IsAvailable(std::string* why) const override
    {
        if (!available && why != nullptr) {
            *why = "没有找到录音设备(麦克风), 无法跟读.";
        }
        return available;
    }
    bool Start(const std::string& /*audioPath*/, std::int64_t maxMs) override
    {
        starts.push_back(maxMs);
        if (failStart) {
            m_error = "录音设备无法打开, 已停止跟读.";
            return false;
        }
        m_error.clear();
        return true;
    }
    bool IsRecording() const override { return false; }
    void Stop() override {}
    std::string LastError() const override { return m_error; }
    std::string LastRecordingOf(const std::string& /*audioPath*/) const override { return lastRecording; }

    bool available = true;
    bool failStart = false;
    std::string lastRecording;
    std::vector<std::int64_t> starts;

private:
    std::string m_error;
};

class SpeakingPracticeWindow : public testing::Test
{
protected:
    SpeakingPracticeWindow()
    {
        // A real spoken sentence, so that the slowed copy can be measured.
        const lectoria::import::PcmAudio spoken = test::Spoken("en-us", "Is this your handbag?", 160);
        std::string mp3;
        EXPECT_TRUE(platform::LameMp3Encoder()
                        .Encode(spoken.samples.data(), spoken.samples.size(), spoken.sampleRate, mp3)
                        .ok());
        const fs::path lesson = m_folder.path() / "library" / library::NativeRelativePath(library::kDefaultLesson);
        fs::create_directories(lesson);
        for (const char* title : {"01 Excuse me!", "02 Is this your handbag^"}) {
            EXPECT_TRUE(library::WriteScrambledFile(mp3, (lesson / (std::string(title) + ".sau")).string()).ok());
        }
    }

    void Open()
    {
        m_window.reset();
        m_window = test::OpenMainWindow(m_folder.path(), &m_player, m_profile,
                                        (m_folder.path() / "library").string() + "/", QSize(900, 600), &m_recorder);
        m_window->RestoreLastState();
        QTest::keyClick(m_window->sentenceList(), Qt::Key_F4);
        m_window->sentenceList()->SelectNoItems();
        m_player.opened.clear();
        QTest::qWait(1); // the device check runs once the restore has started the reading
    }

    void TypeSpeed(const QString& text)
    {
        QLineEdit* edit = m_window->speedList()->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    QAction* Command(int id) const { return m_window->commands().action(id); }

    TempFolder m_folder;
    FakeMediaPlayer m_player;
    ScriptedRecorder m_recorder;
    std::unique_ptr<platform::QSettingsProfile> m_profile;
    std::unique_ptr<ui::CParlivoDlg> m_window;
};

TEST_F(SpeakingPracticeWindow, TypedSchedulesAreKeptAcrossRunsAndAMistakeIsExplained)
{
    Open();
    QSignalSpy messages(&m_window->practice(), &ui::SpeakingPractice::messageShown);
    TypeSpeed(QStringLiteral("0.7,0.85,1"));
    EXPECT_EQ(m_window->settings().strSpeedSchedule, "0.7, 0.85, 1.0");
    EXPECT_EQ(m_window->speedList()->currentText(), QStringLiteral("0.7, 0.85, 1.0"));
    EXPECT_EQ(messages.count(), 0);

    TypeSpeed(QStringLiteral("2"));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_TRUE(messages.at(0).at(0).toString().contains(QStringLiteral("0.5 到 1.5")));
    EXPECT_EQ(m_window->settings().strSpeedSchedule, "0.7, 0.85, 1.0") << "a mistake keeps the schedule";
    EXPECT_EQ(m_window->speedList()->currentText(), QStringLiteral("0.7, 0.85, 1.0"));

    m_window->close();
    Open();
    EXPECT_EQ(m_window->speedList()->currentText(), QStringLiteral("0.7, 0.85, 1.0"));
}

TEST_F(SpeakingPracticeWindow, ASlowSpeedPlaysAStretchedCopyAndTheStatusLineSaysSo)
{
    Open();
    const int index = m_window->speedList()->findText(QStringLiteral("0.7"));
    ASSERT_GE(index, 0);
    m_window->speedList()->setCurrentIndex(index);
    emit m_window->speedList()->activated(index);
    EXPECT_EQ(m_window->settings().strSpeedSchedule, "0.7");

    m_window->sentenceList()->selectAll();
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F2);
    ASSERT_EQ(m_player.opened.size(), 1u);
    EXPECT_EQ(fs::path(m_player.opened[0]).filename(), "vantorelSpeed070.wav");
    EXPECT_TRUE(m_window->statusLine()->text().contains(QStringLiteral("语速0.7×")))
        << m_window->statusLine()->text().toStdString();

    lectoria::import::PcmAudio original;
    lectoria::import::PcmAudio slowed;
    platform::GstAudioDecoder decoder;
    ASSERT_TRUE(decoder.Decode(m_window->audio().tempAudioPath(), original, nullptr).ok());
    ASSERT_TRUE(decoder.Decode(m_player.opened[0], slowed, nullptr).ok());
    const double ratio = static_cast<double>(slowed.DurationMs()) / static_cast<double>(original.DurationMs());
    EXPECT_NEAR(ratio, 1 / 0.7, 0.05 / 0.7);
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F4);
}

TEST_F(SpeakingPracticeWindow, WithoutAnInputDeviceTheSwitchIsOffAndSaysWhy)
{
    m_recorder.available = false;
    Open();
    QPushButton* button = m_window->shadowButton();
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(Command(ui::kShadowingCommand)->isEnabled());
    EXPECT_TRUE(button->toolTip().contains(QStringLiteral("录音设备"))) << button->toolTip().toStdString();
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F10);
    EXPECT_FALSE(m_window->settings().isShadowing);
    EXPECT_FALSE(button->isChecked());
}

TEST_F(SpeakingPracticeWindow, TheSwitchTurnsShadowingOnAndAFailingDeviceTurnsItOffWhileReadingGoesOn)
{
    m_recorder.failStart = true;
    Open();
    QPushButton* button = m_window->shadowButton();
    ASSERT_TRUE(button->isEnabled());
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F10);
    EXPECT_TRUE(m_window->settings().isShadowing);
    EXPECT_TRUE(button->isChecked());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(m_window->settings().isShadowing);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(m_window->settings().isShadowing);

    QSignalSpy messages(&m_window->practice(), &ui::SpeakingPractice::messageShown);
    m_window->sentenceList()->selectAll();
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F2);
    ASSERT_EQ(m_player.opened.size(), 1u);
    m_player.Finish();
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages.count() > 0; }, 3000));
    EXPECT_EQ(m_recorder.starts.size(), 1u);
    EXPECT_FALSE(m_window->settings().isShadowing);
    EXPECT_FALSE(button->isChecked());
    EXPECT_TRUE(m_window->readingLoop().isReading());
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_player.opened.size() >= 2; }, 3000)) << "reading goes on";
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F4);
}

TEST_F(SpeakingPracticeWindow, ReplayAndThePictureWorkOnTheSentenceShownWithOrWithoutARecording)
{
    Open();
    QSignalSpy messages(&m_window->practice(), &ui::SpeakingPractice::messageShown);
    m_window->sentenceList()->item(1)->setSelected(true);
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F11);
    ASSERT_EQ(messages.count(), 1) << "no recording yet: the learner is told so";
    EXPECT_TRUE(m_player.opened.empty());
    for (QMessageBox* box : m_window->findChildren<QMessageBox*>()) {
        box->close();
    }
    ASSERT_TRUE(test::ShowActive(m_window.get()));

    QTest::keyClick(m_window->sentenceList(), Qt::Key_F12);
    ui::SpeechPictureDlg* picture = m_window->practice().pictureDialog();
    ASSERT_NE(picture, nullptr) << messages.last().at(0).toString().toStdString();
    EXPECT_TRUE(picture->isVisible());
    EXPECT_EQ(picture->sentenceLabel()->text(), QStringLiteral("Is this your handbag?"));
    EXPECT_EQ(picture->picture()->laneMessage(ui::SpeechPicture::LearnerLane), QStringLiteral("还没有跟读录音"));
    EXPECT_TRUE(picture->picture()->laneLabel(ui::SpeechPicture::ModelLane).startsWith(QStringLiteral("范读")));
    picture->close();
    ASSERT_TRUE(test::ShowActive(m_window.get()));

    // With a recording, F11 plays it and the picture shows it.
    m_recorder.lastRecording = m_window->audio().tempDir() + "learner.mp3";
    const import::PcmAudio said = test::SpeakWithGaps({{"Is this your handbag?", ""}}, 200, 0, 200).audio;
    std::string mp3;
    ASSERT_TRUE(platform::LameMp3Encoder().Encode(said.samples.data(), said.samples.size(), said.sampleRate, mp3).ok());
    std::ofstream(m_recorder.lastRecording, std::ios::binary) << mp3;
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F11);
    ASSERT_EQ(m_player.opened.size(), 1u);
    EXPECT_EQ(m_player.opened[0], m_recorder.lastRecording);
    QTest::keyClick(m_window->sentenceList(), Qt::Key_F12);
    picture = m_window->practice().pictureDialog();
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->picture()->laneMessage(ui::SpeechPicture::LearnerLane).isEmpty());
    EXPECT_TRUE(picture->picture()->laneLabel(ui::SpeechPicture::LearnerLane).startsWith(QStringLiteral("跟读")));
    picture->close();
}

} // namespace
