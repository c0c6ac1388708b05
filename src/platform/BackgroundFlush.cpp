#include "BackgroundFlush.h"

#include "Failure.h"

#include <exception>
#include <utility>

BackgroundFlush::BackgroundFlush()
    : m_task([this] { run(); }) {}

BackgroundFlush::~BackgroundFlush() {
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_handed.notify_one();
    m_task.wait();
}

bool BackgroundFlush::handOver(const FileHandle &file, qint64 bytes) {
    constexpr qint64 kBytesBetweenFlushes = qint64(32) << 20;
    constexpr std::size_t kMostWaiting = 8;
    {
        const std::lock_guard lock(m_mutex);
        if (m_waiting.size() >= kMostWaiting)
            return false;
    }
    try {
        FileHandle duplicate = file.duplicate();
        const std::lock_guard lock(m_mutex);
        m_bytesSinceFlush += bytes;
        const bool flush = m_bytesSinceFlush >= kBytesBetweenFlushes;
        m_waiting.push_back({std::move(duplicate), bytes, flush});
        if (flush)
            m_bytesSinceFlush = 0;
    } catch (const std::exception &) { // no descriptor or memory to spare
        return false;
    }
    m_handed.notify_one();
    return true;
}

void BackgroundFlush::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_handed.wait(lock, [this] { return m_ending || !m_waiting.empty(); });
        if (m_ending)
            return;
        {
            const Waiting next = std::move(m_waiting.front());
            m_waiting.pop_front();
            lock.unlock();
            try {
                if (next.flush)
                    next.file.flushToDisk();
                else
                    next.file.startWriteback(0, next.bytes);
            } catch (const Failure &) { // left to the flush at the end
            }
        } // its descriptor closed before the lock is taken again
        lock.lock();
    }
}
