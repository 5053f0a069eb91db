#include "ImportLessonDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include "EspeakSpeech.h"
#include "MediaModule.h"
#include "library/Library.h"

namespace lectoria::ui {

namespace {

QString TimeText(std::int64_t ms)
{
    if (ms < 0) {
        return QStringLiteral("—");
    }
    return QStringLiteral("%1:%2.%3")
        .arg(ms / 60000)
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000 / 10, 2, 10, QLatin1Char('0'));
}

QString FromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

ImportLessonDlg::ImportLessonDlg(std::string libraryRoot, const std::vector<std::string>& books,
                                 const std::string& currentBook, QWidget* parent)
    : QDialog(parent), m_libraryRoot(std::move(libraryRoot))
{
    setWindowTitle(QStringLiteral("导入课文"));

    m_audioSource = new QPushButton(QStringLiteral("音频 + 字幕/歌词"), this);
    m_textSource = new QPushButton(QStringLiteral("英文文本（语音朗读）"), this);
    auto* sources = new QButtonGroup(this);
    for (QPushButton* button : {m_audioSource, m_textSource}) {
        button->setCheckable(true);
        button->setAutoDefault(false);
        sources->addButton(button);
    }
    m_audioSource->setChecked(true);

    m_audioEdit = new QLineEdit(this);
    m_timedEdit = new QLineEdit(this);
    m_textFileEdit = new QLineEdit(this);
    m_pasted = new QPlainTextEdit(this);
    m_pasted->setPlaceholderText(QStringLiteral("也可以在这里粘贴英文文本；中文行作为上一句的语法注释。"));
    m_voiceBox = new QComboBox(this);
    m_voiceBox->setEditable(true);
    m_voiceBox->addItems({QStringLiteral("en-us"), QStringLiteral("en-gb"), QStringLiteral("en")});
    m_wpmBox = new QSpinBox(this);
    m_wpmBox->setRange(platform::EspeakSpeech::kSlowestWpm, platform::EspeakSpeech::kFastestWpm);
    m_wpmBox->setValue(150);
    m_wpmBox->setSuffix(QStringLiteral(" 词/分钟"));

    const auto fileRow = [this](QLineEdit* edit, const QString& filter) {
        auto* row = new QHBoxLayout;
        auto* browse = new QPushButton(QStringLiteral("浏览..."), this);
        browse->setAutoDefault(false);
        row->addWidget(edit, 1);
        row->addWidget(browse);
        connect(browse, &QPushButton::clicked, this, [this, edit, filter] { ChooseFile(edit, filter); });
        return row;
    };
    auto* audioPage = new QWidget(this);
    auto* audioForm = new QFormLayout;
    auto* audioColumn = new QVBoxLayout(audioPage);
    audioColumn->addLayout(audioForm);
    audioColumn->addStretch(1);
    audioForm->addRow(QStringLiteral("音频或视频文件:"),
                      fileRow(m_audioEdit, QStringLiteral("音频/视频 (*.mp3 *.m4a *.aac *.ogg *.opus *.flac *.wav "
                                                          "*.mp4 *.mkv *.webm);;所有文件 (*)")));
    audioForm->addRow(QStringLiteral("字幕或歌词文件:"),
                      fileRow(m_timedEdit, QStringLiteral("字幕/歌词 (*.lrc *.srt *.vtt);;所有文件 (*)")));
    auto* textPage = new QWidget(this);
    auto* textForm = new QFormLayout(textPage);
    textForm->addRow(QStringLiteral("文本文件:"),
                     fileRow(m_textFileEdit, QStringLiteral("文本 (*.txt);;所有文件 (*)")));
    textForm->addRow(QStringLiteral("或粘贴文本:"), m_pasted);
    textForm->addRow(QStringLiteral("语音:"), m_voiceBox);
    textForm->addRow(QStringLiteral("语速:"), m_wpmBox);
    m_sourcePages = new QStackedWidget(this);
    m_sourcePages->addWidget(audioPage);
    m_sourcePages->addWidget(textPage);
    connect(m_audioSource, &QPushButton::toggled, this,
            [this](bool on) { m_sourcePages->setCurrentIndex(on ? 0 : 1); });

    m_bookBox = new QComboBox(this);
    m_bookBox->setEditable(true);
    for (const std::string& book : books) {
        m_bookBox->addItem(FromUtf8(book));
    }
    m_bookBox->setCurrentText(FromUtf8(currentBook));
    m_titleEdit = new QLineEdit(this);
    m_titleEdit->setPlaceholderText(QStringLiteral("课文标题（英文）"));
    auto* lessonForm = new QFormLayout;
    lessonForm->addRow(QStringLiteral("课本（可输入新课本名）:"), m_bookBox);
    lessonForm->addRow(QStringLiteral("课文标题:"), m_titleEdit);

    m_preview = new QTableWidget(0, 5, this);
    m_preview->setHorizontalHeaderLabels({QStringLiteral("序号"), QStringLiteral("开始"), QStringLiteral("结束"),
                                          QStringLiteral("句子"), QStringLiteral("注释")});
    m_preview->verticalHeader()->hide();
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    m_message = new QLabel(this);
    m_message->setWordWrap(true);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);

