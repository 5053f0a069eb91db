#include "CSelectTextDlg.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "grammar/TextRules.h"
#include "library/Library.h"

namespace lectoria::ui {

CSelectTextDlg::CSelectTextDlg(std::string strFullPath, std::string bookList, QWidget* parent)
    : QDialog(parent), m_strFullPath(std::move(strFullPath)), m_bookList(std::move(bookList))
{
    setWindowTitle(QStringLiteral("Lectoria课文选择"));
    m_bookBox = new QComboBox(this);
    m_lessonBox = new QComboBox(this);
    m_lessonBox->setMaxVisibleItems(25);
    m_sentences = new QListWidget(this);
    m_sentences->setSelectionMode(QAbstractItemView::NoSelection);
    m_sentences->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_sentences->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    const std::pair<int, const char*> buttons[] = {
        {1030, "确定但不选"}, {1091, "确定并全选朗读"}, {1099, "设置目录"}, {1031, "退出"}};
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

void CSelectTextDlg::FillFromPath()
{
    m_filling = true;
    const std::string book = library::BookNameOf(m_strFullPath);
    const std::string lesson = library::LessonNameOf(m_strFullPath);

    m_bookBox->clear();
    for (const std::string& name : grammar::SplitList(m_bookList, '/')) {
        m_bookBox->addItem(QString::fromStdString(name));
    }
    m_bookBox->setCurrentIndex(
        m_bookBox->findText(QString::fromStdString(book), Qt::MatchExactly | Qt::MatchCaseSensitive));

    m_lessonBox->clear();
    const std::string bookPath = library::LibraryRootOf(m_strFullPath) + book;
    for (const std::string& name : library::LessonFolders(bookPath)) {
        m_lessonBox->addItem(QString::fromStdString(name));
    }
    m_lessonBox->setCurrentIndex(
        m_lessonBox->findText(QString::fromStdString(lesson), Qt::MatchExactly | Qt::MatchCaseSensitive));

    m_sentences->clear();
    for (const std::string& title : library::FillLessonList(m_strFullPath)) {
        m_sentences->addItem(QString::fromStdString(title));
    }
    m_filling = false;
}

void CSelectTextDlg::OnBookChanged(int index)
{
    if (m_filling || index < 0) {
        return;
    }
    const std::string book = m_bookBox->itemText(index).toStdString();
    const std::string root = library::LibraryRootOf(m_strFullPath);
    const std::vector<std::string> lessons = library::LessonFolders(root + book);
    m_strFullPath = root + book + library::kPathSeparator + (lessons.empty() ? std::string() : lessons.front());
    FillFromPath();
}

void CSelectTextDlg::OnLessonChanged(int index)
{
    if (m_filling || index < 0) {
        return;
    }
    m_strFullPath = library::LibraryRootOf(m_strFullPath) + m_bookBox->currentText().toStdString() +
                    library::kPathSeparator + m_lessonBox->itemText(index).toStdString();
    FillFromPath();
}

void CSelectTextDlg::SetFolder()
{
    QString folder = pickFolder ? pickFolder() : QString();
    if (!folder.isEmpty()) {
        while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))) {
            folder.chop(1);
        }
        m_strFullPath = QDir::toNativeSeparators(folder).toStdString();
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
