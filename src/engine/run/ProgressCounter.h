#pragma once

#include "run/RunProgress.h"

#include <QString>

#include <atomic>
#include <mutex>

// How far a run is, at one moment.
struct ProgressSnapshot {
    qint64 files = 0;      // files of the run
    qint64 file = -1;      // the file under way, from 0; -1 before the first
    QString fileName;      // its name
    qint64 fileBytes = 0;  // its length, as its source reported it
    qint64 fileDone = 0;   // its bytes copied so far
    qint64 totalBytes = 0; // of the run, as the sources reported them
    qint64 doneBytes = 0;  // copied so far
    bool flushing = false; // every byte is written; the run waits for the disk
    bool checking = false; // the file under way is one the check before the run reads
};

// A progress sink that keeps count, for a window or a terminal to read now and then from
// another thread.
class ProgressCounter : public ProgressSink {
public:
    void runStarted(qint64 files, qint64 bytes) override;
    void checkStarted(const QString &name, qint64 bytes) override;
    void fileStarted(qint64 index, const QString &name, qint64 bytes) override;
    void bytesCopied(qint64 bytes) override;
    void flushStarted() override;

    ProgressSnapshot snapshot() const;

private:
    std::atomic<qint64> m_files{0};
    std::atomic<qint64> m_file{-1};
    std::atomic<qint64> m_fileBytes{0};
    std::atomic<qint64> m_doneBeforeFile{0};
    std::atomic<qint64> m_totalBytes{0};
    std::atomic<qint64> m_doneBytes{0};
    std::atomic<bool> m_flushing{false};
    std::atomic<bool> m_checking{false};
    mutable std::mutex m_nameMutex;
    QString m_fileName;
};
