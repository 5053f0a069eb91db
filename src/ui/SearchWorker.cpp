#include "SearchWorker.h"

#include <QPointer>
#include <QThread>

namespace lectoria::ui {

SearchWorker::SearchWorker(QObject* parent) : QObject(parent) {}

SearchWorker::~SearchWorker()
{
    Cancel();
}

void SearchWorker::Start(const search::SearchRequest& request, const grammar::RuleTable* table)
{
    Cancel();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    const std::shared_ptr<std::atomic<bool>> cancel = m_cancel;
    // Results come back through queued calls; the guard drops them once this object is gone.
    QPointer<SearchWorker> self(this);
    m_thread = QThread::create([self, request, table, cancel] {
        grammar::RuleTable ownTable;
        if (table == nullptr) {
            grammar::BuildRuleTable(ownTable);
        }
        SearchOutcome outcome;
        outcome.results = search::RunTopicSearch(
            table != nullptr ? *table : ownTable, request,
            [self, cancel](int done, int total) {
                if (!cancel->load()) {
                    QMetaObject::invokeMethod(
                        self.data(),
                        [self, cancel, done, total] {
                            if (self && !cancel->load()) {
                                emit self->progress(done, total);
                            }
                        },
                        Qt::QueuedConnection);
                }
            },
            cancel.get());
        if (cancel->load()) {
            return;
        }
        QMetaObject::invokeMethod(
            self.data(),
            [self, cancel, outcome] {
                // A search cancelled after it posted its outcome reports nothing.
                if (self && !cancel->load()) {
                    self->Finish(outcome);
                }
            },
            Qt::QueuedConnection);
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
