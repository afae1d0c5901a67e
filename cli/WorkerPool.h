// SPDX-License-Identifier: GPL-3.0-or-later
// A fixed set of threads that run one task side by side, again and again.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The helper threads start with the pool and wait between runs, so a run starts no thread.
class WorkerPool {
public:
    // count threads in all, the caller's among them (at least 1).
    explicit WorkerPool(std::size_t count);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    std::size_t Count() const { return m_helpers.size() + 1; }
    // Calls task(t) for t = 0..used - 1 (used at most Count()), task(0) on the caller's
    // thread, and returns when every call has returned.
    void Run(std::size_t used, const std::function<void(std::size_t)>& task);
    // Splits the items 0..count - 1 into runs of `run` consecutive items (the last may be
    // shorter) and calls task(from, to, t) for each run [from, to), on thread t: each
    // thread takes the next run when it has done its last, so that no thread waits while
    // others have much left. Only as many threads as there are runs take part.
    void RunSplit(std::size_t count, std::size_t run,
                  const std::function<void(std::size_t, std::size_t, std::size_t)>& task);

private:
    void Serve(std::size_t index);

    std::mutex m_mutex;
    std::condition_variable m_started, m_finished;
    const std::function<void(std::size_t)>* m_task = nullptr;
    std::size_t m_used = 0;
    std::size_t m_running = 0; // helpers still in the current run
    std::uint64_t m_run = 0;   // counts the runs
    bool m_stopping = false;
    std::vector<std::thread> m_helpers;
};
