#include "SearchWorker.h"

#include <QThread>

#include "BackgroundTask.h"
#include "MediaModule.h"
#include "analysis/Analysis.h"

namespace lectoria::ui {

SearchWorker::SearchWorker(QObject* parent) : QObject(parent) {}

SearchWorker::~SearchWorker()
{
    Cancel();
}

void SearchWorker::Start(const search::SearchRequest& request, const grammar::RuleTable* table, bool byParser)
{
    Cancel();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    const std::shared_ptr<std::atomic<bool>> cancel = m_cancel;
    // Results come back through queued calls; the guard drops them once this object is gone.
    QPointer<SearchWorker> self(this);
    m_thread = QThread::create([self, request, table, byParser, cancel] {
        SearchOutcome outcome;
        search::SearchRequest asked = request;
        if (byParser && analysis::ParserCovers(asked.strSubjectGrammar)) {
            // Loading the parser's dictionary the first time takes a moment; it happens here, off
            // the window's thread.
            std::string error;
            asked.topicMatcher =
                analysis::ParserTopicMatcher(platform::MediaParserDesk(error), asked.strSubjectGrammar);
            if (!asked.topicMatcher) {
                outcome.parserProblem = "无法使用句法分析(" + error + "),已按词表规则查找";
            }
        }
        outcome.results = search::RunTopicSearch(
            table != nullptr ? *table : grammar::BuiltInRuleTable(), asked,
            [self, cancel](int done, int total) {
                PostUnlessCancelled(self, cancel,
                                    [done, total](SearchWorker* worker) { emit worker->progress(done, total); });
            },
            cancel.get());
        if (cancel->load()) {
            return;
        }
        // A search cancelled after it posted its outcome reports nothing.
        PostUnlessCancelled(self, cancel, [outcome](SearchWorker* worker) { worker->Finish(outcome); });
    });
    m_thread->start();
}

void SearchWorker::Finish(const SearchOutcome& outcome)
{
    JoinThread();
    emit finished(outcome);
}

void SearchWorker::Cancel()
{
    if (m_cancel) {
        m_cancel->store(true);
    }
    JoinThread();
}

void SearchWorker::JoinThread()
{
    if (m_thread == nullptr) {
        return;
    }
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

} // namespace lectoria::ui
