#include "SplitRun.h"

#include "ChecksumList.h"
#include "FileError.h"
#include "OutputFolder.h"
#include "PieceCutter.h"
#include "RestoreScript.h"
#include "RunFailure.h"
#include "RunProgress.h"
#include "SourceFile.h"
#include "SplitPlan.h"
#include "TemporaryFile.h"

#include <algorithm>

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
                break;
            }
            result.stoppedFile = i;
            if (!splitFile(pool, i)) {
                result.outcome = RunOutcome::Stopped;
                break;
            }
            result.stoppedFile = -1;
            ++result.filesDone;
        }
        // Done or stopped, the files finished are on the disk before the run says so.
        m_progress.flushStarted();
        flush();
    } catch (...) {
        recordFailure(result);
        try { // the files finished before the failure, all the same
            flush();
        } catch (...) { // the failure told is the first one
        }
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

    qint64 started = 0;
    try {
        // What an earlier split of the file left must not outlive this one beside a mix of old
        // and new pieces: its script and checksum list go first, and pieces past the new last.
        folder.remove(file.names.scriptOnDisk());
        folder.remove(file.names.checksumsOnDisk());
        removePieces(file, file.pieces + 1, file.pieces + file.stalePieces);

        const CutPlan cutPlan{.source = source,
                              .folder = folder,
                              .names = file.names,
                              .pieceLength = m_plan.pieceLength,
                              .plannedPieces = file.pieces,
                              .flushEachPiece = m_options.flushMethod == FlushMethod::EachFile,
                              .hash = m_plan.writeChecksums,
                              .permissions = file.permissions,
                              .checkLatePiece = [this](const QByteArray &name) {
                                  OutputChecker::Replaced replaced;
                                  if (const std::optional<OutputProblem> problem =
                                          m_plan.checker->problemAt(name, replaced))
                                      throw FileError(m_plan.folder->filePath(name),
                                                      RefusalReason::latePiece(*problem));
                              }};
        const CutResult cut =
            PieceCutter(pool, m_options.copyMethod, m_progress, m_stop).cut(cutPlan);
        started = cut.highestStarted;
        if (cut.failure)
            std::rethrow_exception(cut.failure);
        if (!cut.stopped) {
            m_progress.fileFinishing(index);
            if (writeFinishing(file, cut)) {
                m_progress.fileFinished(index);
                return true;
            }
        }
    } catch (...) {
        discard(file, started);
        throw;
    }
    discard(file, started);
    return false;
}

bool SplitRun::writeFinishing(const PlannedFile &file, const CutResult &cut) {
    TemporaryFile script(*m_plan.folder, file.names.scriptOnDisk());
    script.restrictPermissions(file.permissions);
    script.write(RestoreScript::scriptFor(file.names, cut.pieces));
    script.flushToDisk();
    std::optional<TemporaryFile> checksums;
    if (m_plan.writeChecksums) {
        checksums.emplace(*m_plan.folder, file.names.checksumsOnDisk());
        checksums->restrictPermissions(file.permissions);
        checksums->write(ChecksumList::text(file.names, cut.wholeDigest, cut.pieceDigests));
        checksums->flushToDisk();
    }
    // A stop while these were written leaves nothing of the file, as one while its pieces
    // were: they go here, under names of their own, unseen.
    if (m_stop.requested())
        return false;
    // The earlier ones went before the pieces: anything there now is someone else's. The
    // script comes last, so that a failure of either leaves no script naming pieces that go.
    if (checksums)
        checksums->putInPlace(OutputFolder::Replacing::Never);
    try {
        script.putInPlace(OutputFolder::Replacing::Never);
    } catch (...) {
        if (checksums)
            m_plan.folder->remove(file.names.checksumsOnDisk());
        throw;
    }
    return true;
}

void SplitRun::flush() const {
    switch (m_options.flushMethod) {
    case FlushMethod::FileSystem:
        m_plan.folder->syncFileSystem();
        break;
    case FlushMethod::EachFile:
        m_plan.folder->sync();
        break;
    case FlushMethod::None:
        break;
    }
}

void SplitRun::discard(const PlannedFile &file, qint64 started) const noexcept {
    QByteArray name;
    for (qint64 piece = 1; piece <= std::max(file.pieces, started); ++piece) {
        try {
            file.names.setPieceOnDisk(name, piece);
            // Pieces are files of one name; anything else was put there by someone else.
            const FileFacts facts = m_plan.folder->facts(name);
            if (facts.kind == FileKind::Regular && facts.linkCount == 1)
                m_plan.folder->remove(name);
        } catch (...) { // what cannot be removed stays; the failure told is the first one
        }
    }
}

void SplitRun::removePieces(const PlannedFile &file, qint64 from, qint64 to) const {
    QByteArray name;
    for (qint64 piece = from; piece <= to; ++piece) {
        file.names.setPieceOnDisk(name, piece);
        m_plan.folder->remove(name);
    }
}
