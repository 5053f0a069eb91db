#pragma once

#include <atomic>
#include <functional>

namespace lectoria::search {

/// How many threads a walk over lesson folders takes: `wanted`, or one per core when it is 0.
int WalkThreads(int wanted);

/// Runs `visit(worker, lesson)` once for every lesson number below `total`, on `threads` threads
/// (worker numbers 0 … threads-1), taking lessons in ascending order as workers come free.
/// `progress` hears (0, total) first and then every count up to `total` in order, always on the
/// calling thread. Returns false, leaving lessons unvisited, when `cancel` was set before the
/// last lesson was reported.
bool WalkLessons(int total, int threads, const std::function<void(int worker, int lesson)>& visit,
                 const std::function<void(int done, int total)>& progress, const std::atomic<bool>* cancel);

} // namespace lectoria::search