    m_previewButton = new QPushButton(QStringLiteral("预览"), this);
    m_importButton = new QPushButton(QStringLiteral("导入"), this);
    m_cancelButton = new QPushButton(QStringLiteral("取消导入"), this);
    m_closeButton = new QPushButton(QStringLiteral("关闭"), this);
    for (QPushButton* button : {m_previewButton, m_importButton, m_cancelButton, m_closeButton}) {
        button->setAutoDefault(false);
    }
    m_cancelButton->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_progress, 1);
    buttons->addWidget(m_previewButton);
    buttons->addWidget(m_importButton);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_closeButton);

    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(m_audioSource);
    sourceRow->addWidget(m_textSource);
    sourceRow->addStretch(1);
    auto* root = new QVBoxLayout(this);
    root->addLayout(sourceRow);
    root->addWidget(m_sourcePages);
    root->addLayout(lessonForm);
    root->addWidget(m_preview, 1);
    root->addWidget(m_message);
    root->addLayout(buttons);
    resize(860, 620);

    connect(m_previewButton, &QPushButton::clicked, this, &ImportLessonDlg::Preview);
    connect(m_importButton, &QPushButton::clicked, this, &ImportLessonDlg::StartImport);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] {
        if (m_cancel) {
            *m_cancel = true;
        }
    });
    connect(m_closeButton, &QPushButton::clicked, this, &ImportLessonDlg::reject);
    showError = [this](const QString& text) { QMessageBox::warning(this, QStringLiteral("导入课文"), text); };
}

ImportLessonDlg::~ImportLessonDlg()
{
    if (m_worker != nullptr) {
        *m_cancel = true;
        m_worker->wait();
    }
}

lectoria::import::ImportRequest ImportLessonDlg::request() const
{
    import::ImportRequest request;
    request.libraryRoot = m_libraryRoot;
    request.book = m_bookBox->currentText().trimmed().toStdString();
    request.title = m_titleEdit->text().trimmed().toStdString();
    if (m_audioSource->isChecked()) {
        request.source = import::ImportRequest::Source::AudioWithTimedText;
        request.audioPath = m_audioEdit->text().trimmed().toStdString();
        request.timedTextPath = m_timedEdit->text().trimmed().toStdString();
    } else {
        request.source = import::ImportRequest::Source::Text;
        request.textPath = m_textFileEdit->text().trimmed().toStdString();
        request.text = m_pasted->toPlainText().toStdString();
        request.voice = m_voiceBox->currentText().trimmed().toStdString();
        request.wordsPerMinute = m_wpmBox->value();
    }
    return request;
} // namespace lectoria::ui

void ImportLessonDlg::ChooseFile(QLineEdit* edit, const QString& filter)
{
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("选择文件"), edit->text(), filter);
    if (!file.isEmpty()) {
        edit->setText(file);
    }
}

