#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "BackgroundTask.h"
#include "SearchWorker.h"
#include "TopicCountsWorker.h"
#include "grammar/RuleTable.h"
#include "search/TopicSearch.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QLabel;
class QListView;
class QStringListModel;
class QTimer;
class QPushButton;
class QRadioButton;

namespace lectoria::ui {

/// What the topic search dialog starts from.
struct TopicSearchInput
{
    std::string strFullPath;
    std::string bookList;
    std::string strSubjectBook;
    std::string strSubjectWord;
    std::string strSubjectGrammar;
    bool isSearchByParser = false;
};

/// The topic search dialog: books, topic words and a three-level grammar topic; "查找" lists
/// every matching sentence, and a confirm button hands them back with their notes and
/// highlight patterns. The search runs on a worker thread so the dialog stays responsive.
class CSelectSubjectDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CSelectSubjectDlg(TopicSearchInput input, QWidget* parent = nullptr);
    ~CSelectSubjectDlg() override;

    /// Starts a search with the current choice ("查找").
    void RunSearch();
    /// True while a search runs.
    bool searching() const;

    // After OK.
    const std::string& strSubjectBook() const { return m_strSubjectBook; }
    const std::string& strSubjectWord() const { return m_strSubjectWord; }
    const std::string& strSubjectGrammar() const { return m_strSubjectGrammar; }
    const std::vector<std::string>& resultItems() const { return m_resultItems; }
    const std::vector<std::string>& highlightWords() const { return m_highlightWords; }
    bool selectAndRead() const { return m_selectAndRead; }
    /// Whether topics the parser covers are decided by its findings rather than by their rules.
    bool isSearchByParser() const;

    QListWidget* booksBox() const { return m_books; }
    QLineEdit* allWordsEdit() const { return m_allWords; }
    QLineEdit* anyWordsEdit() const { return m_anyWords; }
    QComboBox* parentBox() const { return m_parent; }
    QComboBox* childBox() const { return m_child; }
    QComboBox* grandchildBox() const { return m_grandchild; }
    /// The found sentences; a plain list model, so that a search with very many results is shown at once.
    QListView* resultsBox() const { return m_results; }
    /// The folders the last search could not read; hidden when it read them all.
    QLabel* problemLine() const { return m_problemLine; }
    QProgressBar* progress() const { return m_progress; }
    QCheckBox* markBox() const { return m_mark; }
    /// How many sentences of the chosen books the chosen topic finds, or that they are being counted.
    QLabel* countLine() const { return m_countLine; }
    QRadioButton* byRulesButton() const { return m_byRules; }
    QRadioButton* byParserButton() const { return m_byParser; }
    /// How far the parser has got with the chosen books' sentences; shown while searching by it.
    QLabel* parseLine() const { return m_parseLine; }
    /// The item data role of the topic boxes that holds a topic's sentence count, when known.
    static constexpr int kCountRole = Qt::UserRole + 1;
    QPushButton* button(int id) const;

signals:
    /// A search has ended (found, cancelled or refused).
    void searchFinished();
    /// The topic boxes show the counts of the chosen books.
    void countsShown();
    /// Every sentence of the chosen books has its parser findings kept.
    void parsesReady();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnParentChanged(int index);
    void OnChildChanged(int index);
    void FillGrandchildren(int p, int c, const std::string& wanted);
    void CollectSelection();
    std::vector<std::string> ChosenBooks() const;
    void StartCounting();
    void ShowCounts();
    void ShowCountLine();
    void StartParsing();
    void ShowParseLine();
    void OnSearchDone(const SearchOutcome& outcome);
    void CollectResults(bool selectAndRead);
    void StopSearch();
    void Exit();

    TopicSearchInput m_input;
    grammar::RuleTable m_table;
    std::string m_strSubjectBook;
    std::string m_strSubjectWord;
    std::string m_strSubjectGrammar;
    std::vector<std::string> m_found;
    std::vector<std::string> m_foundHighlights;
    std::vector<std::string> m_resultItems;
    std::vector<std::string> m_highlightWords;
    bool m_selectAndRead = false;
    bool m_filling = false;

    SearchWorker* m_search = nullptr;
    TopicCountsWorker* m_counter = nullptr;
    std::shared_ptr<const TopicCounts> m_counts;
    QTimer* m_countDelay = nullptr;
    BackgroundTask* m_parsing = nullptr;
    std::shared_ptr<std::string> m_parseProblem = std::make_shared<std::string>();

    QListWidget* m_books = nullptr;
    QLineEdit* m_allWords = nullptr;
    QLineEdit* m_anyWords = nullptr;
    QComboBox* m_parent = nullptr;
    QComboBox* m_child = nullptr;
    QComboBox* m_grandchild = nullptr;
    QCheckBox* m_mark = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_problemLine = nullptr;
    QLabel* m_countLine = nullptr;
    QRadioButton* m_byRules = nullptr;
    QRadioButton* m_byParser = nullptr;
    QLabel* m_parseLine = nullptr;
    QListView* m_results = nullptr;
    QStringListModel* m_resultModel = nullptr;
    std::vector<std::pair<int, QPushButton*>> m_buttons;
};

} // namespace lectoria::ui
