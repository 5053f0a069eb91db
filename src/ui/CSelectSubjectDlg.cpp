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
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QStringListModel>
#include <QVBoxLayout>

#include "MediaModule.h"
#include "analysis/Analysis.h"
#include "analysis/ParserSearch.h"
#include "grammar/TextRules.h"
#include "library/Library.h"

namespace lectoria::ui {

namespace {

// Draws a topic's sentence count at the right edge of its row in the drop-down list, so that the
// item's text stays the topic's name: selections, typed grandchildren and stored choices use it.
class TopicCountDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QVariant count = index.data(CSelectSubjectDlg::kCountRole);
        if (!count.isValid()) {
            return;
        }
        painter->save();
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        QColor colour = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        if (count.toULongLong() == 0) {
            colour.setAlphaF(0.45F);
        }
        painter->setPen(colour);
        painter->drawText(option.rect.adjusted(0, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter,
                          QString::number(count.toULongLong()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += option.fontMetrics.horizontalAdvance(QStringLiteral("0000000")) + 12;
        return size;
    }
};

void SetCount(QComboBox* box, int row, const std::shared_ptr<const TopicCounts>& counts,
              std::initializer_list<std::string> selections)
{
    for (const std::string& selection : selections) {
        if (!counts) {
            break;
        }
        const auto found = counts->find(selection);
        if (found != counts->end()) {
            box->setItemData(row, QVariant::fromValue<qulonglong>(found->second), CSelectSubjectDlg::kCountRole);
            box->setItemData(row, QStringLiteral("所选课本中有 %1 句").arg(found->second), Qt::ToolTipRole);
            return;
        }
    }
    box->setItemData(row, QVariant(), CSelectSubjectDlg::kCountRole);
    box->setItemData(row, QVariant(), Qt::ToolTipRole);
}

} // namespace

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
    m_child->setItemDelegate(new TopicCountDelegate(m_child));
    m_grandchild->setItemDelegate(new TopicCountDelegate(m_grandchild));
    m_countLine = new QLabel(this);
    m_countLine->setWordWrap(true);
    m_byRules = new QRadioButton(QStringLiteral("按词表规则"), this);
    m_byParser = new QRadioButton(QStringLiteral("按句法分析"), this);
    m_byRules->setToolTip(QStringLiteral("按内置词表的规则判断句子是否属于所选主题"));
    m_byParser->setToolTip(
        QStringLiteral("时态、语态、从句、情态动词、非谓动词和部分句型按句法分析判断,其余主题仍按词表规则"));
    (m_input.isSearchByParser ? m_byParser : m_byRules)->setChecked(true);
    m_parseLine = new QLabel(this);
    m_parseLine->setWordWrap(true);
    m_parseLine->hide();
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
    auto* judge = new QHBoxLayout;
    judge->addWidget(m_byRules);
    judge->addWidget(m_byParser);
    judge->addStretch(1);
    topics->addLayout(judge);
    topics->addWidget(m_parseLine);
    topics->addWidget(m_parent);
    auto* childCaption = new QHBoxLayout;
    childCaption->addWidget(new QLabel(QStringLiteral("选择语法子主题"), this));
    childCaption->addStretch(1);
    childCaption->addWidget(m_mark);
    topics->addLayout(childCaption);
    topics->addWidget(m_child);
    topics->addWidget(new QLabel(QStringLiteral("选择语法孙主题"), this));
    topics->addWidget(m_grandchild);
    topics->addWidget(m_countLine);
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
    resize(1000, 720);

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
    connect(m_grandchild, &QComboBox::currentTextChanged, this, &CSelectSubjectDlg::ShowCountLine);

    // Counting starts a moment after the books change, so that choosing several books in a row
    // starts one count rather than one per click.
    m_counter = new TopicCountsWorker(this);
    m_countDelay = new QTimer(this);
    m_countDelay->setSingleShot(true);
    m_countDelay->setInterval(250);
    connect(m_countDelay, &QTimer::timeout, this, &CSelectSubjectDlg::StartCounting);
    connect(m_countDelay, &QTimer::timeout, this, &CSelectSubjectDlg::StartParsing);
    connect(m_books, &QListWidget::itemSelectionChanged, m_countDelay, qOverload<>(&QTimer::start));
    connect(m_counter, &TopicCountsWorker::progress, this, [this](int done, int total) {
        m_countLine->setText(QStringLiteral("正在统计各主题的句数… %1/%2 课").arg(done).arg(total));
    });
    connect(m_counter, &TopicCountsWorker::finished, this, [this] {
        m_counts = m_counter->counts();
        ShowCounts();
    });
    StartCounting();

