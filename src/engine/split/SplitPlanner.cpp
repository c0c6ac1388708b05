#include "split/SplitPlanner.h"

#include "FileError.h"
#include "NameFolding.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "TemporaryFile.h"
#include "checksums/ChecksumList.h"
#include "join/JoinRecipe.h"
#include "names/PortableName.h"
#include "names/RestoreScript.h"
#include "run/Saturating.h"
#include "sizes/PieceLength.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>

namespace {

// The outputs a folder holds already, of files of any name, by case-folded file name: the
// names of the pieces there by number, of restore scripts and of checksum lists, in every
// spelling the folder holds. A folder is listed once, however many pieces a file takes.
// Windows, and file systems here such as FAT, do not tell names apart by case, so neither does
// this.
struct ExistingOutputs {
    QHash<qint64, QList<QByteArray>> pieces;
    QList<QByteArray> scripts;
    QList<QByteArray> checksums;
};

QHash<QString, ExistingOutputs> existingOutputs(const OutputFolder &folder) {
    QHash<QString, ExistingOutputs> outputs;
    for (const QByteArray &entry : folder.entryNames()) {
        const std::optional<OutputNames::Entry> output =
            OutputNames::parse(fromFileSystemName(entry));
        if (!output)
            continue;
        ExistingOutputs &existing = outputs[foldedName(output->fileName)];
        switch (output->kind) {
        case OutputNames::Kind::Piece:
            existing.pieces[output->piece].append(entry);
            break;
        case OutputNames::Kind::Script:
        case OutputNames::Kind::PosixScript:
            existing.scripts.append(entry);
            break;
        case OutputNames::Kind::Checksums:
            existing.checksums.append(entry);
            break;
        }
    }
    return outputs;
}

// Enough for the restore script of pieces pieces of name, without building it: as if every
// piece stood on a copy line of its own.
qint64 scriptBytesAtMost(const OutputNames &names, qint64 pieces) {
    using namespace RestoreScript;
    const qint64 perPiece = scriptBytes(nextTerm(names, pieces)) +
                            scriptBytes(continuation(names)) + scriptBytes(destination(names)) + 2;
    return saturatingAdd(saturatingMultiply(pieces, perPiece),
                         2 * scriptBytes(names.fileName()) + 64);
}

// Enough for the checksum list of pieces pieces: a digest, two blanks, a name and a line end,
// for the whole file and each piece.
qint64 checksumBytesAtMost(const OutputNames &names, qint64 pieces) {
    const qint64 perLine = 64 + 2 + fileSystemName(names.fileName()).size() + 21;
    return saturatingMultiply(pieces + 1, perLine);
}

// Disk space the outputs of a source of length bytes take.
qint64 outputBytes(const OutputNames &names, qint64 length, qint64 pieceLength, qint64 blockSize,
                   bool checksums) {
    const qint64 pieces = pieceCountFor(length, pieceLength);
    const qint64 fullPieces = pieces - 1;
    qint64 bytes = saturatingMultiply(fullPieces, wholeBlocks(pieceLength, blockSize));
    bytes = saturatingAdd(bytes, wholeBlocks(length - fullPieces * pieceLength, blockSize));
    bytes = saturatingAdd(bytes, wholeBlocks(scriptBytesAtMost(names, pieces), blockSize));
    if (checksums)
        bytes = saturatingAdd(bytes, wholeBlocks(checksumBytesAtMost(names, pieces), blockSize));
    return bytes;
}

// The longest name a file writes (its last piece, its script or its checksum list) must fit
// the file system.
std::optional<QString> lengthProblem(const OutputFolder &folder, const FolderCapacity &capacity,
                                     const OutputNames &names, qint64 pieces) {
    for (const QString &name : {names.piece(pieces), names.script(), names.checksums()}) {
        const QByteArray onDisk = fileSystemName(name);
        if (onDisk.size() > capacity.nameMax)
            return RefusalReason::nameTooLong(name, onDisk.size(), capacity.nameMax);
        const qint64 pathBytes = fileSystemName(folder.filePath(onDisk)).size() + 1;
        if (pathBytes > capacity.pathMax)
            return RefusalReason::pathTooLong(name, pathBytes, capacity.pathMax);
    }
    return std::nullopt;
}

// A queued file whose source could be opened.
struct Source {
    qsizetype index = 0; // in the queue
    FileFacts facts;
    qsizetype repeats = -1; // the index of the same file queued before, or -1
};

class Planner {
public:
    explicit Planner(const SplitRequest &request)
        : m_request(request) {}

