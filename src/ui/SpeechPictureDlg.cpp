#include "SpeechPictureDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lectoria::ui {

SpeechPictureDlg::SpeechPictureDlg(const QString& sentence, const import::PcmAudio& model,
                                   const import::PcmAudio& learner, const SpeechPictureColours& colours,
                                   QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("跟读对比"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colours.background);
    palette.setColor(QPalette::WindowText, colours.text);
    setPalette(palette);

    m_sentence = new QLabel(sentence, this);
    m_sentence->setWordWrap(true);
    m_sentence->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont large = m_sentence->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    m_sentence->setFont(large);

    m_picture = new SpeechPicture(this);
    m_picture->SetColours(colours);
    m_picture->SetModel(model);
    m_picture->SetRecording(learner);

    auto* legend = new QLabel(QStringLiteral("淡色为波形,彩色细线为响度,粗线为音高(左侧刻度:赫兹);"
                                             "两条在开始说话处对齐,秒数从那里算起。"),
                              this);
    legend->setWordWrap(true);
    QPalette muted = legend->palette();
    muted.setColor(QPalette::WindowText, QColor::fromRgbF((colours.text.redF() + colours.background.redF()) / 2,
                                                          (colours.text.greenF() + colours.background.greenF()) / 2,
                                                          (colours.text.blueF() + colours.background.blueF()) / 2));
    legend->setPalette(muted);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(legend, 1);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sentence);
    layout->addWidget(m_picture, 1);
    layout->addLayout(bottom);
    setSizeGripEnabled(true);
    resize(880, 560);
}

void SpeechPictureDlg::SetRecording(const import::PcmAudio& learner)
{
    m_picture->SetRecording(learner);
}

} // namespace lectoria::ui
