#include "GrammarAnalysisDlg.h"

#include <vector>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "BackgroundTask.h"
#include "MediaModule.h"
#include "TopicCountsWorker.h"
#include "analysis/Analysis.h"
#include "analysis/RuleTopics.h"
#include "analysis/WordSpans.h"

namespace lectoria::ui {

namespace {

constexpr int kTopicRole = Qt::UserRole;
constexpr int kWordsRole = Qt::UserRole + 1;
constexpr int kFromRulesRole = Qt::UserRole + 2;

// A byte offset of a UTF-8 sentence as a position in its QString.
int Utf16Position(const std::string& text, std::size_t byte)
{
    return static_cast<int>(QString::fromUtf8(text.data(), static_cast<qsizetype>(byte)).size());
}

} // namespace

struct GrammarAnalysisDlg::Outcome
{
    analysis::ParserAnalysis parser;
    std::string parserProblem; ///< the parser could not be had at all
    std::vector<analysis::RuleTopic> rules;
};

GrammarAnalysisDlg::GrammarAnalysisDlg(const QString& sentence, QWidget* parent) : QDialog(parent), m_text(sentence)
{
    setWindowTitle(QStringLiteral("Lectoria语法分析"));
    m_sentence = new QTextEdit(this);
    m_sentence->setReadOnly(true);
    m_sentence->setPlainText(sentence);
    QFont large = m_sentence->font();
    large.setPointSize(20);
    m_sentence->setFont(large);
    m_sentence->setFixedHeight(m_sentence->fontMetrics().height() * 3 + 16);
    m_parserLine = new QLabel(QStringLiteral("正在分析…"), this);
    m_parserLine->setWordWrap(true);
    m_findings = new QTreeWidget(this);
    m_findings->setColumnCount(2);
    m_findings->setHeaderLabels({QStringLiteral("语法主题"), QStringLiteral("体现的词")});
    m_findings->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_search = new QPushButton(QStringLiteral("按此主题查找"), this);
    m_search->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(QStringLiteral("选中一项,句中标出体现它的词;双击或按钮按此主题查找课文"), this), 1);
    buttons->addWidget(m_search);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sentence);
    layout->addWidget(m_parserLine);
    layout->addWidget(m_findings, 1);
    layout->addLayout(buttons);
    resize(760, 520);

    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_findings, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { HighlightFinding(item); });
    connect(m_findings, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { ChooseTopic(item); });
    connect(m_search, &QPushButton::clicked, this, [this] { ChooseTopic(m_findings->currentItem()); });

    // The parser's dictionary and the rule matcher are made on first use, which takes a moment:
    // in the background, like the analysis itself.
    m_outcome = std::make_shared<Outcome>();
    m_work = new BackgroundTask(this);
    connect(m_work, &BackgroundTask::finished, this, [this] { ShowOutcome(*m_outcome); });
    m_work->Start([outcome = m_outcome, text = sentence.toStdString()](const BackgroundTask::Progress&,
                                                                       const std::atomic<bool>&) {
        if (const std::shared_ptr<analysis::ParserDesk> desk = platform::MediaParserDesk(outcome->parserProblem)) {
            outcome->parser = desk->AnalyseSentence(text);
        }
        outcome->rules = analysis::RuleTopicsOf(ProgramTopicMatcher(), text);
        return true;
    });
}

GrammarAnalysisDlg::~GrammarAnalysisDlg() = default;

void GrammarAnalysisDlg::ShowOutcome(const Outcome& outcome)
{
    const auto addGroup = [this](const QString& title) {
        auto* group = new QTreeWidgetItem(m_findings, {title});
        group->setFlags(Qt::ItemIsEnabled);
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
        group->setExpanded(true);
        return group;
    };
    const auto addFinding = [](QTreeWidgetItem* group, const std::string& topic, const std::string& words,
                               bool fromRules) {
        // A rule's matched words are '/'-separated pieces with blanks at word edges; shown plainly.
        QStringList shown;
        for (const QString& piece : QString::fromStdString(words).split(QLatin1Char('/'))) {
            if (!piece.trimmed().isEmpty()) {
                shown << piece.trimmed();
            }
        }
        auto* item = new QTreeWidgetItem(group, {QString::fromStdString(topic), shown.join(QStringLiteral(" / "))});
        item->setData(0, kTopicRole, QString::fromStdString(topic));
        item->setData(0, kWordsRole, QString::fromStdString(words));
        item->setData(0, kFromRulesRole, fromRules);
    };

    if (!outcome.parserProblem.empty()) {
        m_parserLine->setText(QStringLiteral("无法使用句法分析(%1),下面只列出词表规则的结果.")
                                  .arg(QString::fromStdString(outcome.parserProblem)));
    } else if (outcome.parser.status != analysis::ParseStatus::Complete) {
        m_parserLine->setText(QStringLiteral("句法分析未能完整分析此句,下面只列出词表规则的结果."));
    } else if (outcome.parser.findings.empty()) {
        m_parserLine->setText(QStringLiteral("句法分析没有找到时态、语态、从句等主题."));
    } else {
        m_parserLine->setText(QStringLiteral("句法分析找到 %1 项,词表规则找到 %2 项.")
                                  .arg(outcome.parser.findings.size())
                                  .arg(outcome.rules.size()));
    }
    if (!outcome.parser.findings.empty()) {
        QTreeWidgetItem* group = addGroup(QStringLiteral("句法分析"));
        for (const analysis::Finding& finding : outcome.parser.findings) {
            addFinding(group, finding.topic, finding.words, false);
        }
    }
    QTreeWidgetItem* rules = addGroup(QStringLiteral("词表规则"));
    for (const analysis::RuleTopic& topic : outcome.rules) {
        addFinding(rules, topic.selection, topic.matchedWords, true);
    }
    m_findings->expandAll();
    emit analysed();
}

void GrammarAnalysisDlg::HighlightFinding(QTreeWidgetItem* item)
{
    QList<QTextEdit::ExtraSelection> marks;
    const bool isFinding = item != nullptr && item->data(0, kTopicRole).isValid();
    m_search->setEnabled(isFinding);
    if (isFinding) {
        const std::string text = m_text.toStdString();
        const std::string words = item->data(0, kWordsRole).toString().toStdString();
        const std::vector<analysis::WordSpan> spans = item->data(0, kFromRulesRole).toBool()
                                                          ? analysis::MatchedWordSpans(text, words)
                                                          : analysis::FindingSpans(text, words);
        for (const analysis::WordSpan& span : spans) {
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(m_sentence->document());
            mark.cursor.setPosition(Utf16Position(text, span.start));
            mark.cursor.setPosition(Utf16Position(text, span.start + span.length), QTextCursor::KeepAnchor);
            mark.format.setBackground(QColor(255, 230, 0));
            mark.format.setFontWeight(QFont::Bold);
            marks.append(mark);
        }
    }
    m_sentence->setExtraSelections(marks);
}

void GrammarAnalysisDlg::ChooseTopic(QTreeWidgetItem* item)
{
    if (item == nullptr || !item->data(0, kTopicRole).isValid()) {
        return;
    }
    m_chosenTopic = item->data(0, kTopicRole).toString().toStdString();
    m_chosenByParser = !item->data(0, kFromRulesRole).toBool();
    accept();
}

} // namespace lectoria::ui
