#include "join/JoinRun.h"

#include "BlockSharing.h"
#include "DigestPipeline.h"
#include "Failure.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "TemporaryFile.h"
#include "UncachedReader.h"
#include "join/JoinPlan.h"
#include "names/OutputNames.h"
#include "run/RunProgress.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

// Bounded, so that progress is told and a stop is seen between chunks.
constexpr qint64 kChunkBytes = qint64(8) << 20;

[[noreturn]] void changedSinceTheCheck(const SourceFile &piece) {
    throw Failure(Failure::Code::ChangedAfterCheck, piece.path());
}

[[noreturn]] void cutShort(const QString &piece) {
    throw Failure(Failure::Code::CutShortWhileJoined, piece);
}

// The piece must end where it ended when it was checked.
void endsAsChecked(const SourceFile &piece, qint64 length) {
    char beyond = 0;
    if (piece.readAt(&beyond, 1, length) != 0)
        changedSinceTheCheck(piece);
}

} // namespace

JoinRun::JoinRun(const JoinPlan &plan, ProgressSink &progress, const StopRequest &stop,
                 CopyMethod copyMethod)
    : m_plan(plan)
    , m_progress(progress)
    , m_stop(stop)
    , m_copyMethod(copyMethod) {}

JoinResult JoinRun::run() noexcept {
    JoinResult result;
    try {
        m_progress.runStarted(1, m_plan.totalBytes);
        m_progress.fileStarted(0, m_plan.recipe.destination, m_plan.totalBytes);
        TemporaryFile joined(*m_plan.folder, fileSystemName(m_plan.recipe.destination));
        joined.restrictPermissions(m_plan.permissions);
        copyPieces(joined);
        putJoinedInPlace(joined, m_plan, m_progress, result);
    } catch (...) {
        result.end(Failure::current());
    }
    return result;
}

void JoinRun::copyPieces(TemporaryFile &joined) const {
    const ChecksumList &list = m_plan.checksums;
    const OutputNames names(m_plan.recipe.destination);
    const FailureArg listName = FailureArg::name(QFileInfo(list.path).fileName());
    // Each piece is compared as soon as it is hashed: the first damaged one ends the join.
    std::optional<DigestPipeline> digests;
    if (!list.path.isEmpty())
        digests.emplace([&](qsizetype piece, const QByteArray &digest) {
            if (digest != list.pieces[piece])
                throw Failure(Failure::Code::PieceDamaged,
                              m_plan.folder->filePath(names.pieceOnDisk(piece + 1)), {listName});
        });
    DigestPipeline *checked = digests ? &*digests : nullptr;
    const bool shared = m_plan.sharesBlocks && putPieces(joined, /*sharing=*/true, checked);
    if (m_plan.sharesBlocks && !shared) {
        // A piece the volume will not share (one bound there from another volume, one marked
        // never to be shared): the pieces are all copied instead, from the first.
        joined.handle().truncate();
    }
    if (!shared)
        putPieces(joined, /*sharing=*/false, checked);
    // What is hashed is what the joined file holds, never a second read of the pieces.
    if (shared && digests)
        hashJoined(joined, *digests);
    if (digests && digests->wholeDigest() != list.whole)
        throw Failure(Failure::Code::JoinedWouldDiffer,
                      m_plan.folder->filePath(fileSystemName(m_plan.recipe.destination)),
                      {listName});
}

bool JoinRun::putPieces(TemporaryFile &joined, bool sharing, DigestPipeline *digests) const {
    const OutputNames names(m_plan.recipe.destination);
    RangeCopier copier(m_copyMethod);
    QByteArray name;
    qint64 joinedBytes = 0;
    for (qint64 piece = 1; piece <= m_plan.recipe.pieceCount; ++piece) {
        names.setPieceOnDisk(name, piece);
        // The piece itself, never a link, and the file that was checked.
        const SourceFile source(*m_plan.folder, name);
        if (!source.facts().unchangedSince(m_plan.pieces[piece - 1]))
            changedSinceTheCheck(source);
        const qint64 length = m_plan.pieceLengths[piece - 1];
        if (!sharing)
            copyPiece(source, length, joined, digests, copier);
        else if (!sharePiece(source, length, joined, joinedBytes, digests != nullptr))
            return false;
        endsAsChecked(source, length);
        joinedBytes += length;
    }
    return true;
}

void JoinRun::copyPiece(const SourceFile &source, qint64 length, TemporaryFile &joined,
                        DigestPipeline *digests, RangeCopier &copier) const {
    qint64 copied = 0;
    do {
        if (m_stop.requested())
            throw Failure::stopped();
        qint64 asked = std::min(length - copied, kChunkBytes);
        if (digests) {
            // Checked, the bytes go through the pipeline's buffer: what is hashed is what was
            // written, never a second read of a piece that may have changed meanwhile.
            char *buffer = digests->nextBuffer();
            asked = std::min(length - copied, digests->room());
            if (source.readFully(buffer, asked, copied) != asked)
                cutShort(source.path());
            joined.write(buffer, asked);
            m_progress.bytesCopied(asked);
            digests->hash(asked, copied + asked == length);
        } else {
            if (copier.copy(source, copied, joined.handle(), asked) != asked)
                cutShort(source.path());
            joined.wrote(asked);
            m_progress.bytesCopied(asked);
        }
        copied += asked;
    } while (copied < length);
}

bool JoinRun::sharePiece(const SourceFile &source, qint64 length, const TemporaryFile &joined,
                         qint64 at, bool checked) const {
    if (m_stop.requested())
        throw Failure::stopped();
    const Sharing shared = shareBlocks(source, length, joined.handle(), at);
    if (shared == Sharing::Refused)
        return false;
    if (shared == Sharing::SourceEnded)
        cutShort(source.path());
    // Checked, the reading of the joined file tells how far the join is.
    if (!checked)
        m_progress.bytesCopied(length);
    return true;
}

void JoinRun::hashJoined(const TemporaryFile &joined, DigestPipeline &digests) const {
    const OutputNames names(m_plan.recipe.destination);
    // Its blocks are the pieces', not in the cache under its name.
    UncachedReader reader(joined.handle());
    qint64 at = 0;
    for (qsizetype piece = 0; piece < m_plan.pieceLengths.size(); ++piece) {
        const qint64 end = at + m_plan.pieceLengths[piece];
        do {
            if (m_stop.requested())
                throw Failure::stopped();
            char *buffer = digests.nextBuffer();
            const qint64 asked = std::min(end - at, digests.room());
            if (reader.readFully(buffer, asked, at) != asked)
                cutShort(m_plan.folder->filePath(names.pieceOnDisk(piece + 1)));
            m_progress.bytesCopied(asked);
            at += asked;
            digests.hash(asked, at == end);
        } while (at < end);
    }
}

void putJoinedInPlace(TemporaryFile &joined, const JoinPlan &plan, ProgressSink &progress,
                      JoinResult &result) {
    progress.flushStarted();
    joined.flushToDisk();
    // Only what the user agreed to replace is replaced: not a file put there meanwhile.
    joined.putInPlace(plan.replacing ? OutputFolder::Replacing::Allowed
                                     : OutputFolder::Replacing::Never);
    result.inPlace = true;
    plan.folder->sync();
    progress.fileFinished(0);
}
