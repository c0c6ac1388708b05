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

void BackgroundFlush::flush(const FileHandle &file, qint64 bytes) {
    constexpr qint64 kBytesBetween = qint64(32) << 20;
    m_bytesSinceTaken += bytes;
    if (m_bytesSinceTaken < kBytesBetween)
        return;
    m_bytesSinceTaken = 0;
    try {
        FileHandle duplicate = file.duplicate();
        const std::lock_guard lock(m_mutex);
        m_waiting = std::move(duplicate);
    } catch (const Failure &) { // no descriptor to spare: the flush at the end does it all
        return;
    }
    m_handed.notify_one();
}

void BackgroundFlush::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_handed.wait(lock, [this] { return m_ending || m_waiting.fd() >= 0; });
        if (m_ending)
            return;
        const FileHandle file = std::move(m_waiting);
        lock.unlock();
        try {
            file.flushToDisk();
        } catch (const Failure &) { // left to the flush at the end
        }
        lock.lock();
    }
}
