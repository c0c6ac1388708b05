#pragma once

#include "FileFacts.h"
#include "RangeCopier.h"
#include "checksums/ChecksumList.h"
#include "run/RunResult.h"
#include "run/WorkerPool.h"

#include <QByteArray>

#include <functional>

class PieceFiles;
class ProgressSink;
class RecoveryWriter;
class SourceFile;
struct CutPlan;
struct CutResult;
class StopRequest;
struct PlannedFile;
struct SplitPlan;

// How a run waits until the disk holds the pieces it wrote. Scripts and checksum lists are
// flushed before they take their names whatever the method: they appear whole or not at all.
enum class FlushMethod {
    FileSystem, // at the end, one syncfs of the output folder's file system, where it reaches
                // the storage (else as EachFile)
    EachFile,   // each piece flushed (fsync) as it is complete, the folder at the end
    None,       // for measuring the rest alone: the run does not wait for the pieces
};

struct RunOptions {
    // Threads that copy pieces at the same time.
    int workers = WorkerPool::defaultSize();
    // Where copying starts; slower methods follow where a file system refuses it.
    CopyMethod copyMethod = CopyMethod::Kernel;
    FlushMethod flushMethod = FlushMethod::FileSystem;
};

// Cuts every file of a plan into numbered pieces in the plan's output folder, each with its
// restore script beside them, in queue order: the pieces of a file, then its script. Tells the
// sink how far it is and looks at the stop request between chunks. Done means on the disk: the
// run ends once the disk holds every piece and script it wrote.
class SplitRun {
public:
    // Takes from the plan each file's earlier pieces as it splits the file.
    SplitRun(SplitPlan &plan, ProgressSink &progress, const StopRequest &stop,
             RunOptions options = {});

    // Never throws: every failure, whatever its kind, ends the run with a result that names
    // it. On a stop or a failure, earlier files are complete and on the disk, nothing is left
    // of the one under way (neither the pieces this run wrote, nor those of an earlier split
    // of it, whose script went first), and later ones are not touched. A stop that comes once
    // every byte is written, while the run waits for the disk, is too late to matter: the run
    // is done.
    SplitResult run() noexcept;

private:
    // Returns false when a stop came first; the file's outputs are then removed.
    bool splitFile(WorkerPool &pool, qint64 index, SplitResult &result);
    // Whether each of the pieces of file the cut made shares the source's blocks.
    bool piecesShareBlocks(const PlannedFile &file, qint64 pieces) const;
    // Removes the pieces of the file that this run made and those of an earlier split that
    // were checked, while they are still those files; anything put there since stays.
    void discard(const PlannedFile &file, const PieceFiles &files) const noexcept;
    // Writes the restore script and the checksum list; false when a stop came meanwhile, and
    // then neither is there.
    bool writeFinishing(const PlannedFile &file, const CutResult &cut,
                        const QList<ChecksumList::Listed> &recovery);
    // Makes the file's recovery files, telling par2's progress as the file's bytes.
    QList<ChecksumList::Listed> writeRecovery(const PlannedFile &file,
                                              RecoveryWriter &recovery) const;
    void flush() const;
    // The earlier split's outputs that go before the cut: its scripts, list and recovery files,
    // and its pieces past the new last one.
    static void forEachEarlierOutput(
        const PlannedFile &file, const PieceFiles &earlier,
        const std::function<void(const QByteArray &name, const FileIdentity &)> &take);
    // Throws ChangedAfterCheck where an earlier output to remove is no longer what the check
    // found there.
    void checkEarlierOutputs(const PlannedFile &file, const PieceFiles &earlier) const;
    void removeEarlierOutputs(const PlannedFile &file, const PieceFiles &earlier) const;
    CutPlan cutPlanFor(const PlannedFile &file, const SourceFile &source) const;

    SplitPlan &m_plan;
    ProgressSink &m_progress;
    const StopRequest &m_stop;
    const RunOptions m_options;
    const FlushMethod m_flushMethod; // the options', where the volume allows it
};
