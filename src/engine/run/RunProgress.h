#pragma once

#include <QString>
#include <QtGlobal>

#include <atomic>

// What a split or a join tells about its progress while it runs. It is called from the run's
// threads, several at once, so an implementation must be thread-safe, and quick: it is called
// once per chunk copied. This one listens to nothing.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    // The run begins: files to write and bytes to copy, as the sources report them. A run
    // in stages (a check, then par2's work) tells each stage so, and counts from nothing again.
    virtual void runStarted(qint64 files, qint64 bytes) {
        Q_UNUSED(files);
        Q_UNUSED(bytes);
    }
    // Before the run, its check reads a file of bytes bytes, name (an earlier split's list, say):
    // a stage of its own, that counts from nothing.
    virtual void checkStarted(const QString &name, qint64 bytes) {
        Q_UNUSED(name);
        Q_UNUSED(bytes);
    }
    // File index (from 0) begins; bytes as its source reports them.
    virtual void fileStarted(qint64 index, const QString &name, qint64 bytes) {
        Q_UNUSED(index);
        Q_UNUSED(name);
        Q_UNUSED(bytes);
    }
    // Bytes more were copied.
    virtual void bytesCopied(qint64 bytes) { Q_UNUSED(bytes); }
    // Every piece of file index is written; what follows them (the restore script) is next.
    virtual void fileFinishing(qint64 index) { Q_UNUSED(index); }
    virtual void fileFinished(qint64 index) { Q_UNUSED(index); }
    // Every byte is written; the run waits until the disk holds them.
    virtual void flushStarted() {}
};

// Asks a run to stop. A run looks at it between bounded chunks of work, so it stops soon
// after; what it leaves is what its result says. Safe from any thread and from a signal
// handler.
class StopRequest {
public:
    void request() noexcept { m_requested.store(true, std::memory_order_relaxed); }
    bool requested() const noexcept { return m_requested.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> m_requested{false};
    static_assert(std::atomic<bool>::is_always_lock_free);
};