void ImportLessonDlg::Preview()
{
    const import::ImportRequest wanted = request();
    if (wanted.source == import::ImportRequest::Source::AudioWithTimedText && wanted.timedTextPath.empty()) {
        m_message->setText(QStringLiteral("请选择字幕或歌词文件。"));
        return;
    }
    const import::ImportResult preview = import::PreviewImport(wanted);
    m_preview->setRowCount(0);
    if (!preview.ok()) {
        m_message->setText(FromUtf8(import::ImportErrorMessageZh(preview)));
        return;
    }
    m_preview->setRowCount(static_cast<int>(preview.sentences.size()));
    for (int row = 0; row < m_preview->rowCount(); ++row) {
        const import::ImportedSentence& sentence = preview.sentences[static_cast<std::size_t>(row)];
        const QString cells[] = {QString::number(sentence.number), TimeText(sentence.startMs), TimeText(sentence.endMs),
                                 FromUtf8(library::SentenceText(sentence.title)), FromUtf8(sentence.note)};
        for (int column = 0; column < 5; ++column) {
            m_preview->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
    }
    m_preview->resizeColumnToContents(0);
    QString message = QStringLiteral("共 %1 句").arg(preview.sentences.size());
    if (!preview.skipped.empty()) {
        message += QStringLiteral("，跳过 %1 条:").arg(preview.skipped.size());
        for (const import::SkippedCue& skipped : preview.skipped) {
            message += QStringLiteral(" [%1 %2]%3")
                           .arg(TimeText(skipped.startMs), QString::fromUtf8(import::SkipReasonTextZh(skipped.reason)),
                                FromUtf8(skipped.text));
        }
    }
    m_message->setText(message + QStringLiteral("。"));
}

void ImportLessonDlg::StartImport()
{
    if (m_worker != nullptr) {
        return;
    }
    const import::ImportRequest wanted = request();
    if (wanted.title.empty() || wanted.book.empty()) {
        m_message->setText(QStringLiteral("请选择课本并输入课文标题。"));
        return;
    }
    Preview();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    SetBusy(true);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    std::shared_ptr<std::atomic<bool>> cancel = m_cancel;
    m_worker = QThread::create([this, wanted, cancel] {
        const platform::ImportTools tools = platform::Media().CreateImportTools();
        const auto progress = [this](int done, int total) {
            QMetaObject::invokeMethod(
                this,
                [this, done, total] {
                    m_progress->setRange(0, total);
                    m_progress->setValue(done);
                },
                Qt::QueuedConnection);
        };
        const import::ImportResult result = lectoria::import::ImportLesson(
            wanted, {tools.decoder.get(), tools.encoder.get(), tools.speech.get()}, progress, cancel.get());
        QMetaObject::invokeMethod(
            this, [this, result] { FinishImport(result); }, Qt::QueuedConnection);
    });
    m_worker->start();
}

void ImportLessonDlg::FinishImport(const import::ImportResult& result)
{
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
    SetBusy(false);
    if (result.ok()) {
        m_lessonPath = result.lessonPath;
        emit importFinished(true);
        accept();
        return;
    }
    const QString text = FromUtf8(import::ImportErrorMessageZh(result));
    m_message->setText(text);
    m_progress->setValue(0);
    emit importFinished(false);
    if (result.error != import::ImportError::Cancelled && showError) {
        showError(text);
    }
}

void ImportLessonDlg::SetBusy(bool busy)
{
    for (QWidget* widget :
         std::initializer_list<QWidget*>{m_audioSource, m_textSource, m_sourcePages, m_bookBox, m_titleEdit,
                                         m_previewButton, m_importButton, m_closeButton}) {
        widget->setEnabled(!busy);
    }
    m_cancelButton->setEnabled(busy);
}

void ImportLessonDlg::reject()
{
    // A running import is cancelled first; the dialog stays until it has cleaned up.
    if (m_worker != nullptr) {
        *m_cancel = true;
        return;
    }
    QDialog::reject();
}

} // namespace lectoria::ui
