#include "split/SplitPlanner.h"

#include "Failure.h"
#include "Leftovers.h"
#include "OutputFolder.h"
#include "Par2Program.h"
#include "SourceFile.h"
#include "run/Saturating.h"
#include "run/Work.h"
#include "sizes/PieceLength.h"
#include "split/ExistingOutputs.h"
#include "split/FileOutputCheck.h"
#include "split/OutputSizes.h"
#include "split/QueuedSources.h"
#include "split/Refusals.h"
#include "split/SharedBlocks.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>

namespace {

// What the planned files' outputs take, summed for the check of the room there is.
struct Totals {
    qint64 bytes = 0;
    qint64 files = 0;
    qint64 largestPiece = 0;
    OutputChecker::Replaced replaced; // what replacing files there frees
};

class Planner {
public:
    Planner(const SplitRequest &request, const Work &work)
        : m_request(request)
        , m_work(work)
        , m_besidePieces(request.besidePieces()) {}

    SplitPlan plan();

private:
    // Opens the output folder and checks that files can be made there; false when not.
    bool openFolder(SplitPlan &plan);
    void sweepLeftovers(const OutputFolder &folder, const QList<QueuedSource> &sources) const;
    void planFiles(SplitPlan &plan, const QList<QueuedSource> &sources);
    // The plan of one file, or its refusal.
    std::optional<PlannedFile> planFile(SplitPlan &plan, const QueuedSource &source,
                                        const FolderCapacity &capacity,
                                        const ExistingOutputs &existing, Totals &totals);
    // The layout of the file's recovery files, where they are asked for, or its refusal.
    std::optional<Failure> layOutRecovery(PlannedFile &file, const FolderCapacity &capacity) const;
    // Whether the request asks for whole blocks, and the folder's blocks are no longer than it.
    void alignPieceLength(SplitPlan &plan, const FolderCapacity &capacity) const;
    // Whether the kernel's copy of queued into pieces of pieceLength in folder shares its blocks.
    bool sharesSourceBlocks(const OutputFolder &folder, const QueuedFile &queued,
                            qint64 pieceLength) const;
    void checkRoom(const OutputFolder &folder, const FolderCapacity &capacity,
                   const Totals &totals);
    void refuse(qsizetype index, Failure refusal) { m_refusals.add(index, std::move(refusal)); }
    void refuseFolder(Failure refusal);

