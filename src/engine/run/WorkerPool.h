#pragma once

#include "Task.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

// A fixed set of threads that take on one task together. The threads end with the pool.
class WorkerPool {
public:
    // Throws a Failure when the system has no thread to spare.
    explicit WorkerPool(int threads = defaultSize());
    ~WorkerPool();
    WorkerPool(const WorkerPool &) = delete;
    WorkerPool &operator=(const WorkerPool &) = delete;

    // As many threads as cores, at most 4: more only wait on the same disk.
    static int defaultSize();

    int size() const noexcept { return m_size; }

    // Runs work(i) on every thread i at once and returns when all have returned. work must not
    // throw.
    void runOnAll(const std::function<void(int thread)> &work);

private:
    void serve(int thread);
    void stop();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_finished;
    const std::function<void(int)> *m_work = nullptr;
    std::uint64_t m_generation = 0; // counts tasks given, so each thread takes each task once
    int m_running = 0;
    bool m_stopping = false;
    int m_size;
    std::vector<Task> m_tasks; // last: they start once the rest is made
};