    SplitPlan plan();

private:
    QList<Source> readableSources();
    void refuseSameNames(QList<Source> &sources);
    // The outputs that stand already where the file writes, or the reason it may not.
    std::optional<QString> checkOutputs(const OutputFolder &folder, const OutputChecker &checker,
                                        const ExistingOutputs &existing, PlannedFile &file,
                                        OutputChecker::Replaced &replaced) const;
    void refuse(qsizetype index, const QString &path, const QString &reason);
    // In the order of the queue, whatever the order of the checks; the output folder's last.
    QList<Refusal> sortedRefusals() const;

    const SplitRequest &m_request;
    struct Numbered {
        qsizetype index;
        Refusal refusal;
    };
    QList<Numbered> m_refusals;
};

QList<Source> Planner::readableSources() {
    QList<Source> sources;
    for (qsizetype i = 0; i < m_request.queue.size(); ++i) {
        const QueuedFile &file = m_request.queue[i];
        if (const std::optional<NameProblem> problem = portableNameProblem(file.name)) {
            refuse(i, file.path, RefusalReason::name(*problem));
            continue;
        }
        try {
            sources.append({i, SourceFile(file.path).facts()});
        } catch (const FileError &error) {
            // The platform's listing hides such names; one that comes in by other ways arrives
            // with its bad bytes replaced, and so names no file.
            refuse(i, file.path,
                   file.path.contains(QChar::ReplacementCharacter) ? RefusalReason::nameNotUtf8()
                                                                   : error.reason());
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
            refuse(source.index, file.path,
                   RefusalReason::sameNamesAs(m_request.queue[first->index].path));
            continue;
        }
        kept.append(source);
    }
    sources = kept;
}

std::optional<QString> Planner::checkOutputs(const OutputFolder &folder,
                                             const OutputChecker &checker,
                                             const ExistingOutputs &existing, PlannedFile &file,
                                             OutputChecker::Replaced &replaced) const {
    const OutputNames &names = file.names;
    using Kind = OutputNames::Kind;
    // A file of the folder spelled otherwise than name that Windows takes for name: on this
    // volume another file, and on Windows one of the two would be lost.
    auto caseTwin = [&](const QByteArray &name,
                        const QList<QByteArray> &spellings) -> std::optional<QByteArray> {
        const FileFacts ours = folder.facts(name);
        for (const QByteArray &there : spellings) {
            const QString shown = fromFileSystemName(there);
            if (there == name || fileSystemName(shown) != there ||
                !sameNameOnWindows(shown, fromFileSystemName(name)))
                continue;
            if (ours.kind == FileKind::Missing || folder.facts(there).identity != ours.identity)
                return there;
        }
        return std::nullopt;
    };
    auto problemAt = [&](const QByteArray &name, const QList<QByteArray> &spellings,
                         Kind kind) -> std::optional<QString> {
        if (const std::optional<OutputProblem> problem = checker.problemAt(name, replaced))
            return RefusalReason::output(kind, folder.filePath(name), *problem);
        if (const std::optional<QByteArray> twin = caseTwin(name, spellings))
            return RefusalReason::output(kind, folder.filePath(name),
                                         {OutputProblem::Kind::CaseTwin, folder.filePath(*twin)});
        if (const FileFacts facts = folder.facts(name); facts.kind == FileKind::Regular)
            file.existing.insert(name, facts.identity);
        return std::nullopt;
    };
    try {
        const QByteArray script = names.scriptOnDisk();
        if (!existing.scripts.isEmpty()) {
            if (std::optional<QString> problem = problemAt(script, existing.scripts, Kind::Script))
                return problem;
            if (file.existing.contains(script) &&
                !isRestoreScriptOf(folder, script, names.fileName()))
                return RefusalReason::notOurs(Kind::Script, folder.filePath(script),
                                              names.fileName());
        }
        // An earlier list of ours is replaced, or removed when no list is written; another
        // file of its name is refused, or left alone when no list is written.
        const QByteArray list = names.checksumsOnDisk();
        if (!existing.checksums.isEmpty()) {
            if (std::optional<QString> problem =
                    problemAt(list, existing.checksums, Kind::Checksums))
                return problem;
            if (file.existing.contains(list) && !isChecksumListOf(folder, list, names)) {
                if (m_request.writeChecksums)
                    return RefusalReason::notOurs(Kind::Checksums, folder.filePath(list),
                                                  names.fileName());
                file.existing.remove(list);
            }
        }
        for (auto piece = existing.pieces.cbegin(); piece != existing.pieces.cend(); ++piece) {
            if (piece.key() > file.pieces)
                continue;
            if (std::optional<QString> problem =
                    problemAt(names.pieceOnDisk(piece.key()), piece.value(), Kind::Piece))
                return problem;
        }
        // An earlier, longer split left pieces past the new last one: the unbroken run of
        // them goes, or a join from the first piece would take them in.
        for (qint64 number = file.pieces + 1; existing.pieces.contains(number); ++number) {
            const QByteArray name = names.pieceOnDisk(number);
            if (std::optional<QString> problem =
                    problemAt(name, existing.pieces[number], Kind::Piece))
                return problem;
            if (folder.facts(name).kind == FileKind::Missing)
                break;
            ++file.stalePieces;
        }
    } catch (const FileError &error) {
        return RefusalReason::outputNotExamined(error.path(), error.reason());
    }
    return std::nullopt;
}

SplitPlan Planner::plan() {
    QList<Source> sources = readableSources();
    refuseSameNames(sources);

    SplitPlan plan;
    plan.pieceLength = m_request.pieceLength;
    plan.writeChecksums = m_request.writeChecksums;
    const qsizetype folderIndex = m_request.queue.size(); // its refusals come last
    try {
        plan.folder = std::make_unique<OutputFolder>(m_request.outputFolder);
    } catch (const FileError &error) {
        refuse(folderIndex, error.path(), error.reason());
        throw SplitRefused(sortedRefusals());
    }
    if (!plan.folder->canWrite(QByteArrayLiteral("."))) {
        refuse(folderIndex, m_request.outputFolder, RefusalReason::folderNotWritable());
        throw SplitRefused(sortedRefusals());
    }
    // A folder removed while it was open: nothing can be made in it.
    if (plan.folder->facts(QByteArrayLiteral(".")).linkCount == 0) {
        refuse(folderIndex, m_request.outputFolder, RefusalReason::folderRemoved());
        throw SplitRefused(sortedRefusals());
    }
    // What a join or split killed on a file system without unnamed files left would take room;
    // a queued source, whatever its name, is no leftover.
    QSet<FileIdentity> queued;
    for (const Source &source : std::as_const(sources))
        queued.insert(source.facts.identity);
    TemporaryFile::removeLeftovers(*plan.folder, queued);

    const OutputFolder &folder = *plan.folder;
    plan.checker = std::make_unique<OutputChecker>(folder, m_request.queue);
    for (const Source &source : std::as_const(sources))
        plan.checker->addSource(m_request.queue[source.index].path, source.facts.identity);

    QHash<qsizetype, PlannedFile> planned;
    qint64 needed = 0;
    qint64 newFiles = 0;
    OutputChecker::Replaced replaced;
    qint64 largestPiece = 0;
    try {
        const FolderCapacity capacity = folder.capacity();
        plan.flushesWhole = capacity.flushesWhole;
        const QHash<QString, ExistingOutputs> existing = existingOutputs(folder);
        for (const Source &source : std::as_const(sources)) {
            const QueuedFile &queued = m_request.queue[source.index];
            // The same file queued again would write the same bytes again: split once.
            if (source.repeats >= 0)
                continue;
            // Held from the check to the end of the run: another run writing these outputs
            // would undo this one's work, or this one its.
            std::optional<OutputLock> lock = OutputLock::take(folder, queued.name);
            if (!lock) {
                refuse(source.index, queued.path, RefusalReason::anotherRun(queued.name));
                continue;
            }
            plan.locks.push_back(std::move(*lock));
            PlannedFile file{.queued = queued,
                             .names = OutputNames(queued.name),
                             .identity = source.facts.identity,
                             .bytes = source.facts.size,
                             .permissions = source.facts.permissions,
                             .pieces = pieceCountFor(source.facts.size, m_request.pieceLength),
                             .stalePieces = 0,
                             .existing = {}};
            OutputChecker::Replaced replacedHere;
            std::optional<QString> problem =
                lengthProblem(folder, capacity, file.names, file.pieces);
            if (!problem)
                problem = checkOutputs(folder, *plan.checker,
                                       existing.value(foldedName(queued.name)), file, replacedHere);
            if (problem) {
                refuse(source.index, queued.path, *problem);
                continue;
            }
            replaced.bytes = saturatingAdd(replaced.bytes, replacedHere.bytes);
            replaced.files += replacedHere.files;
            // The pieces, the script and the list; what replaces a file there takes no new one.
            newFiles = saturatingAdd(newFiles, file.pieces + (plan.writeChecksums ? 2 : 1));
            needed =
                saturatingAdd(needed, outputBytes(file.names, file.bytes, m_request.pieceLength,
                                                  capacity.blockSize, plan.writeChecksums));
            largestPiece = std::max(largestPiece, std::min(file.bytes, m_request.pieceLength));
            planned.insert(source.index, file);
        }
        if (needed - replaced.bytes > capacity.freeBytes)
            refuse(folderIndex, folder.path(),
                   RefusalReason::notEnoughSpace(needed - replaced.bytes, capacity.freeBytes));
        if (newFiles - replaced.files > capacity.freeFiles)
            refuse(folderIndex, folder.path(),
                   RefusalReason::notEnoughFiles(newFiles - replaced.files, capacity.freeFiles));
        if (largestPiece > capacity.maxFileBytes)
            refuse(folderIndex, folder.path(),
                   RefusalReason::pieceTooLarge(capacity.maxFileBytes, largestPiece));
    } catch (const FileError &error) {
        refuse(folderIndex, error.path(), error.reason());
    }
    if (!m_refusals.isEmpty())
        throw SplitRefused(sortedRefusals());
    for (qsizetype i = 0; i < m_request.queue.size(); ++i) {
        if (const auto file = planned.constFind(i); file != planned.cend())
            plan.files.append(*file);
    }
    return plan;
}

void Planner::refuse(qsizetype index, const QString &path, const QString &reason) {
    m_refusals.append({index, {path, reason}});
}

QList<Refusal> Planner::sortedRefusals() const {
    QList<Numbered> sorted = m_refusals;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Numbered &a, const Numbered &b) { return a.index < b.index; });
    QList<Refusal> refusals;
    for (const Numbered &numbered : sorted)
        refusals.append(numbered.refusal);
    return refusals;
}

} // namespace

SplitPlan::SplitPlan() = default;
SplitPlan::SplitPlan(SplitPlan &&) noexcept = default;
SplitPlan &SplitPlan::operator=(SplitPlan &&) noexcept = default;
SplitPlan::~SplitPlan() = default;

qint64 SplitPlan::totalBytes() const {
    qint64 total = 0;
    for (const PlannedFile &file : files)
        total = saturatingAdd(total, file.bytes);
    return total;
}

SplitPlan planSplit(const SplitRequest &request) {
    return Planner(request).plan();
}
