#include "SpeakingPractice.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>

#include "ButtonStyle.h"
#include "ReadingController.h"
#include "MediaModule.h"
#include "SpeechPictureDlg.h"
#include "WindowCommands.h"
#include "library/Library.h"
#include "library/PathText.h"
#include "practice/RecordingStore.h"
#include "reading/IMediaPlayer.h"
#include "reading/SpeedSchedule.h"

namespace lectoria::ui {

namespace {

const QString kMessageCaption = QStringLiteral("Lectoria跟读");

lectoria::import::PcmAudio DecodedOrEmpty(const std::string& path)
{
    import::PcmAudio audio;
    if (path.empty() || !platform::Media().DecodeSentenceFile(path, audio).ok()) {
        return import::PcmAudio();
    }
    return audio;
}

} // namespace

SpeakingPractice::SpeakingPractice(settings::Settings& settings, const PracticeParts& parts, QObject* parent)
    : QObject(parent), m_settings(settings), m_parts(parts)
{
    m_recorder = parts.recorder;

    m_speedCaption = parts.speedCaption;
    m_speedList = parts.speedList;
    m_shadowButton = parts.shadowButton;
    m_speedList->setEditable(true);
    m_speedList->setInsertPolicy(QComboBox::NoInsert);
    m_speedList->setMaxVisibleItems(16);
    m_speedList->view()->setMinimumWidth(150);
    for (const std::string& preset : reading::SpeedPresets()) {
        m_speedList->addItem(QString::fromStdString(preset));
    }
    ShowSchedule();
    m_speedList->setToolTip(QStringLiteral("语速: 0.5 到 1.5 倍, 音高不变.\n"
                                           "也可填写每一遍的语速, 如 \"0.7, 0.85, 1.0\": 第一遍 0.7 倍,\n"
                                           "第二遍 0.85 倍, 其余各遍正常速度."));
    connect(m_speedList, &QComboBox::activated, this,
            [this](int index) { ApplySpeedText(m_speedList->itemText(index)); });
    connect(m_speedList->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { ApplySpeedText(m_speedList->currentText()); });

    m_shadowButton->setCheckable(true);

    WindowCommands& commands = *parts.commands;
    QAction* shadowing = commands.action(kShadowingCommand);
    shadowing->setCheckable(true);
    connect(shadowing, &QAction::toggled, this, &SpeakingPractice::SetShadowing);
    connect(m_shadowButton, &QPushButton::clicked, shadowing, &QAction::trigger);
    QAction* playBack = commands.action(kPlayBackRecordingCommand);
    playBack->setCheckable(true);
    playBack->setChecked(m_settings.isPlayBackRecording);
    connect(playBack, &QAction::toggled, this, [this](bool on) { m_settings.isPlayBackRecording = on; });
    commands.Bind(kReplayRecordingCommand, [this] { ReplayLastRecording(); });
    commands.Bind(kSpeechPictureCommand, [this] { ShowPicture(); });

    connect(parts.reading, &ReadingController::shadowingFailed, this, [this](const QString& why) {
        m_parts.commands->action(kShadowingCommand)->setChecked(false);
        ShowMessage(why);
    });
    shadowing->setEnabled(false);
    m_shadowButton->setEnabled(false);
    m_shadowButton->setToolTip(QStringLiteral("正在查找录音设备…"));
}

void SpeakingPractice::FindInputDevice()
{
    if (m_devicesWatched) {
        return;
    }
    m_devicesWatched = true;
    CheckDevice(); // first: the recorder sets up the media back end before Qt Multimedia starts
    if (m_ownRecorder) {
        platform::Media().WatchAudioInputs(this, [this] { CheckDevice(); });
    }
}

SpeakingPractice::~SpeakingPractice()
{
    m_parts.reading->SetRecorder(nullptr);
}

reading::IShadowRecorder& SpeakingPractice::recorder()
{
    if (m_recorder == nullptr) {
        m_ownRecorder = platform::Media().CreateRecorder(
            [this](const std::string& file) { RecordingFinished(QString::fromStdString(file)); });
        m_recorder = m_ownRecorder.get();
    }
    return *m_recorder;
}

void SpeakingPractice::CheckDevice()
{
    std::string why;
    const bool available = recorder().IsAvailable(&why);
    QAction* shadowing = m_parts.commands->action(kShadowingCommand);
    shadowing->setEnabled(available);
    m_shadowButton->setEnabled(available);
    m_parts.reading->SetRecorder(available ? &recorder() : nullptr);
    const QString tip = QStringLiteral("跟读 (F10): 每遍朗读之后录下你的跟读, 可回放 (F11) 和对比 (F12)");
    m_shadowButton->setToolTip(available ? tip : QString::fromStdString(why));
    // Without a device the switch shows off, but the learner's choice stays for when one comes back:
    // a disabled switch does not change the setting.
    shadowing->setChecked(available && m_settings.isShadowing);
}

void SpeakingPractice::SetShadowing(bool on)
{
    m_shadowButton->setChecked(on);
    if (!m_shadowButton->isEnabled()) {
        return;
    }
    m_settings.isShadowing = on;
    m_parts.reading->loop().PracticeChanged();
}

bool SpeakingPractice::ApplySpeedText(const QString& text)
{
    std::string why;
    const auto schedule = reading::ParseSpeedSchedule(text.toStdString(), &why);
    if (!schedule) {
        ShowSchedule();
        ShowMessage(QString::fromStdString(why));
        return false;
    }
    m_settings.strSpeedSchedule = schedule->Text();
    ShowSchedule();
    m_parts.reading->loop().PracticeChanged();
    return true;
}

void SpeakingPractice::ShowSchedule()
{
    m_speedList->setCurrentText(QString::fromStdString(m_settings.strSpeedSchedule));
    // A schedule wider than the list shows its first speeds, where it starts.
    m_speedList->lineEdit()->setCursorPosition(0);
}

void SpeakingPractice::ReplayLastRecording()
{
    const std::string sentence = m_parts.reading->CurrentAudioPath();
    const std::string recording = sentence.empty() ? std::string() : recorder().LastRecordingOf(sentence);
    if (recording.empty()) {
        ShowMessage(sentence.empty() ? QStringLiteral("没有当前句子,请先在列表中选择句子.")
                                     : QStringLiteral("这一句还没有跟读录音. 打开 \"跟读\" (F10) 后朗读即可录音."));
        return;
    }
    reading::ReadingLoop& loop = m_parts.reading->loop();
    if (loop.isReading()) {
        loop.PauseReading();
    }
    m_parts.player->Open(recording);
}

void SpeakingPractice::ShowPicture()
{
    const std::string sentence = m_parts.reading->CurrentAudioPath();
    if (sentence.empty()) {
        ShowMessage(QStringLiteral("没有当前句子,请先在列表中选择句子."));
        return;
    }
    const import::PcmAudio model = DecodedOrEmpty(sentence);
    if (model.samples.empty()) {
        ShowMessage(QStringLiteral("无法读取这一句的音频, 不能显示跟读对比."));
        return;
    }
    const import::PcmAudio learner = DecodedOrEmpty(recorder().LastRecordingOf(sentence));
    const QString text = QString::fromStdString(
        library::SentenceText(library::FileNameToTitle(library::TextOf(library::PathOf(sentence).stem()))));
    delete m_picture;
    m_picture = new SpeechPictureDlg(text, model, learner, m_parts.pictureColours(), m_parts.messageParent);
    m_picture->setAttribute(Qt::WA_DeleteOnClose);
    m_pictureSentence = sentence;
    m_picture->show();
}

void SpeakingPractice::RecordingFinished(const QString& file)
{
    if (file.isEmpty() || m_picture == nullptr || !m_picture->isVisible()) {
        return;
    }
    if (recorder().LastRecordingOf(m_pictureSentence) == file.toStdString()) {
        m_picture->SetRecording(DecodedOrEmpty(file.toStdString()));
    }
}

void SpeakingPractice::ShowMessage(const QString& text)
{
    // Not modal: a message that waited for a click inside the reading loop's tick would stall it.
    auto* box =
        new QMessageBox(QMessageBox::Information, kMessageCaption, text, QMessageBox::Ok, m_parts.messageParent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    emit messageShown(text);
}

} // namespace lectoria::ui
