#include "search/LessonWalk.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace lectoria::search {

namespace {

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

} // namespace

int WalkThreads(int wanted)
{
    if (wanted > 0) {
        return wanted;
    }
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

bool WalkLessons(int total, int threads, const std::function<void(int worker, int lesson)>& visit,
                 const std::function<void(int done, int total)>& progress, const std::atomic<bool>* cancel)
{
    if (progress) {
        progress(0, total);
    }
    threads = std::clamp(threads, 1, std::max(1, total));
    if (threads == 1) {
        for (int lesson = 0; lesson < total; ++lesson) {
            if (Cancelled(cancel)) {
                return false;
            }
            visit(0, lesson);
            if (progress) {
                progress(lesson + 1, total);
            }
        }
        return true;
    }

    std::atomic<int> nextLesson{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable changed;
    int done = 0;
    auto work = [&](int worker) {
        for (int lesson = nextLesson++; lesson < total && !stop.load(std::memory_order_relaxed);
             lesson = nextLesson++) {
            visit(worker, lesson);
            {
                const std::lock_guard<std::mutex> lock(mutex);
                ++done;
            }
            changed.notify_one();
        }
    };
    std::vector<std::thread> workers;
    workers.reserve(static_cast<std::size_t>(threads));
    for (int worker = 0; worker < threads; ++worker) {
        workers.emplace_back(work, worker);
    }
    // The caller's thread only reports, so that progress arrives in order and on one thread.
    int reported = 0;
    bool complete = true;
    while (reported < total) {
        int now = 0;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return done > reported; });
            now = done;
        }
        if (Cancelled(cancel)) {
            complete = false;
            break;
        }
        while (reported < now) {
            ++reported;
            if (progress) {
                progress(reported, total);
            }
            if (reported < total && Cancelled(cancel)) {
                complete = false;
                break;
            }
        }
        if (!complete) {
            break;
        }
    }
    stop = true;
    for (std::thread& worker : workers) {
        worker.join();
    }
    return complete;
}

} // namespace lectoria::search
