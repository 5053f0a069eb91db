#include "CSelectTextDlg.h"

#include <filesystem>

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "grammar/TextRules.h"
#include "library/Library.h"

namespace lectoria::ui {

CSelectTextDlg::CSelectTextDlg(std::string strFullPath, std::string bookList, QWidget* parent)
    : QDialog(parent), m_bookList(std::move(bookList))
{
    AdoptLessonPath(strFullPath);
    setWindowTitle(QStringLiteral("Lectoria课文选择"));
    m_bookBox = new QComboBox(this);
    m_lessonBox = new QComboBox(this);
    m_lessonBox->setMaxVisibleItems(25);
    m_sentences = new QListWidget(this);
    m_sentences->setSelectionMode(QAbstractItemView::NoSelection);
    m_sentences->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_sentences->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    const std::pair<int, const char*> buttons[] = {
        {1030, "确定但不选"}, {1091, "确定并全选朗读"}, {1099, "设置目录"}, {1031, "退出"}, {1100, "导入课文"}};
    for (const auto& [id, text] : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(text), this);
        button->setAutoDefault(false);
        m_buttons.emplace_back(id, button);
    }

    auto* bookGroup = new QGroupBox(QStringLiteral("选择课本"), this);
    (new QVBoxLayout(bookGroup))->addWidget(m_bookBox);
    auto* lessonGroup = new QGroupBox(QStringLiteral("选择课文"), this);
    auto* lessonLayout = new QVBoxLayout(lessonGroup);
    lessonLayout->addWidget(m_lessonBox);
    lessonLayout->addStretch(1);
    auto* buttonGroup = new QGroupBox(this);
    auto* buttonGrid = new QGridLayout(buttonGroup);
    buttonGrid->addWidget(button(1030), 0, 0);
    buttonGrid->addWidget(button(1091), 0, 1);
    buttonGrid->addWidget(button(1099), 1, 0);
    buttonGrid->addWidget(button(1031), 1, 1);
    buttonGrid->addWidget(button(1100), 2, 0, 1, 2);
    auto* left = new QVBoxLayout;
    left->addWidget(bookGroup);
    left->addWidget(lessonGroup, 1);
    left->addWidget(buttonGroup);
    auto* sentenceGroup = new QGroupBox(QStringLiteral("显示符合选项的文本"), this);
    (new QVBoxLayout(sentenceGroup))->addWidget(m_sentences);
    auto* root = new QHBoxLayout(this);
    root->addLayout(left, 0);
    root->addWidget(sentenceGroup, 1);
    resize(900, 520);

    connect(m_bookBox, &QComboBox::currentIndexChanged, this, &CSelectTextDlg::OnBookChanged);
    connect(m_lessonBox, &QComboBox::currentIndexChanged, this, &CSelectTextDlg::OnLessonChanged);
    connect(button(1030), &QPushButton::clicked, this, [this] { Confirm(false); });
    connect(button(1091), &QPushButton::clicked, this, [this] { Confirm(true); });
    connect(button(1099), &QPushButton::clicked, this, &CSelectTextDlg::SetFolder);
    connect(button(1031), &QPushButton::clicked, this, &QDialog::reject);
    tellUser = [this](const QString& text) { QMessageBox::warning(this, QStringLiteral("Lectoria"), text); };
    connect(button(1100), &QPushButton::clicked, this, [this] {
        m_importRequested = true;
        reject();
    });
    pickFolder = [this] {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("选择一个文件夹"), QString(),
                                                 QFileDialog::ShowDirsOnly);
    };
    FillFromPath();
}

QPushButton* CSelectTextDlg::button(int id) const
{
    for (const auto& [buttonId, button] : m_buttons) {
        if (buttonId == id) {
            return button;
        }
    }
    return nullptr;
}

void CSelectTextDlg::AdoptLessonPath(const std::string& lessonPath)
{
    m_libraryRoot = library::LibraryRootOf(lessonPath);
    SetLesson(library::BookNameOf(lessonPath), library::LessonNameOf(lessonPath));
    m_strFullPath = lessonPath;
}

void CSelectTextDlg::SetLesson(const std::string& book, const std::string& lesson)
{
    m_book = book;
    m_lesson = lesson;
    m_strFullPath = m_libraryRoot + book + library::kPathSeparator + lesson;
}

void CSelectTextDlg::FillFromPath()
{
    m_filling = true;
    m_bookBox->clear();
    for (const std::string& name : grammar::SplitList(m_bookList, '/')) {
        m_bookBox->addItem(QString::fromStdString(name));
    }
    m_bookBox->setCurrentIndex(
        m_bookBox->findText(QString::fromStdString(m_book), Qt::MatchExactly | Qt::MatchCaseSensitive));

    m_lessonBox->clear();
    for (const std::string& name : library::LessonFolders(m_libraryRoot + m_book)) {
        m_lessonBox->addItem(QString::fromStdString(name));
    }
    m_lessonBox->setCurrentIndex(
        m_lessonBox->findText(QString::fromStdString(m_lesson), Qt::MatchExactly | Qt::MatchCaseSensitive));

    m_sentences->clear();
    // Without a lesson the path names the book folder, whose own files are no sentences.
    if (!m_lesson.empty()) {
        for (const std::string& title : library::FillLessonList(m_strFullPath)) {
            m_sentences->addItem(QString::fromStdString(title));
        }
    }
    m_filling = false;
}

void CSelectTextDlg::OnBookChanged(int index)
{
    if (m_filling || index < 0) {
        return;
    }
    const std::string book = m_bookBox->itemText(index).toStdString();
    const std::string bookPath = m_libraryRoot + book;
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::path(bookPath), error)) {
        tellUser(QStringLiteral("课文库中没有这本课本:%1\n找不到文件夹 %2")
                     .arg(QString::fromStdString(book), QString::fromStdString(bookPath)));
    }
    const std::vector<std::string> lessons = library::LessonFolders(bookPath);
    SetLesson(book, lessons.empty() ? std::string() : lessons.front());
    FillFromPath();
}

void CSelectTextDlg::OnLessonChanged(int index)
{
    if (m_filling || index < 0) {
        return;
    }
    SetLesson(m_book, m_lessonBox->itemText(index).toStdString());
    FillFromPath();
}

void CSelectTextDlg::SetFolder()
{
    QString folder = pickFolder ? pickFolder() : QString();
    if (!folder.isEmpty()) {
        while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))) {
            folder.chop(1);
        }
        // A picked folder is a lesson folder: it sets the library root anew.
        AdoptLessonPath(QDir::toNativeSeparators(folder).toStdString());
    }
    FillFromPath();
}

void CSelectTextDlg::Confirm(bool selectAndRead)
{
    if (m_sentences->count() == 0) {
        return;
    }
    m_selectAndRead = selectAndRead;
    accept();
}

void CSelectTextDlg::keyPressEvent(QKeyEvent* event)
{
    // Neither key may close the dialog or press a button.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace lectoria::ui
