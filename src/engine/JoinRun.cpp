#include "JoinRun.h"

#include "FileError.h"
#include "JoinPlan.h"
#include "OutputFolder.h"
#include "OutputNames.h"
#include "RunFailure.h"
#include "RunProgress.h"
#include "SourceFile.h"
#include "TemporaryFile.h"

#include <algorithm>

namespace {

// Bounded, so that progress is told and a stop is seen between chunks.
constexpr qint64 kChunkBytes = qint64(8) << 20;

// Thrown inside the copy when a stop is seen; the temporary file goes with the unwinding.
struct Stopped {};

} // namespace

JoinRun::JoinRun(const JoinPlan &plan, ProgressSink &progress, const StopRequest &stop,
                 CopyMethod copyMethod)
    : m_plan(plan)
    , m_progress(progress)
    , m_stop(stop)
    , m_copyMethod(copyMethod) {}

RunResult JoinRun::run() noexcept {
    RunResult result;
    try {
        m_progress.runStarted(1, m_plan.totalBytes);
        m_progress.fileStarted(0, m_plan.recipe.destination, m_plan.totalBytes);
        const QByteArray destination = fileSystemName(m_plan.recipe.destination);
        TemporaryFile::removeLeftovers(*m_plan.folder, destination);
        TemporaryFile joined(*m_plan.folder, destination);
        copyPieces(joined);
        m_progress.flushStarted();
        joined.flushToDisk();
        joined.putInPlace();
        m_plan.folder->sync();
        m_progress.fileFinished(0);
    } catch (const Stopped &) {
        result.outcome = RunOutcome::Stopped;
    } catch (...) {
        const RunFailure failure = describeFailure(std::current_exception());
        result.outcome = RunOutcome::Failed;
        result.failedPath = failure.path;
        result.reason = failure.reason;
    }
    return result;
}

void JoinRun::copyPieces(TemporaryFile &joined) const {
    RangeCopier copier(m_copyMethod);
    const OutputNames names(m_plan.recipe.destination);
    QByteArray name;
    for (qint64 piece = 1; piece <= m_plan.recipe.pieceCount; ++piece) {
        names.setPieceOnDisk(name, piece);
        const qint64 length = m_plan.pieceLengths[piece - 1];
        // The piece itself, never a link, and the file that was checked.
        const SourceFile source(*m_plan.folder, name);
        if (source.facts().identity != m_plan.pieceIdentities[piece - 1])
            throw FileError(source.path(), QStringLiteral("it changed after it was checked"));
        for (qint64 copied = 0; copied < length;) {
            if (m_stop.requested())
                throw Stopped();
            const qint64 asked = std::min(length - copied, kChunkBytes);
            const RangeCopier::Result chunk = copier.copy(source, copied, joined.fd(), asked);
            if (chunk.targetError != 0)
                joined.fail(chunk.targetError);
            if (chunk.copied != asked)
                throw FileError(source.path(),
                                QStringLiteral("it was cut short while it was joined"));
            copied += chunk.copied;
            joined.wrote(chunk.copied);
            m_progress.bytesCopied(chunk.copied);
        }
    }
}
