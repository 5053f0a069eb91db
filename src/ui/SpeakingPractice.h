#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QObject>
#include <QPointer>

#include "SpeechPicture.h"
#include "SpeechPictureDlg.h"
#include "reading/PracticeInterfaces.h"
#include "settings/Settings.h"

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace lectoria::reading {
class IMediaPlayer;
}

namespace lectoria::ui {

class ReadingController;
class WindowCommands;

/// What speaking practice works with; the window owns all of it.
struct PracticeParts
{
    /// The bottom bar's controls the practice fills in and follows.
    QLabel* speedCaption = nullptr;
    QComboBox* speedList = nullptr;
    QPushButton* shadowButton = nullptr;
    QWidget* messageParent = nullptr; ///< parent of messages and the picture
    ReadingController* reading = nullptr;
    reading::IMediaPlayer* player = nullptr;
    WindowCommands* commands = nullptr;
    /// Null: the real recorder on the default input, keeping recordings in the user's data folder.
    reading::IShadowRecorder* recorder = nullptr;
    std::function<SpeechPictureColours()> pictureColours;
};

/// Speaking practice in the window: the speed list ("语速") on the bottom bar, the shadowing switch
/// ("跟读") and its commands (play the recording back after each reading, replay the last recording,
/// the picture of the model beside the learner).
class SpeakingPractice : public QObject
{
    Q_OBJECT

public:
    SpeakingPractice(settings::Settings& settings, const PracticeParts& parts, QObject* parent = nullptr);
    ~SpeakingPractice() override;

    QLabel* speedCaption() const { return m_speedCaption; }
    QComboBox* speedList() const { return m_speedList; }
    QPushButton* shadowButton() const { return m_shadowButton; }
    /// The picture dialog once it has been opened.
    SpeechPictureDlg* pictureDialog() const { return m_picture; }
    /// The recorder; the real one is made from the media module on first use, after the window shows.
    reading::IShadowRecorder& recorder();

    /// Asks the sound server for an input device, and follows its devices from then on; until then
    /// the shadowing switch is off. Asking takes a moment, so the window asks once its first
    /// sentence is under way; later calls do nothing.
    void FindInputDevice();
    /// Takes a typed or chosen schedule; a mistake is shown and the list goes back to the last one.
    bool ApplySpeedText(const QString& text);
    void ReplayLastRecording();
    void ShowPicture();

signals:
    /// A message was shown to the learner (for tests: messages are not modal).
    void messageShown(const QString& text);

private:
    void SetShadowing(bool on);
    void ShowSchedule();
    /// Enables the switch when an input device is there; says why not in its tool tip.
    void CheckDevice();
    void ShowMessage(const QString& text);
    /// The picture shows the newest recording of its sentence.
    void RecordingFinished(const QString& file);

    settings::Settings& m_settings;
    PracticeParts m_parts;
    std::unique_ptr<reading::IShadowRecorder> m_ownRecorder;
    reading::IShadowRecorder* m_recorder = nullptr;
    QLabel* m_speedCaption = nullptr;
    QComboBox* m_speedList = nullptr;
    QPushButton* m_shadowButton = nullptr;
    bool m_devicesWatched = false;
    QPointer<SpeechPictureDlg> m_picture;
    /// The library file of the sentence the picture shows.
    std::string m_pictureSentence;
};

} // namespace lectoria::ui