    const SplitRequest &m_request;
    const Work &m_work;
    const QList<OutputNames::Kind> m_besidePieces;
    const OutputSizes m_sizes{m_besidePieces};
    Refusals m_refusals;
};

SplitPlan Planner::plan() {
    if (m_request.recovery.amount > 0 && !Par2Program::isAvailable())
        throw Par2Program::absent();
    // Only the list tells a recovery file for ours, and checks what a rebuild gives.
    if (m_request.recovery.amount > 0 && !m_request.writes(OutputNames::Kind::Checksums))
        throw Failure(Failure::Code::RecoveryNeedsChecksums);
    const QList<QueuedSource> sources =
        queuedSources(m_request.queue, m_work.files, m_refusals.adder());
    SplitPlan plan;
    plan.besidePieces = m_besidePieces;
    if (!openFolder(plan))
        m_refusals.throwAll();
    sweepLeftovers(*plan.folder, sources);
    plan.checker = std::make_unique<OutputChecker>(*plan.folder, m_request.queue);
    for (const QueuedSource &source : std::as_const(sources))
        plan.checker->addSource(m_request.queue[source.index].path, source.facts.identity);
    planFiles(plan, sources);
    if (!m_refusals.isEmpty())
        m_refusals.throwAll();
    return plan;
}

bool Planner::openFolder(SplitPlan &plan) {
    try {
        plan.folder = std::make_unique<OutputFolder>(m_request.outputFolder, m_work.files);
    } catch (const Failure &error) {
        refuseFolder(error);
        return false;
    }
    if (!plan.folder->canWrite(QByteArrayLiteral("."))) {
        refuseFolder(Failure(Failure::Code::FolderNotWritable, m_request.outputFolder));
        return false;
    }
    // A folder removed while it was open: nothing can be made in it.
    if (plan.folder->facts(QByteArrayLiteral(".")).linkCount == 0) {
        refuseFolder(Failure(Failure::Code::FolderRemoved, m_request.outputFolder));
        return false;
    }
    return true;
}

void Planner::sweepLeftovers(const OutputFolder &folder, const QList<QueuedSource> &sources) const {
    // What a join or split killed on a file system without unnamed files left would take room;
    // a queued source, whatever its name, is no leftover.
    QSet<FileIdentity> queued;
    for (const QueuedSource &source : sources)
        queued.insert(source.facts.identity);
    removeLeftovers(folder, queued);
}

void Planner::planFiles(SplitPlan &plan, const QList<QueuedSource> &sources) {
    QHash<qsizetype, PlannedFile> planned;
    try {
        const FolderCapacity capacity = plan.folder->capacity();
        plan.flushesWhole = capacity.flushesWhole;
        alignPieceLength(plan, capacity);
        // The same file queued again would write the same bytes again: split once.
        QList<QueuedSource> once;
        QList<QString> names;
        for (const QueuedSource &source : sources) {
            if (source.repeats < 0) {
                once.append(source);
                names.append(m_request.queue[source.index].name);
            }
        }
        plan.checkBegan = settledFileTime();
        const QHash<QString, ExistingOutputs> existing = existingOutputs(*plan.folder, names);
        const ExistingOutputs none;
        Totals totals;
        for (const QueuedSource &source : std::as_const(once)) {
            const auto there = existing.constFind(m_request.queue[source.index].name);
            if (std::optional<PlannedFile> file = planFile(
                    plan, source, capacity, there == existing.cend() ? none : *there, totals))
                planned.emplace(source.index, std::move(*file));
        }
        checkRoom(*plan.folder, capacity, totals);
    } catch (const Failure &error) {
        if (error.kind() == Failure::Kind::Stopped)
            throw;
        refuseFolder(error);
    }
    for (qsizetype i = 0; i < m_request.queue.size(); ++i) {
        if (const auto file = planned.find(i); file != planned.end())
            plan.files.append(std::move(*file));
    }
}

std::optional<PlannedFile> Planner::planFile(SplitPlan &plan, const QueuedSource &source,
                                             const FolderCapacity &capacity,
                                             const ExistingOutputs &existing, Totals &totals) {
    const QueuedFile &queued = m_request.queue[source.index];
    // Held from the check to the end of the run: another run writing these outputs would undo
    // this one's work, or this one its.
    std::optional<OutputLock> lock = OutputLock::take(*plan.folder, queued.name);
    if (!lock) {
        refuse(source.index, Failure(Failure::Code::AnotherRunSplits, queued.path,
                                     {FailureArg::name(queued.name)}));
        return std::nullopt;
    }
    plan.locks.push_back(std::move(*lock));
    std::optional<qint64> pieceLength = pieceLengthOf(m_request, source, m_refusals.adder());
    if (!pieceLength)
        return std::nullopt;
    if (plan.alignedToBlock > 0)
        *pieceLength -= *pieceLength % plan.alignedToBlock;
    PlannedFile file{.queued = queued,
                     .names = OutputNames(queued.name),
                     .source = source.facts,
                     .bytes = source.facts.size,
                     .permissions = source.facts.permissions,
                     .pieceLength = *pieceLength,
                     .pieces = pieceCountFor(source.facts.size, *pieceLength),
                     .stalePieces = 0,
                     .recovery = std::nullopt,
                     .sharesSourceBlocks = sharesSourceBlocks(*plan.folder, queued, *pieceLength),
                     .earlierPieces = {},
                     .earlierBeside = {},
                     .earlierPastGap = {}};
    OutputChecker::Replaced replaced;
    std::optional<Failure> refused = layOutRecovery(file, capacity);
    if (!refused)
        refused = m_sizes.nameTooLong(*plan.folder, capacity, file);
    if (refused)
        refused = refused->withPath(queued.path);
    else
        refused = FileOutputCheck(*plan.folder, *plan.checker, existing, file, m_work)
                      .check(plan.besidePieces, replaced);
    if (refused) {
        refuse(source.index, *refused);
        return std::nullopt;
    }
    totals.replaced.bytes = saturatingAdd(totals.replaced.bytes, replaced.bytes);
    totals.replaced.files += replaced.files;
    totals.files = saturatingAdd(totals.files, m_sizes.files(file));
    totals.bytes = saturatingAdd(totals.bytes, m_sizes.bytes(file, capacity.blockSize));
    totals.largestPiece = std::max(totals.largestPiece, std::min(file.bytes, file.pieceLength));
    return file;
}

std::optional<Failure> Planner::layOutRecovery(PlannedFile &file,
                                               const FolderCapacity &capacity) const {
    const qint64 lost = m_request.recovery.piecesFor(file.pieces);
    if (lost == 0 || file.bytes == 0) // an empty file is restored from nothing
        return std::nullopt;
    auto layout = layoutRecovery(file.pieces, file.pieceLength, lost, capacity.maxFileBytes,
                                 file.names.fileName());
    if (const Failure *refused = std::get_if<Failure>(&layout))
        return refused->withPath(file.queued.path);
    file.recovery = std::get<RecoveryLayout>(layout);
    return std::nullopt;
}

void Planner::alignPieceLength(SplitPlan &plan, const FolderCapacity &capacity) const {
    if (!m_request.alignToBlocks || m_request.pieceCount > 0)
        return;
    if (m_request.pieceLength < capacity.blockSize)
        throw Failure(
            Failure::Code::PieceUnderBlock, plan.folder->path(),
            {FailureArg::count(m_request.pieceLength), FailureArg::count(capacity.blockSize)});
    plan.alignedToBlock = capacity.blockSize;
}

void Planner::checkRoom(const OutputFolder &folder, const FolderCapacity &capacity,
                        const Totals &totals) {
    // What replaces a file there takes no new one, and frees the room the old one took.
    const qint64 bytes = totals.bytes - totals.replaced.bytes;
    const qint64 files = totals.files - totals.replaced.files;
    if (bytes > capacity.freeBytes)
        refuseFolder(Failure(Failure::Code::SplitNeedsSpace, folder.path(),
                             {FailureArg::bytes(bytes), FailureArg::bytes(capacity.freeBytes)}));
    if (files > capacity.freeFiles)
        refuseFolder(Failure(Failure::Code::SplitNeedsFiles, folder.path(),
                             {FailureArg::count(files), FailureArg::count(capacity.freeFiles)}));
    if (totals.largestPiece > capacity.maxFileBytes)
        refuseFolder(Failure(Failure::Code::PieceTooLargeForVolume, folder.path(),
                             {FailureArg::preciseBytes(capacity.maxFileBytes),
                              FailureArg::preciseBytes(totals.largestPiece)}));
}

bool Planner::sharesSourceBlocks(const OutputFolder &folder, const QueuedFile &queued,
                                 qint64 pieceLength) const {
    try {
        return piecesShareSourceBlocks(SourceFile(queued.path, m_work.files), folder, pieceLength);
    } catch (const Failure &) { // the run tells why it cannot be read
        return false;
    }
}

void Planner::refuseFolder(Failure refusal) {
    refuse(m_request.queue.size(), std::move(refusal));
}

} // namespace

SplitPlan::SplitPlan() = default;
SplitPlan::SplitPlan(SplitPlan &&) noexcept = default;
SplitPlan &SplitPlan::operator=(SplitPlan &&) noexcept = default;
SplitPlan::~SplitPlan() = default;

qint64 SplitPlan::totalWork() const {
    qint64 total = 0;
    for (const PlannedFile &file : files)
        total = saturatingAdd(total, file.work());
    return total;
}

qint64 SplitPlan::totalBytes() const {
    qint64 total = 0;
    for (const PlannedFile &file : files)
        total = saturatingAdd(total, file.bytes);
    return total;
}

SplitPlan planSplit(const SplitRequest &request, const Work &work) {
    return Planner(request, work).plan();
}
