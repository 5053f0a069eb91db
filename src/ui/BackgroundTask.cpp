#include "BackgroundTask.h"

#include <QPointer>
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
            QMetaObject::invokeMethod(
                self.data(),
                [self, cancel, done, total] {
                    if (self && !cancel->load()) {
                        emit self->progress(done, total);
                    }
                },
                Qt::QueuedConnection);
        };
        if (!work(report, *cancel) || cancel->load()) {
            return;
        }
        QMetaObject::invokeMethod(
            self.data(),
            [self, cancel] {
                if (self && !cancel->load()) {
                    self->m_done = true;
                    emit self->finished();
                }
            },
            Qt::QueuedConnection);
    });
}

void BackgroundTask::Cancel()
{
    if (m_cancel) {
        m_cancel->store(true);
    }
}

} // namespace lectoria::ui
