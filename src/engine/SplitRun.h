#pragma once

#include "RangeCopier.h"
#include "WorkerPool.h"

#include <QElapsedTimer>
#include <QtGlobal>

#include <chrono>
#include <memory>

class OutputFolder;
class SplitCheck;
class SplitHost;

struct SplitOptions {
    // The host is asked to repaint the wait window once per this much work.
    std::chrono::milliseconds repaintInterval{100};
    // Threads that copy pieces at the same time.
    int workers = WorkerPool::defaultSize();
    // Where copying starts; slower methods follow where a file system refuses it.
    CopyMethod copyMethod = CopyMethod::Kernel;
};

// Cuts every queued file into numbered pieces in the output folder, each with a restore
// script beside them. Works on Module1::splitState; asks the host for the queue, the output
// folder, the wait window and the closing message.
class SplitRun {
public:
    explicit SplitRun(SplitHost &host, SplitOptions options = {});
    ~SplitRun();

    // First checks everything the run would write and throws SplitRefused, having written
    // nothing, when any of it would destroy or lose data. Then splits the queue in order and
    // shows the closing message. On the first failure it takes the wait window down and
    // throws FileError: earlier files stay complete, the failing one keeps its pieces but no
    // restore script, later ones are not touched, every file is closed and no thread is left.
    void SplitAllFiles();

private:
    void checkWholeRun();
    void SplitOneFile();
    void StartNextPiece();
    void WriteRestoreScript();

    void keepWaitWindowPainted();

    SplitHost &m_host;
    const SplitOptions m_options;
    QElapsedTimer m_sinceRepaint;
    qsizetype m_commandLineBytes = 0; // bytes of the copy line being built

    // For the length of one run.
    std::unique_ptr<SplitCheck> m_check;
    std::unique_ptr<OutputFolder> m_folder;
    std::unique_ptr<WorkerPool> m_pool;
};
