#include "run/WorkerPool.h"

#include <QThread>

#include <algorithm>

WorkerPool::WorkerPool(int threads)
    : m_size(std::max(threads, 1)) {
    m_tasks.reserve(size_t(m_size));
    try {
        for (int i = 0; i < m_size; ++i)
            m_tasks.emplace_back([this, i] { serve(i); });
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
    for (Task &task : m_tasks)
        task.wait();
}

int WorkerPool::defaultSize() {
    return std::clamp(QThread::idealThreadCount(), 1, 4);
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
