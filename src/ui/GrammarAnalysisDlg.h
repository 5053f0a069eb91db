#pragma once

#include <memory>
#include <string>

#include <QDialog>

class QLabel;
class QPushButton;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace lectoria::ui {

class BackgroundTask;

/// "语法分析": what grammar one sentence holds, by the parser and by the rule table, each finding
/// with its words highlighted in the sentence when chosen. Choosing "按此主题查找" (or activating
/// a finding) closes it with that topic, for the topic dialog. The analysis runs in the
/// background; the dialog may close at any moment.
class GrammarAnalysisDlg : public QDialog
{
    Q_OBJECT

public:
    explicit GrammarAnalysisDlg(const QString& sentence, QWidget* parent = nullptr);
    ~GrammarAnalysisDlg() override;

    /// The topic selection chosen to search for, after the dialog was accepted.
    const std::string& chosenTopic() const { return m_chosenTopic; }
    /// Whether the chosen topic is one the parser found (rather than a rule).
    bool chosenByParser() const { return m_chosenByParser; }

    QTextEdit* sentenceView() const { return m_sentence; }
    QTreeWidget* findingsView() const { return m_findings; }
    /// What the parser made of the sentence, or that it is still at work.
    QLabel* parserLine() const { return m_parserLine; }
    QPushButton* searchButton() const { return m_search; }

signals:
    /// Both the parser's findings and the rules' topics are shown.
    void analysed();

private:
    struct Outcome;
    void ShowOutcome(const Outcome& outcome);
    void HighlightFinding(QTreeWidgetItem* item);
    void ChooseTopic(QTreeWidgetItem* item);

    QString m_text;
    std::string m_chosenTopic;
    bool m_chosenByParser = false;
    QTextEdit* m_sentence = nullptr;
    QTreeWidget* m_findings = nullptr;
    QLabel* m_parserLine = nullptr;
    QPushButton* m_search = nullptr;
    BackgroundTask* m_work = nullptr;
    std::shared_ptr<Outcome> m_outcome;
};

} // namespace lectoria::ui
