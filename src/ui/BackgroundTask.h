#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include <QCoreApplication>
#include <QObject>
#include <QPointer>

namespace lectoria::ui {

/// Runs `call(owner)` on the window's thread later, unless by then the owner is gone or the work
/// that posts it was cancelled: how a worker thread reports without outliving its reader. The owner
/// must live on the application's thread.
template <class Owner, class Call>
void PostUnlessCancelled(const QPointer<Owner>& owner, const std::shared_ptr<std::atomic<bool>>& cancel, Call call)
{
    // Queued on the application object rather than on the owner: the owner can be destroyed
    // between a check of the guard here and the posting, and an event posted to a destroyed object
    // is delivered to freed memory. The guard is read where the owner lives, when the call runs.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [owner, cancel, call = std::move(call)] {
            if (owner && !cancel->load()) {
                call(owner.data());
            }
        },
        Qt::QueuedConnection);
}

/// Runs one piece of work at a time in the application's thread pool and reports its progress and
/// its end on the owner's thread. Work is never waited for, so neither starting another nor
/// destroying the owner stalls the window: it is cancelled and stops at its next check, and the
/// application waits for the pool when it exits.
class BackgroundTask : public QObject
{
    Q_OBJECT

public:
    using Progress = std::function<void(int done, int total)>;
    /// Returns false when it stopped because `cancel` was set.
    using Work = std::function<bool(const Progress& progress, const std::atomic<bool>& cancel)>;

    explicit BackgroundTask(QObject* parent = nullptr);
    ~BackgroundTask() override;

    /// Cancels the work under way and starts `work`.
    void Start(Work work);
    void Cancel();
    bool running() const { return m_cancel && !m_cancel->load() && !m_done; }

signals:
    void progress(int done, int total);
    /// The work ran to its end (a cancelled one reports nothing).
    void finished();

private:
    std::shared_ptr<std::atomic<bool>> m_cancel;
    bool m_done = false;
};

} // namespace lectoria::ui
