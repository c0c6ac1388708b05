#include "run/ProgressCounter.h"

#include <algorithm>

void ProgressCounter::runStarted(qint64 files, qint64 bytes) {
    // A run of stages (a check, then a rebuild) starts each anew.
    m_file = -1;
    m_doneBytes = 0;
    m_doneBeforeFile = 0;
    m_files = files;
    m_totalBytes = bytes;
    m_checking = false;
}

void ProgressCounter::checkStarted(const QString &name, qint64 bytes) {
    runStarted(1, bytes);
    fileStarted(0, name, bytes);
    m_checking = true;
}

void ProgressCounter::fileStarted(qint64 index, const QString &name, qint64 bytes) {
    {
        const std::lock_guard lock(m_nameMutex);
        m_fileName = name;
    }
    m_fileBytes = bytes;
    m_doneBeforeFile = m_doneBytes.load();
    m_file = index;
}

void ProgressCounter::bytesCopied(qint64 bytes) {
    m_doneBytes.fetch_add(bytes, std::memory_order_relaxed);
}

void ProgressCounter::flushStarted() {
    m_flushing = true;
}

ProgressSnapshot ProgressCounter::snapshot() const {
    ProgressSnapshot now;
    now.files = m_files;
    now.file = m_file;
    {
        const std::lock_guard lock(m_nameMutex);
        now.fileName = m_fileName;
    }
    now.fileBytes = m_fileBytes;
    now.doneBytes = m_doneBytes.load(std::memory_order_relaxed);
    // Read apart from the file's start, it may be a moment behind.
    now.fileDone = std::max<qint64>(0, now.doneBytes - m_doneBeforeFile);
    now.totalBytes = m_totalBytes;
    now.flushing = m_flushing;
    now.checking = m_checking;
    return now;
}
