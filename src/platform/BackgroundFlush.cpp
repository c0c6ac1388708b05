#include "BackgroundFlush.h"

#include "Failure.h"

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

void BackgroundFlush::handOver(const FileHandle &file, qint64 bytes) {
    constexpr qint64 kBytesBetweenFlushes = qint64(32) << 20;
    constexpr std::size_t kMostWaiting = 16;
    try {
        const std::lock_guard lock(m_mutex);
        if (m_waiting.size() >= kMostWaiting)
            return; // the disk lags: the flush at the end takes this one along
        m_bytesSinceFlush += bytes;
        const bool flush = m_bytesSinceFlush >= kBytesBetweenFlushes;
        m_waiting.push_back({file.duplicate(), bytes, flush});
        if (flush)
            m_bytesSinceFlush = 0;
    } catch (const Failure &) { // no descriptor to spare: the flush at the end does it all
        return;
    }
    m_handed.notify_one();
}

void BackgroundFlush::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_handed.wait(lock, [this] { return m_ending || !m_waiting.empty(); });
        if (m_ending)
            return;
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
        lock.lock();
    }
}