    // Searching by the parser is as quick as by the rules once every sentence has been parsed, so
    // the parsing starts as soon as the parser is chosen, and goes on while the learner chooses.
    m_parsing = new BackgroundTask(this);
    connect(m_parsing, &BackgroundTask::progress, this, [this](int done, int total) {
        m_parseLine->setText(QStringLiteral("正在进行句法分析… %1/%2 课").arg(done).arg(total));
    });
    connect(m_parsing, &BackgroundTask::finished, this, [this] {
        ShowParseLine();
        if (m_parseProblem->empty()) {
            emit parsesReady();
        }
    });
    connect(m_byParser, &QRadioButton::toggled, this, &CSelectSubjectDlg::StartParsing);
    connect(m_byParser, &QRadioButton::toggled, this, &CSelectSubjectDlg::ShowCountLine);
    StartParsing();

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
    if (!m_filling) {
        ShowCounts();
    }
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

std::vector<std::string> CSelectSubjectDlg::ChosenBooks() const
{
    std::vector<std::string> books;
    for (int row = 0; row < m_books->count(); ++row) {
        if (m_books->item(row)->isSelected()) {
            books.push_back(m_books->item(row)->text().toStdString());
        }
    }
    return books;
}

void CSelectSubjectDlg::StartCounting()
{
    m_counts.reset();
    ShowCounts();
    const std::vector<std::string> books = ChosenBooks();
    if (books.empty()) {
        m_counter->Cancel();
        return;
    }
    m_countLine->setText(QStringLiteral("正在统计各主题的句数…"));
    m_counter->Start(library::LibraryRootOf(m_input.strFullPath), grammar::JoinList(books, '/'));
    m_countLine->setVisible(true);
}

void CSelectSubjectDlg::ShowCounts()
{
    const std::string parent = m_parent->currentText().toStdString();
    for (int row = 0; row < m_child->count(); ++row) {
        const std::string child = parent + "+" + m_child->itemText(row).toStdString();
        // A child with grandchildren is counted as its "所有" grandchild: any of them.
        SetCount(m_child, row, m_counts, {child, child + "+" + std::string(grammar::kAllTopics)});
    }
    const std::string child = parent + "+" + m_child->currentText().toStdString();
    for (int row = 0; row < m_grandchild->count(); ++row) {
        const std::string grandchild = child + "+" + m_grandchild->itemText(row).toStdString();
        SetCount(m_grandchild, row, m_counts,
                 {grandchild, row == 0 && m_grandchild->count() == 1 ? child : grandchild});
    }
    ShowCountLine();
    if (m_counts) {
        emit countsShown();
    }
}

void CSelectSubjectDlg::ShowCountLine()
{
    if (!m_counts) {
        m_countLine->setVisible(m_counter->running());
        return;
    }
    std::string selection = m_parent->currentText().toStdString() + "+" + m_child->currentText().toStdString();
    if (m_grandchild->count() > 0) {
        selection += '+';
        selection += m_grandchild->currentText().toStdString();
    }
    auto found = m_counts->find(selection);
    // "所有" as the only grandchild stands for no grandchild at all.
    if (found == m_counts->end() && m_grandchild->currentText().toStdString() == grammar::kAllTopics) {
        found = m_counts->find(selection.substr(0, selection.rfind('+')));
    }
    m_countLine->setVisible(true);
    if (found == m_counts->end()) {
        m_countLine->setText(QStringLiteral("此孙主题不在列表中,无法预先统计句数"));
    } else if (m_byParser->isChecked() && analysis::ParserCovers(selection)) {
        // The counts come from the rules; the parser may find more or fewer.
        m_countLine->setText(
            QStringLiteral("不计主题词,按词表规则所选课本中有 %1 句属于此主题,按句法分析以查找结果为准")
                .arg(found->second));
    } else {
        m_countLine->setText(QStringLiteral("不计主题词,所选课本中有 %1 句属于此主题").arg(found->second));
    }
}

void CSelectSubjectDlg::StartParsing()
{
    m_parsing->Cancel();
    const std::vector<std::string> books = ChosenBooks();
    if (!m_byParser->isChecked() || books.empty()) {
        m_parseLine->hide();
        return;
    }
    m_parseLine->setText(QStringLiteral("正在准备句法分析…"));
    m_parseLine->show();
    // Each run reports into its own slot, so a cancelled one cannot speak for a later one.
    auto problem = std::make_shared<std::string>();
    m_parseProblem = problem;
    m_parsing->Start([root = library::LibraryRootOf(m_input.strFullPath), books = grammar::JoinList(books, '/'),
                      problem](const BackgroundTask::Progress& progress, const std::atomic<bool>& cancel) {
        const std::shared_ptr<analysis::ParserDesk> desk = platform::MediaParserDesk(*problem);
        return desk == nullptr || analysis::FillParseCache(*desk, root, books, progress, &cancel);
    });
}

void CSelectSubjectDlg::ShowParseLine()
{
    if (!m_parseProblem->empty()) {
        m_parseLine->setText(
            QStringLiteral("无法使用句法分析(%1),将按词表规则查找").arg(QString::fromStdString(*m_parseProblem)));
        return;
    }
    m_parseLine->setText(QStringLiteral("所选课本的句子都已完成句法分析"));
}

bool CSelectSubjectDlg::isSearchByParser() const
{
    return m_byParser->isChecked();
}

void CSelectSubjectDlg::CollectSelection()
{
    search::TopicSelection selection =
        search::ComposeTopicSelection(ChosenBooks(), m_allWords->text().toStdString(), m_anyWords->text().toStdString(),
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
    m_search->Start(request, &m_table, m_byParser->isChecked());
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
    std::string problems = search::ProblemSummary(outcome.results.problems);
    if (!outcome.parserProblem.empty()) {
        problems = problems.empty() ? outcome.parserProblem : outcome.parserProblem + "; " + problems;
    }
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
