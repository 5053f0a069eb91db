#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include <QObject>

namespace lectoria::ui {

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
