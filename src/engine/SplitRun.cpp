#include "SplitRun.h"

#include "FileError.h"
#include "OutputFolder.h"
#include "PieceCutter.h"
#include "RestoreScript.h"
#include "RunFailure.h"
#include "RunProgress.h"
#include "SourceFile.h"
#include "SplitPlan.h"
#include "TemporaryFile.h"

SplitRun::SplitRun(const SplitPlan &plan, ProgressSink &progress, const StopRequest &stop,
                   RunOptions options)
    : m_plan(plan)
    , m_progress(progress)
    , m_stop(stop)
    , m_options(options) {}

SplitResult SplitRun::run() noexcept {
    SplitResult result;
    try {
        m_progress.runStarted(m_plan.files.size(), m_plan.totalBytes());
        WorkerPool pool(m_options.workers);
        for (qint64 i = 0; i < m_plan.files.size(); ++i) {
            if (m_stop.requested()) {
                result.outcome = RunOutcome::Stopped;
                return result;
            }
            result.stoppedFile = i;
            if (!splitFile(pool, i)) {
                result.outcome = RunOutcome::Stopped;
                return result;
            }
            result.stoppedFile = -1;
            ++result.filesDone;
        }
        m_progress.flushStarted();
        flush();
    } catch (...) {
        const RunFailure failure = describeFailure(std::current_exception());
        result.outcome = RunOutcome::Failed;
        result.failedPath = failure.path;
        result.reason = failure.reason;
    }
    return result;
}

bool SplitRun::splitFile(WorkerPool &pool, qint64 index) {
    const PlannedFile &file = m_plan.files[index];
    const OutputFolder &folder = *m_plan.folder;
    m_progress.fileStarted(index, file.queued.name, file.bytes);
    // Only the file that was checked is split: not one put at its path since.
    const SourceFile source(file.queued.path);
    if (source.facts().identity != file.identity)
        throw FileError(file.queued.path, QStringLiteral("it changed after it was checked"));

    // What an earlier split of the file left must not outlive this one beside a mix of old and
    // new pieces: its script goes first, and pieces past the new last one.
    folder.remove(file.names.scriptOnDisk());
    removePieces(file, file.pieces + 1, file.pieces + file.stalePieces);

    const CutPlan cutPlan{source,
                          folder,
                          file.names,
                          m_plan.pieceLength,
                          file.pieces,
                          m_options.flushMethod == FlushMethod::EachFile,
                          [this](const QByteArray &name) {
                              OutputChecker::Replaced replaced;
                              if (const std::optional<OutputProblem> problem =
                                      m_plan.checker->problemAt(name, replaced))
                                  throw FileError(m_plan.folder->filePath(name),
                                                  RefusalReason::latePiece(*problem));
                          }};
    const CutResult cut = PieceCutter(pool, m_options.copyMethod, m_progress, m_stop).cut(cutPlan);
    if (cut.stopped) {
        removePieces(file, 1, cut.highestStarted);
        return false;
    }
    m_progress.fileFinishing(index);
    if (!writeScript(file, cut.pieces)) {
        removePieces(file, 1, cut.pieces);
        return false;
    }
    m_progress.fileFinished(index);
    return true;
}

bool SplitRun::writeScript(const PlannedFile &file, qint64 pieces) {
    TemporaryFile script(*m_plan.folder, file.names.scriptOnDisk());
    script.write(RestoreScript::scriptFor(file.names, pieces));
    script.flushToDisk();
    // A stop while the script was written leaves nothing of the file, as one while its pieces
    // were: the script under its own name goes here, unseen.
    if (m_stop.requested())
        return false;
    script.putInPlace();
    return true;
}

void SplitRun::flush() const {
    if (m_options.flushMethod == FlushMethod::FileSystem)
        m_plan.folder->syncFileSystem();
    else
        m_plan.folder->sync();
}

void SplitRun::removePieces(const PlannedFile &file, qint64 from, qint64 to) const {
    QByteArray name;
    for (qint64 piece = from; piece <= to; ++piece) {
        file.names.setPieceOnDisk(name, piece);
        m_plan.folder->remove(name);
    }
}
