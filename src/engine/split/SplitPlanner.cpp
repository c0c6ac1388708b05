#include "split/SplitPlanner.h"

#include "Failure.h"
#include "Leftovers.h"
#include "NameFolding.h"
#include "OutputFolder.h"
#include "Par2Program.h"
#include "SourceFile.h"
#include "names/OutputKinds.h"
#include "names/PortableName.h"
#include "run/Saturating.h"
#include "run/Work.h"
#include "sizes/PieceLength.h"
#include "split/ExistingOutputs.h"
#include "split/FileOutputCheck.h"
#include "split/OutputSizes.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>

namespace {

// The files beside each file's pieces that the request has written, in the order they are.
QList<OutputNames::Kind> besidePieces(const SplitRequest &request) {
    QList<OutputNames::Kind> kinds;
    for (const OutputKind &output : kOutputKinds) {
        if (output.isBesidePieces() && request.writes(output.kind))
            kinds << output.kind;
    }
    return kinds;
}

// A queued file whose source could be opened.
struct Source {
    qsizetype index = 0; // in the queue
    FileFacts facts;
    qsizetype repeats = -1; // the index of the same file queued before, or -1
};

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
        , m_besidePieces(besidePieces(request)) {}

    SplitPlan plan();

private:
    QList<Source> readableSources();
    void refuseSameNames(QList<Source> &sources);
    // Opens the output folder and checks that files can be made there; false when not.
    bool openFolder(SplitPlan &plan);
    void sweepLeftovers(const OutputFolder &folder, const QList<Source> &sources) const;
    void planFiles(SplitPlan &plan, const QList<Source> &sources);
    // The plan of one file, or its refusal.
    std::optional<PlannedFile> planFile(SplitPlan &plan, const Source &source,
                                        const FolderCapacity &capacity,
                                        const ExistingOutputs &existing, Totals &totals);
    // The layout of the file's recovery files, where they are asked for, or its refusal.
    std::optional<Failure> layOutRecovery(PlannedFile &file, const FolderCapacity &capacity) const;
    // Rounds the piece length down to whole blocks where the request asks for it.
    void alignPieceLength(SplitPlan &plan, const FolderCapacity &capacity);
    // Bytes in each piece of the source but the last, or its refusal.
    std::optional<qint64> pieceLengthOf(const Source &source);
    void checkRoom(const OutputFolder &folder, const FolderCapacity &capacity,
                   const Totals &totals);
    void refuse(qsizetype index, Failure refusal);
    void refuseFolder(Failure refusal);
    // Every refusal in the order of the queue, whatever the order of the checks; the output
    // folder's last.
    [[noreturn]] void throwRefused() const;

    const SplitRequest &m_request;
    const Work &m_work;
    const QList<OutputNames::Kind> m_besidePieces;
    const OutputSizes m_sizes{m_besidePieces};
    qint64 m_pieceLength = m_request.pieceLength;
    struct Numbered {
        qsizetype index;
        Failure refusal;
    };
    QList<Numbered> m_refusals;
};

SplitPlan Planner::plan() {
    if (m_request.recovery.amount > 0 && !Par2Program::isAvailable())
        throw Par2Program::absent();
    // Only the list tells a recovery file for ours, and checks what a rebuild gives.
    if (m_request.recovery.amount > 0 && !m_request.writes(OutputNames::Kind::Checksums))
        throw Failure(Failure::Code::RecoveryNeedsChecksums);
    QList<Source> sources = readableSources();
    refuseSameNames(sources);
    SplitPlan plan;
    plan.besidePieces = m_besidePieces;
    if (!openFolder(plan))
        throwRefused();
    sweepLeftovers(*plan.folder, sources);
    plan.checker = std::make_unique<OutputChecker>(*plan.folder, m_request.queue);
    for (const Source &source : std::as_const(sources))
        plan.checker->addSource(m_request.queue[source.index].path, source.facts.identity);
    planFiles(plan, sources);
    if (!m_refusals.isEmpty())
        throwRefused();
    return plan;
}

QList<Source> Planner::readableSources() {
    QList<Source> sources;
    for (qsizetype i = 0; i < m_request.queue.size(); ++i) {
        const QueuedFile &file = m_request.queue[i];
        if (const std::optional<Failure> problem = portableNameProblem(file.name)) {
            refuse(i, problem->withPath(file.path));
            continue;
        }
        try {
            sources.append({i, SourceFile(file.path, m_work.files).facts()});
        } catch (const Failure &error) {
            // The platform's listing hides such names; one that comes in by other ways arrives
            // with its bad bytes replaced, and so names no file.
            refuse(i, file.path.contains(QChar::ReplacementCharacter)
                          ? Failure(Failure::Code::NameNotUtf8, file.path)
                          : error.withPath(file.path));
        }
    }
    return sources;
}

