#include "run/WorkerPool.h"

#include <algorithm>

WorkerPool::WorkerPool(int threads) {
    m_threads.reserve(size_t(std::max(threads, 1)));
    try {
        for (int i = 0; i < std::max(threads, 1); ++i)
            m_threads.emplace_back([this, i] { serve(i); });
    } catch (...) { // the system has no thread to spare: end those that started
        stop();
        throw;
    }
}

WorkerPool::~WorkerPool() {
    stop();
}

void WorkerPool::stop() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

int WorkerPool::defaultSize() {
    return int(std::clamp(std::thread::hardware_concurrency(), 1U, 4U));
}

void WorkerPool::runOnAll(const std::function<void(int)> &work) {
    std::unique_lock lock(m_mutex);
    m_work = &work;
    m_running = size();
    ++m_generation;
    m_wake.notify_all();
    m_finished.wait(lock, [this] { return m_running == 0; });
    m_work = nullptr;
}

void WorkerPool::serve(int thread) {
    std::uint64_t done = 0;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_stopping || m_generation != done; });
        if (m_stopping)
            return;
        done = m_generation;
        const std::function<void(int)> &work = *m_work;
        lock.unlock();
        work(thread);
        lock.lock();
        if (--m_running == 0)
            m_finished.notify_all();
    }
}
