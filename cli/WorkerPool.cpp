// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <system_error>

WorkerPool::WorkerPool(std::size_t count) {
    // Where the system refuses a thread (a memory limit, too many processes), the work goes
    // to the threads there are: the results are the same, only later.
    try {
        m_helpers.reserve(count > 0 ? count - 1 : 0);
        for (std::size_t index = 1; index < count; ++index)
            m_helpers.emplace_back(&WorkerPool::Serve, this, index);
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
}

WorkerPool::~WorkerPool() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_started.notify_all();
    for (std::thread& helper : m_helpers)
        helper.join();
}

void WorkerPool::Run(std::size_t used, const std::function<void(std::size_t)>& task) {
    {
        const std::lock_guard lock(m_mutex);
        m_task = &task;
        m_used = used;
        m_running = used > 0 ? used - 1 : 0;
        ++m_run;
    }
    m_started.notify_all();
    if (used > 0)
        task(0);
    std::unique_lock lock(m_mutex);
    m_finished.wait(lock, [this] { return m_running == 0; });
}

void WorkerPool::RunSplit(std::size_t count, std::size_t run,
                          const std::function<void(std::size_t, std::size_t, std::size_t)>& task) {
    run = std::max<std::size_t>(1, run);
    const std::size_t runs = (count + run - 1) / run;
    std::atomic<std::size_t> next{0};
    Run(std::min(Count(), runs), [&](std::size_t t) {
        for (std::size_t i = next++; i < runs; i = next++)
            task(i * run, std::min(count, (i + 1) * run), t);
    });
}

void WorkerPool::Serve(std::size_t index) {
    std::uint64_t seen = 0;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_started.wait(lock, [&] { return m_stopping || m_run != seen; });
        if (m_stopping)
            return;
        seen = m_run;
        if (index >= m_used)
            continue;
        const std::function<void(std::size_t)>& task = *m_task;
        lock.unlock();
        task(index);
        lock.lock();
        if (--m_running == 0)
            m_finished.notify_one();
    }
}