void Planner::refuseSameNames(QList<Source> &sources) {
    // Windows, where the scripts run, does not tell names apart by case.
    QHash<QString, const Source *> firstByName;
    QList<Source> kept;
    for (Source &source : sources) {
        const QueuedFile &file = m_request.queue[source.index];
        const QString key = foldedName(file.name);
        const Source *first = firstByName.value(key);
        if (!first) {
            firstByName.insert(key, &source);
        } else if (first->facts.identity == source.facts.identity) {
            source.repeats = first->index;
        } else {
            refuse(source.index, Failure(Failure::Code::SameNamesAs, file.path,
                                         {FailureArg::path(m_request.queue[first->index].path)}));
            continue;
        }
        kept.append(source);
    }
    sources = kept;
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

void Planner::sweepLeftovers(const OutputFolder &folder, const QList<Source> &sources) const {
    // What a join or split killed on a file system without unnamed files left would take room;
    // a queued source, whatever its name, is no leftover.
    QSet<FileIdentity> queued;
    for (const Source &source : sources)
        queued.insert(source.facts.identity);
    removeLeftovers(folder, queued);
}

void Planner::planFiles(SplitPlan &plan, const QList<Source> &sources) {
    QHash<qsizetype, PlannedFile> planned;
    try {
        const FolderCapacity capacity = plan.folder->capacity();
        plan.flushesWhole = capacity.flushesWhole;
        alignPieceLength(plan, capacity);
        const QHash<QString, ExistingOutputs> existing = existingOutputs(*plan.folder);
        Totals totals;
        for (const Source &source : sources) {
            // The same file queued again would write the same bytes again: split once.
            if (source.repeats >= 0)
                continue;
            const QueuedFile &queued = m_request.queue[source.index];
            if (std::optional<PlannedFile> file = planFile(
                    plan, source, capacity, existing.value(foldedName(queued.name)), totals))
                planned.insert(source.index, *file);
        }
        checkRoom(*plan.folder, capacity, totals);
    } catch (const Failure &error) {
        if (error.kind() == Failure::Kind::Stopped)
            throw;
        refuseFolder(error);
    }
    for (qsizetype i = 0; i < m_request.queue.size(); ++i) {
        if (const auto file = planned.constFind(i); file != planned.cend())
            plan.files.append(*file);
    }
}

std::optional<PlannedFile> Planner::planFile(SplitPlan &plan, const Source &source,
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
    const std::optional<qint64> pieceLength = pieceLengthOf(source);
    if (!pieceLength)
        return std::nullopt;
    PlannedFile file{.queued = queued,
                     .names = OutputNames(queued.name),
                     .source = source.facts,
                     .bytes = source.facts.size,
                     .permissions = source.facts.permissions,
                     .pieceLength = *pieceLength,
                     .pieces = pieceCountFor(source.facts.size, *pieceLength),
                     .stalePieces = 0,
                     .recovery = std::nullopt,
                     .existing = {}};
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

void Planner::alignPieceLength(SplitPlan &plan, const FolderCapacity &capacity) {
    if (!m_request.alignToBlocks || m_request.pieceCount > 0)
        return;
    m_pieceLength -= m_pieceLength % capacity.blockSize;
    if (m_pieceLength == 0)
        throw Failure(
            Failure::Code::PieceUnderBlock, plan.folder->path(),
            {FailureArg::count(m_request.pieceLength), FailureArg::count(capacity.blockSize)});
    plan.alignedToBlock = capacity.blockSize;
}

std::optional<qint64> Planner::pieceLengthOf(const Source &source) {
    if (m_request.pieceCount < 1)
        return m_pieceLength;
    const std::optional<qint64> length =
        pieceLengthForCount(source.facts.size, m_request.pieceCount);
    if (!length)
        refuse(source.index, Failure(source.facts.size < m_request.pieceCount
                                         ? Failure::Code::FewerBytesThanPieces
                                         : Failure::Code::NotInEqualPieces,
                                     m_request.queue[source.index].path,
                                     {FailureArg::count(source.facts.size),
                                      FailureArg::count(m_request.pieceCount)}));
    return length;
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

void Planner::refuse(qsizetype index, Failure refusal) {
    m_refusals.append({index, std::move(refusal)});
}

void Planner::refuseFolder(Failure refusal) {
    refuse(m_request.queue.size(), std::move(refusal));
}

void Planner::throwRefused() const {
    QList<Numbered> sorted = m_refusals;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Numbered &a, const Numbered &b) { return a.index < b.index; });
    std::vector<Failure> refusals;
    for (const Numbered &numbered : sorted)
        refusals.push_back(numbered.refusal);
    throw Failure::refused(refusals);
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
