// Work a window hands to the thread pool reports back through queued calls, and the window may
// close at any moment while it does.
#include "BackgroundTask.h"

#include <atomic>
#include <memory>
#include <thread>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

using lectoria::ui::BackgroundTask;

namespace {

TEST(BackgroundTask, ProgressAndTheEndArriveOnTheOwnersThreadInOrder)
{
    BackgroundTask task;
    std::vector<int> seen;
    bool onWindowThread = true;
    QObject::connect(&task, &BackgroundTask::progress, [&](int done, int total) {
        seen.push_back(done);
        onWindowThread = onWindowThread && QThread::currentThread() == qApp->thread();
        EXPECT_EQ(total, 3);
    });
    QSignalSpy finished(&task, &BackgroundTask::finished);
    task.Start([](const BackgroundTask::Progress& progress, const std::atomic<bool>&) {
        for (int i = 1; i <= 3; ++i) {
            progress(i, 3);
        }
        return true;
    });
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(onWindowThread);
    EXPECT_FALSE(task.running());
}

TEST(BackgroundTask, ARestartDropsWhatTheCancelledWorkStillReports)
{
    BackgroundTask task;
    std::atomic<bool> firstMayEnd{false};
    std::vector<int> seen;
    QObject::connect(&task, &BackgroundTask::progress, [&](int done, int) { seen.push_back(done); });
    QSignalSpy finished(&task, &BackgroundTask::finished);
    task.Start([&firstMayEnd](const BackgroundTask::Progress& progress, const std::atomic<bool>&) {
        while (!firstMayEnd) {
            std::this_thread::yield();
        }
        progress(1, 1); // too late: it was cancelled by then
        return true;
    });
    task.Start([](const BackgroundTask::Progress& progress, const std::atomic<bool>&) {
        progress(2, 2);
        return true;
    });
    firstMayEnd = true;
    ASSERT_TRUE(finished.wait(30000));
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(30000));
    QCoreApplication::processEvents();
    EXPECT_EQ(seen, std::vector<int>{2});
    EXPECT_EQ(finished.count(), 1);
}

// The owner goes while the work is in the middle of posting a report: nothing may be posted to
// the destroyed object, or the event loop delivers to freed memory later.
TEST(BackgroundTask, AnOwnerDestroyedWhileItsWorkReportsIsNeverReached)
{
    for (int round = 0; round < 200; ++round) {
        auto owner = std::make_unique<BackgroundTask>();
        // The work outlives the round, so what it touches is shared.
        const auto reporting = std::make_shared<std::atomic<bool>>(false);
        owner->Start([reporting](const BackgroundTask::Progress& progress, const std::atomic<bool>& cancel) {
            for (int i = 0; !cancel; ++i) {
                progress(i, 0);
                *reporting = true;
            }
            return false;
        });
        while (!*reporting) {
            std::this_thread::yield();
        }
        owner.reset();
    }
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(60000));
    QCoreApplication::processEvents();
}

} // namespace
