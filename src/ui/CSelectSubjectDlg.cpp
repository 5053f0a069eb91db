#include "CSelectSubjectDlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStringListModel>
#include <QVBoxLayout>

#include "grammar/TextRules.h"

namespace lectoria::ui {

CSelectSubjectDlg::CSelectSubjectDlg(TopicSearchInput input, QWidget* parent)
    : QDialog(parent), m_input(std::move(input)), m_strSubjectBook(m_input.strSubjectBook),
      m_strSubjectWord(m_input.strSubjectWord), m_strSubjectGrammar(m_input.strSubjectGrammar)
{
    setWindowTitle(QStringLiteral("Lectoria主题选择"));

    m_books = new QListWidget(this);
    m_books->setSelectionMode(QAbstractItemView::MultiSelection);
    m_books->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_allWords = new QLineEdit(this);
    m_anyWords = new QLineEdit(this);
    m_parent = new QComboBox(this);
    m_parent->setMaxVisibleItems(20);
    m_child = new QComboBox(this);
    m_child->setMaxVisibleItems(20);
    m_grandchild = new QComboBox(this);
    m_grandchild->setEditable(true);
    m_grandchild->setInsertPolicy(QComboBox::NoInsert);
    m_grandchild->setMaxVisibleItems(20);
    m_mark = new QCheckBox(QStringLiteral("标志"), this);
    m_progress = new QProgressBar(this);
    m_progress->setTextVisible(false);
    m_problemLine = new QLabel(this);
    m_problemLine->setWordWrap(true);
    m_problemLine->setStyleSheet(QStringLiteral("color: #b00000"));
    m_problemLine->hide();
    m_resultModel = new QStringListModel(this);
    m_results = new QListView(this);
    m_results->setModel(m_resultModel);
    m_results->setUniformItemSizes(true);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setSelectionMode(QAbstractItemView::NoSelection);
    m_results->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const std::pair<int, const char*> buttons[] = {
        {1111, "查找"}, {1104, "确定但不选"}, {1084, "退出"}, {1083, "确定并全选朗读"}};
    for (const auto& [id, text] : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(text), this);
        button->setAutoDefault(false);
        m_buttons.emplace_back(id, button);
    }

