#pragma once

#include <QDialog>

#include "SpeechPicture.h"
#include "import/MediaInterfaces.h"

class QLabel;

namespace lectoria::ui {

/// "跟读对比": the sentence, and the model's reading above the learner's last recording, lined up
/// where each begins to speak, in the window's colours.
class SpeechPictureDlg : public QDialog
{
    Q_OBJECT

public:
    SpeechPictureDlg(const QString& sentence, const import::PcmAudio& model, const import::PcmAudio& learner,
                     const SpeechPictureColours& colours, QWidget* parent = nullptr);

    /// Shows a new recording of the learner in place of the last one.
    void SetRecording(const import::PcmAudio& learner);

    SpeechPicture* picture() const { return m_picture; }
    QLabel* sentenceLabel() const { return m_sentence; }

private:
    SpeechPicture* m_picture = nullptr;
    QLabel* m_sentence = nullptr;
};

} // namespace lectoria::ui
