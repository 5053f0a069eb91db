#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include <QObject>

#include "grammar/RuleTable.h"
#include "search/TopicSearch.h"

class QThread;

namespace lectoria::ui {

/// What a background search hands back. Notes are not read here: a result's note is read when
/// its sentence is shown, so no result count makes the hand-over slow.
struct SearchOutcome
{
    search::SearchResults results;
    /// Why a search asked to go by the parser went by the word-list rules instead; else empty.
    std::string parserProblem;
};

/// Runs one topic search on a worker thread so the window stays responsive, and reports its
/// progress and its outcome on the window's thread. A cancelled search reports nothing.
class SearchWorker : public QObject
{
    Q_OBJECT

public:
    explicit SearchWorker(QObject* parent = nullptr);
    /// Cancels a running search and waits for its thread.
    ~SearchWorker() override;

    /// Starts a search. With `table` null it takes the built-in table; the given table must
    /// outlive the search. `byParser` decides the topics the parser covers by its
    /// findings (through the program's parser and its cache) instead of by their rules.
    void Start(const search::SearchRequest& request, const grammar::RuleTable* table, bool byParser = false);
    /// Stops the search between two lesson folders and waits for it; no outcome follows.
    void Cancel();
    bool running() const { return m_thread != nullptr; }

signals:
    void progress(int done, int total);
    void finished(const lectoria::ui::SearchOutcome& outcome);

private:
    void Finish(const SearchOutcome& outcome);
    void JoinThread();

    QThread* m_thread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancel;
};

} // namespace lectoria::ui
