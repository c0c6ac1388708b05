#include "split/SplitRun.h"

#include "BlockSharing.h"
#include "Failure.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "TemporaryFile.h"
#include "checksums/ChecksumList.h"
#include "names/OutputKinds.h"
#include "names/TextOut.h"
#include "recovery/RecoveryWriter.h"
#include "run/FractionProgress.h"
#include "run/RunProgress.h"
#include "split/PieceCutter.h"
#include "split/SplitPlan.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

SplitRun::SplitRun(SplitPlan &plan, ProgressSink &progress, const StopRequest &stop,
                   RunOptions options)
    : m_plan(plan)
    , m_progress(progress)
    , m_stop(stop)
    , m_options(options)
    , m_flushMethod(options.flushMethod == FlushMethod::FileSystem && !plan.flushesWhole
                        ? FlushMethod::EachFile
                        : options.flushMethod) {}

SplitResult SplitRun::run() noexcept {
    SplitResult result;
    try {
        m_progress.runStarted(m_plan.files.size(), m_plan.totalWork());
        WorkerPool pool(m_options.workers);
        for (qint64 i = 0; i < m_plan.files.size(); ++i) {
            if (m_stop.requested()) {
                result.outcome = RunOutcome::Stopped;
                break;
            }
            result.stoppedFile = i;
            if (!splitFile(pool, i, result)) {
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
        result.end(Failure::current());
        try { // the files finished before the failure, all the same
            flush();
        } catch (...) { // the failure told is the first one
        }
    }
    return result;
}

bool SplitRun::splitFile(WorkerPool &pool, qint64 index, SplitResult &result) {
    PlannedFile &file = m_plan.files[index];
    m_progress.fileStarted(index, file.queued.name, file.work());
    // Only the file that was checked is split: not one put at its path since.
    const SourceFile source(file.queued.path);
    if (!source.facts().unchangedSince(file.source))
        throw Failure(Failure::Code::ChangedAfterCheck, file.queued.path);

    PieceFiles files = std::move(file.earlierPieces);
    files.reserve(file.pieces);
    // Before anything of the earlier split goes: one of its outputs written since is kept, and
    // the rest with it, rather than left naming pieces that go.
    checkEarlierOutputs(file, files);
    try {
        removeEarlierOutputs(file, files);
        // Many pieces' digests wait for the list and the script in a file of their own, not in
        // memory: a split of a million pieces needs no more memory than one of a thousand.
        std::optional<TemporaryFile> digests;
        CutPlan plan = cutPlanFor(file, source);
        if (m_plan.writes(OutputNames::Kind::Checksums))
            plan.digestSpill = [&]() -> const FileHandle & {
                digests.emplace(*m_plan.folder, file.names.checksumsOnDisk());
                digests->restrictPermissions(file.permissions);
                return digests->handle();
            };
        CutResult cut =
            PieceCutter(pool, m_options.copyMethod, m_progress, m_stop).cut(plan, std::move(files));
        files = std::move(cut.files);
        if (cut.failure)
            throw *cut.failure;
        if (!cut.stopped) {
            std::optional<RecoveryWriter> recovery;
            QList<ChecksumList::Listed> recoveryFiles;
            if (file.recovery) {
                recovery.emplace(*m_plan.folder, file.names, cut.pieces, *file.recovery);
                recoveryFiles = writeRecovery(file, *recovery);
            }
            m_progress.fileFinishing(index);
            if (writeFinishing(file, cut, recoveryFiles)) {
                if (recovery)
                    recovery->keep();
                if (file.bytes > 0 && piecesShareBlocks(file, cut.pieces))
                    ++result.filesSharingBlocks;
                m_progress.fileFinished(index);
                return true;
            }
        }
    } catch (...) {
        discard(file, files);
        throw;
    }
    discard(file, files);
    return false;
}

bool SplitRun::piecesShareBlocks(const PlannedFile &file, qint64 pieces) const {
    QByteArray name;
    for (qint64 piece = 1; piece <= pieces; ++piece) {
        if (m_stop.requested()) // what is not looked at is not said
            return false;
        file.names.setPieceOnDisk(name, piece);
        try {
            if (!sharesAllItsBlocks(SourceFile(*m_plan.folder, name)))
                return false;
        } catch (const Failure &) { // one that cannot be opened tells nothing
            return false;
        }
    }
    return true;
}

void SplitRun::forEachEarlierOutput(
    const PlannedFile &file, const PieceFiles &earlier,
    const std::function<void(const QByteArray &name, const FileIdentity &)> &take) {
    for (auto beside = file.earlierBeside.cbegin(); beside != file.earlierBeside.cend(); ++beside)
        take(beside.key(), beside.value());
    QByteArray name;
    for (qint64 piece = file.pieces + 1; piece <= file.pieces + file.stalePieces; ++piece) {
        file.names.setPieceOnDisk(name, piece);
        if (const std::optional<FileIdentity> stale = earlier.of(piece))
            take(name, *stale);
    }
}

void SplitRun::checkEarlierOutputs(const PlannedFile &file, const PieceFiles &earlier) const {
    forEachEarlierOutput(file, earlier, [&](const QByteArray &name, const FileIdentity &identity) {
        const FileFacts there = m_plan.folder->facts(name);
        if (there.kind != FileKind::Missing &&
            (there.identity != identity || there.changed >= m_plan.checkBegan))
            throw Failure(Failure::Code::ChangedAfterCheck, m_plan.folder->filePath(name));
    });
}

void SplitRun::removeEarlierOutputs(const PlannedFile &file, const PieceFiles &earlier) const {
    // What an earlier split of the file left must not outlive this one beside a mix of old and
    // new pieces: its scripts, list and recovery files go first, and pieces past the new last.
    // The pieces the new ones replace are cut and written again in their turn.
    forEachEarlierOutput(file, earlier, [&](const QByteArray &name, const FileIdentity &identity) {
        m_plan.folder->removeIfStill(name, identity, m_plan.checkBegan);
    });
}

QList<ChecksumList::Listed> SplitRun::writeRecovery(const PlannedFile &file,
                                                    RecoveryWriter &recovery) const {
    // par2's own progress, as bytes of the file's work.
    FractionProgress progress(m_progress, file.bytes);
    QList<ChecksumList::Listed> files = recovery.write(
        std::ref(progress), [this] { return !m_stop.requested(); },
        m_flushMethod == FlushMethod::EachFile);
    progress(1);
    return files;
}

CutPlan SplitRun::cutPlanFor(const PlannedFile &file, const SourceFile &source) const {
    return {.source = source,
            .folder = *m_plan.folder,
            .names = file.names,
            .pieceLength = file.pieceLength,
            .plannedPieces = file.pieces,
            .flushEachPiece = m_flushMethod == FlushMethod::EachFile,
            .flushEarly = m_flushMethod == FlushMethod::FileSystem,
            .hash = m_plan.writes(OutputNames::Kind::Checksums),
            .permissions = file.permissions,
            .digestSpill = {}, // given by the caller, who holds the file
            .checkBegan = m_plan.checkBegan,
            // Checked as the pieces planned were, on the way.
            .checkLatePiece = [this, &file](const QByteArray &name, qint64 number,
                                            std::optional<FileIdentity> earlier) {
                OutputChecker::Replaced replaced;
                if (const std::optional<OutputProblem> problem =
                        m_plan.checker->problemAt(name, replaced))
                    throw problem->latePiece(m_plan.folder->filePath(name));
                if (!earlier)
                    earlier = file.earlierPastGap.of(number);
                // A file there that no earlier split of ours made may be the user's own.
                if (replaced.files > 0 && !earlier)
                    throw Failure(Failure::Code::PieceNotNamedBeside, file.queued.path,
                                  {FailureArg::path(m_plan.folder->filePath(name)),
                                   FailureArg::name(file.names.fileName())});
                return earlier;
            }};
}

bool SplitRun::writeFinishing(const PlannedFile &file, const CutResult &cut,
                              const QList<ChecksumList::Listed> &recovery) {
    // In the plan's order, the Windows script last: a failure of any leaves no script naming
    // pieces that go.
    const OutputContents contents{file.names, cut.pieceLengths, cut.wholeDigest, cut.pieceDigests,
                                  recovery};
    std::vector<std::unique_ptr<TemporaryFile>> written;
    for (const OutputNames::Kind kind : m_plan.besidePieces) {
        TemporaryFile &text = *written.emplace_back(
            std::make_unique<TemporaryFile>(*m_plan.folder, file.names.besideOnDisk(kind)));
        text.restrictPermissions(file.permissions);
        TextOut out([&text](QByteArrayView block) { text.write(block.data(), block.size()); });
        outputKind(kind).write(contents, out);
        out.finish();
    }
    // All written first: the first flush commits the others with it, and theirs cost little.
    for (const std::unique_ptr<TemporaryFile> &text : written)
        text->flushToDisk();
    // A stop while these were written leaves nothing of the file, as one while its pieces
    // were: they go here, under names of their own, unseen.
    if (m_stop.requested())
        return false;
    // The earlier ones went before the pieces: anything there now is someone else's.
    qsizetype placed = 0;
    try {
        for (; placed < qsizetype(written.size()); ++placed)
            written[placed]->putInPlace(OutputFolder::Replacing::Never);
    } catch (...) {
        for (qsizetype i = 0; i < placed; ++i)
            m_plan.folder->removeIfStill(written[i]->finalName(), written[i]->identity());
        throw;
    }
    return true;
}

void SplitRun::flush() const {
    switch (m_flushMethod) {
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

void SplitRun::discard(const PlannedFile &file, const PieceFiles &files) const noexcept {
    QByteArray name;
    files.forEach([&](qint64 piece, const FileIdentity &ours) {
        try {
            file.names.setPieceOnDisk(name, piece);
            // Past those made, the earlier pieces it found, as they were then.
            m_plan.folder->removeIfStill(name, ours,
                                         piece > files.made() ? m_plan.checkBegan
                                                              : std::numeric_limits<qint64>::max());
        } catch (...) { // what cannot be removed stays; the failure told is the first one
        }
    });
}