    auto* booksGroup = new QGroupBox(QStringLiteral("选择课本,可多选"), this);
    (new QVBoxLayout(booksGroup))->addWidget(m_books);
    auto* wordsGroup = new QGroupBox(QStringLiteral("输入主题词,大小写不限"), this);
    auto* words = new QVBoxLayout(wordsGroup);
    words->addWidget(new QLabel(QStringLiteral("多个词全部出现用/间隔"), this));
    words->addWidget(m_allWords);
    words->addWidget(new QLabel(QStringLiteral("多个词只要有一个出现用/间隔"), this));
    words->addWidget(m_anyWords);
    auto* topicGroup = new QGroupBox(QStringLiteral("选择语法父主题"), this);
    auto* topics = new QVBoxLayout(topicGroup);
    topics->addWidget(m_parent);
    auto* childCaption = new QHBoxLayout;
    childCaption->addWidget(new QLabel(QStringLiteral("选择语法子主题"), this));
    childCaption->addStretch(1);
    childCaption->addWidget(m_mark);
    topics->addLayout(childCaption);
    topics->addWidget(m_child);
    topics->addWidget(new QLabel(QStringLiteral("选择语法孙主题"), this));
    topics->addWidget(m_grandchild);
    auto* actionGroup = new QGroupBox(this);
    auto* actions = new QGridLayout(actionGroup);
    actions->addWidget(m_progress, 0, 0, 1, 2);
    actions->addWidget(m_problemLine, 1, 0, 1, 2);
    actions->addWidget(button(1111), 2, 0);
    actions->addWidget(button(1104), 2, 1);
    actions->addWidget(button(1084), 3, 0);
    actions->addWidget(button(1083), 3, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(booksGroup, 1);
    left->addWidget(wordsGroup);
    left->addWidget(topicGroup);
    left->addWidget(actionGroup);
    auto* resultsGroup = new QGroupBox(QStringLiteral("显示符合选项的文本"), this);
    (new QVBoxLayout(resultsGroup))->addWidget(m_results);
    auto* root = new QHBoxLayout(this);
    root->addLayout(left, 0);
    root->addWidget(resultsGroup, 1);
    resize(1000, 640);

    // Books, preselected as last time.
    const std::vector<std::string> chosen = grammar::SplitList(m_input.strSubjectBook, '/');
    for (const std::string& book : grammar::SplitList(m_input.bookList, '/')) {
        auto* item = new QListWidgetItem(QString::fromStdString(book), m_books);
        item->setSelected(std::find(chosen.begin(), chosen.end(), book) != chosen.end());
    }
    m_allWords->setText(QString::fromStdString(search::AllOfText(m_input.strSubjectWord)));
    m_anyWords->setText(QString::fromStdString(search::AnyOfText(m_input.strSubjectWord)));

    // The topic boxes, from the dialog's own rule table and the last selection.
    grammar::BuildRuleTable(m_table);
    m_filling = true;
    for (const std::string& name : grammar::SplitList(m_table.ParentTopicList, '/')) {
        m_parent->addItem(QString::fromStdString(name));
    }
    const std::vector<std::string> parts = grammar::SplitList(m_input.strSubjectGrammar, '+');
    auto part = [&parts](std::size_t i) { return i < parts.size() ? parts[i] : std::string(); };
    const int p = grammar::FindParentIndex(m_table, part(0));
    m_parent->setCurrentIndex(p);
    for (const std::string& name : grammar::SplitList(m_table.ChildTopicLists[static_cast<std::size_t>(p)], '/')) {
        m_child->addItem(QString::fromStdString(name));
    }
    const int c = grammar::FindChildIndex(m_table, p, part(1));
    m_child->setCurrentIndex(c);
    if (parts.size() == 3) {
        FillGrandchildren(p, c, parts[2]);
    }
    m_filling = false;
    m_mark->hide();

    connect(m_parent, &QComboBox::currentIndexChanged, this, &CSelectSubjectDlg::OnParentChanged);
    connect(m_child, &QComboBox::currentIndexChanged, this, &CSelectSubjectDlg::OnChildChanged);
    connect(button(1111), &QPushButton::clicked, this, &CSelectSubjectDlg::RunSearch);
    connect(button(1104), &QPushButton::clicked, this, [this] { CollectResults(false); });
    connect(button(1083), &QPushButton::clicked, this, [this] { CollectResults(true); });
    connect(button(1084), &QPushButton::clicked, this, &CSelectSubjectDlg::Exit);

    m_search = new SearchWorker(this);
    connect(m_search, &SearchWorker::progress, this, [this](int done, int total) {
        m_progress->setRange(0, std::max(total, 1));
        m_progress->setValue(done);
    });
    connect(m_search, &SearchWorker::finished, this, &CSelectSubjectDlg::OnSearchDone);
}

CSelectSubjectDlg::~CSelectSubjectDlg()
{
    StopSearch();
}

QPushButton* CSelectSubjectDlg::button(int id) const
{
    for (const auto& [buttonId, button] : m_buttons) {
        if (buttonId == id) {
            return button;
        }
    }
    return nullptr;
}

void CSelectSubjectDlg::FillGrandchildren(int p, int c, const std::string& wanted)
{
    const grammar::GrandchildCombo combo = grammar::FillGrandchildCombo(m_table, p, c, wanted);
    m_grandchild->clear();
    for (const std::string& name : combo.names) {
        m_grandchild->addItem(QString::fromStdString(name));
    }
    m_grandchild->setCurrentIndex(combo.names.empty() ? -1 : combo.selected);
}

void CSelectSubjectDlg::OnParentChanged(int index)
{
    if (m_filling || index < 0) {
        return;
    }
    m_filling = true;
    m_child->clear();
    for (const std::string& name : grammar::SplitList(m_table.ChildTopicLists[static_cast<std::size_t>(index)], '/')) {
        m_child->addItem(QString::fromStdString(name));
    }
    const int child = index == 0 || m_child->count() < 2 ? 0 : 1;
    m_child->setCurrentIndex(child);
    m_filling = false;
    FillGrandchildren(index, child, std::string());
}

void CSelectSubjectDlg::OnChildChanged(int index)
{
    if (m_filling || index < 0) {
        return;
    }
    FillGrandchildren(m_parent->currentIndex(), index, std::string());
}

void CSelectSubjectDlg::CollectSelection()
{
    std::vector<std::string> books;
    for (int row = 0; row < m_books->count(); ++row) {
        if (m_books->item(row)->isSelected()) {
            books.push_back(m_books->item(row)->text().toStdString());
        }
    }
    search::TopicSelection selection =
        search::ComposeTopicSelection(books, m_allWords->text().toStdString(), m_anyWords->text().toStdString(),
                                      m_parent->currentText().toStdString(), m_child->currentText().toStdString(),
                                      m_grandchild->currentText().toStdString());
    m_strSubjectBook = std::move(selection.strSubjectBook);
    m_strSubjectWord = std::move(selection.strSubjectWord);
    m_strSubjectGrammar = std::move(selection.strSubjectGrammar);
}

void CSelectSubjectDlg::RunSearch()
{
    if (m_search->running()) {
        return;
    }
    CollectSelection();
    if (m_strSubjectBook.empty()) {
        QMessageBox::information(this, QStringLiteral("Lectoria课本选择提醒"),
                                 QStringLiteral("请选择课本,可多选,方法是鼠标左键单击相应课本项目."));
        emit searchFinished();
        return;
    }
    m_resultModel->setStringList({});
    m_problemLine->hide();
    m_found.clear();
    m_foundHighlights.clear();
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    for (int id : {1111, 1104, 1083}) {
        button(id)->setEnabled(false);
    }

    search::SearchRequest request;
    request.strFullPath = m_input.strFullPath;
    request.strSubjectBook = m_strSubjectBook;
    request.allText = m_allWords->text().toStdString();
    request.anyText = m_anyWords->text().toStdString();
    request.strSubjectGrammar = m_strSubjectGrammar;
    m_search->Start(request, &m_table);
}

bool CSelectSubjectDlg::searching() const
{
    return m_search->running();
}

void CSelectSubjectDlg::OnSearchDone(const SearchOutcome& outcome)
{
    m_found = outcome.results.Items();
    m_foundHighlights = outcome.results.Highlights();
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(m_found.size()));
    for (const std::string& item : m_found) {
        shown.append(QString::fromStdString(item));
    }
    m_resultModel->setStringList(shown);
    // Results from the folders that could be read still count; the user learns which are missing.
    const std::string problems = search::ProblemSummary(outcome.results.problems);
    m_problemLine->setText(QString::fromStdString(problems));
    m_problemLine->setToolTip(QString::fromStdString(grammar::JoinList(outcome.results.problems, '\n')));
    m_problemLine->setVisible(!problems.empty());
    for (int id : {1111, 1104, 1083}) {
        button(id)->setEnabled(true);
    }
    emit searchFinished();
}

void CSelectSubjectDlg::StopSearch()
{
    if (!m_search->running()) {
        return;
    }
    // The search stops between two lesson folders, so this wait is short.
    m_search->Cancel();
    for (int id : {1111, 1104, 1083}) {
        button(id)->setEnabled(true);
    }
}

void CSelectSubjectDlg::CollectResults(bool selectAndRead)
{
    if (m_search->running()) {
        return;
    }
    m_resultItems = m_found;
    m_highlightWords = m_foundHighlights;
    m_highlightWords.resize(m_resultItems.size());
    m_selectAndRead = selectAndRead;
    accept();
}

void CSelectSubjectDlg::Exit()
{
    StopSearch();
    reject();
}

void CSelectSubjectDlg::keyPressEvent(QKeyEvent* event)
{
    // Neither key may close the dialog or start a search.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CSelectSubjectDlg::closeEvent(QCloseEvent* event)
{
    StopSearch();
    QDialog::closeEvent(event);
}

} // namespace lectoria::ui
