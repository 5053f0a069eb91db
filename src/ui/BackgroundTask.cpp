#include "BackgroundTask.h"

#include <QThreadPool>

namespace lectoria::ui {

BackgroundTask::BackgroundTask(QObject* parent) : QObject(parent) {}

BackgroundTask::~BackgroundTask()
{
    Cancel();
}

void BackgroundTask::Start(Work work)
{
    Cancel();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_done = false;
    const std::shared_ptr<std::atomic<bool>> cancel = m_cancel;
    // Reports come back through queued calls; the guard drops them once this object is gone.
    QPointer<BackgroundTask> self(this);
    QThreadPool::globalInstance()->start([self, cancel, work = std::move(work)] {
        const Progress report = [self, cancel](int done, int total) {
            PostUnlessCancelled(self, cancel,
                                [done, total](BackgroundTask* task) { emit task->progress(done, total); });
        };
        if (!work(report, *cancel) || cancel->load()) {
            return;
        }
        PostUnlessCancelled(self, cancel, [](BackgroundTask* task) {
            task->m_done = true;
            emit task->finished();
        });
    });
}

void BackgroundTask::Cancel()
{
    if (m_cancel) {
        m_cancel->store(true);
    }
}

} // namespace lectoria::ui
