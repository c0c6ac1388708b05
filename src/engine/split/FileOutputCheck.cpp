#include "split/FileOutputCheck.h"

#include "NameFolding.h"
#include "OutputFolder.h"
#include "names/OutputKinds.h"
#include "sets/EarlierSplit.h"
#include "split/ExistingOutputs.h"
#include "split/SplitPlan.h"

#include <QHash>

#include <algorithm>

FileOutputCheck::FileOutputCheck(const OutputFolder &folder, const OutputChecker &checker,
                                 const ExistingOutputs &existing, PlannedFile &file,
                                 const Work &work)
    : m_folder(folder)
    , m_checker(checker)
    , m_existing(existing)
    , m_file(file)
    , m_earlier(folder, file.names, work) {}

std::optional<Failure> FileOutputCheck::check(const QList<OutputNames::Kind> &written,
                                              OutputChecker::Replaced &replaced) {
    m_replaced = &replaced;
    try {
        for (const OutputKind &output : kOutputKinds) {
            if (!output.isBesidePieces())
                continue;
            if (std::optional<Failure> refused =
                    checkBeside(output.kind, written.contains(output.kind)))
                return refused;
        }
        if (std::optional<Failure> refused = checkRecovery())
            return refused;
        if (std::optional<Failure> refused = checkPieces())
            return refused;
        return countStalePieces();
    } catch (const Failure &error) {
        if (error.kind() == Failure::Kind::Stopped)
            throw;
        return Failure::because(Failure::Code::OutputNotExamined, m_file.queued.path,
                                {FailureArg::path(error.path())}, error);
    }
}

std::optional<Failure> FileOutputCheck::checkBeside(OutputNames::Kind kind, bool written) {
    const QList<QByteArray> spellings = m_existing.beside.value(kind);
    if (spellings.isEmpty())
        return std::nullopt;
    const QByteArray name = m_file.names.besideOnDisk(kind);
    if (!written) {
        // What this split does not write stands as it is, but for an earlier split's own, which
        // names pieces that go: it goes with them, unless it is a queued source.
        OutputChecker::Replaced ignored;
        const FileFacts facts = m_folder.facts(name);
        if (facts.kind == FileKind::Regular && facts.linkCount == 1 &&
            !m_checker.problemAt(name, ignored) && m_earlier.isOwn(name, kind))
            m_file.earlierBeside.insert(name, facts.identity);
        return std::nullopt;
    }
    FileFacts there;
    if (std::optional<Failure> refused = problemAt(name, spellings, kind, there))
        return refused;
    if (there.kind == FileKind::Missing)
        return std::nullopt;
    if (there.kind == FileKind::Regular)
        m_file.earlierBeside.insert(name, there.identity);
    if (m_earlier.isOwn(name, kind))
        return std::nullopt;
    return notOurs(kind, name);
}

std::optional<Failure> FileOutputCheck::checkRecovery() {
    const QList<QByteArray> spellings = m_existing.beside.value(OutputNames::Kind::Recovery);
    if (spellings.isEmpty())
        return std::nullopt;
    QList<QByteArray> written;
    if (m_file.recovery) {
        for (const QString &name : m_file.recovery->names(m_file.names))
            written << fileSystemName(name);
    }
    const auto ours = [&](const QByteArray &name) { return m_earlier.isListedRecoveryFile(name); };
    for (const QByteArray &name : std::as_const(written)) {
        FileFacts there;
        if (std::optional<Failure> refused =
                problemAt(name, spellings, OutputNames::Kind::Recovery, there))
            return refused;
        if (there.kind == FileKind::Missing)
            continue;
        if (there.kind == FileKind::Regular)
            m_file.earlierBeside.insert(name, there.identity);
        if (!ours(name))
            return notOurs(OutputNames::Kind::Recovery, name);
    }
    // An earlier set of ours goes with the pieces it rebuilds.
    for (const QByteArray &there : spellings) {
        const FileFacts facts = m_folder.facts(there);
        if (facts.kind == FileKind::Regular && facts.linkCount == 1 && ours(there))
            m_file.earlierBeside.insert(there, facts.identity);
    }
    return std::nullopt;
}

std::optional<Failure> FileOutputCheck::checkPieces() {
    const PieceNumbers &there = m_existing.pieces;
    if (!there.firstFrom(1))
        return std::nullopt;
    // Room for those there, not for every piece planned: the plan holds every file's at once.
    m_file.earlierPieces.reserve(std::min(m_file.pieces, there.added()));
    for (std::optional<qint64> number = there.firstFrom(1); number && *number <= m_file.pieces;
         number = there.firstFrom(*number + 1)) {
        if (std::optional<Failure> refused = checkPiece(*number))
            return refused;
    }
    return std::nullopt;
}

std::optional<Failure> FileOutputCheck::checkPiece(qint64 number) {
    m_file.names.setPieceOnDisk(m_pieceName, number);
    FileFacts there;
    if (std::optional<Failure> refused = problemAt(
            m_pieceName, m_existing.otherSpellings.value(number), OutputNames::Kind::Piece, there))
        return refused;
    if (there.kind == FileKind::Missing)
        return std::nullopt;
    // A file at a piece's name is replaced only where an earlier split of ours named it.
    if (number > m_earlier.piecesNamed())
        return Failure(Failure::Code::PieceNotNamedBeside, m_file.queued.path,
                       {FailureArg::path(m_folder.filePath(m_pieceName)),
                        FailureArg::name(m_file.names.fileName())});
    if (there.kind == FileKind::Regular)
        m_file.earlierPieces.addEarlier(number, there.identity);
    return std::nullopt;
}

std::optional<Failure> FileOutputCheck::countStalePieces() {
    // An earlier, longer split left pieces past the new last one: the unbroken run of them
    // goes, or a join from the first piece would take them in.
    for (qint64 number = m_file.pieces + 1; m_existing.pieces.contains(number); ++number) {
        if (std::optional<Failure> refused = checkPiece(number))
            return refused;
        if (!m_file.earlierPieces.of(number))
            break;
        ++m_file.stalePieces;
    }
    notePiecesPastGap();
    return std::nullopt;
}

void FileOutputCheck::notePiecesPastGap() {
    // A source longer than it said (of /proc, of sysfs) runs a few pieces past its plan: those
    // far past are not held.
    constexpr qint64 kMostNoted = qint64(1) << 16;
    const qint64 gap = m_file.pieces + m_file.stalePieces + 1;
    const qint64 named = std::min(m_earlier.piecesNamed(), gap + kMostNoted);
    for (std::optional<qint64> number = m_existing.pieces.firstFrom(gap);
         number && *number <= named; number = m_existing.pieces.firstFrom(*number + 1)) {
        m_file.names.setPieceOnDisk(m_pieceName, *number);
        const FileFacts facts = m_folder.facts(m_pieceName);
        if (facts.kind == FileKind::Regular && facts.linkCount == 1)
            m_file.earlierPastGap.addEarlier(*number, facts.identity);
    }
}

std::optional<Failure> FileOutputCheck::problemAt(const QByteArray &name,
                                                  const QList<QByteArray> &spellings,
                                                  OutputNames::Kind kind, FileFacts &there) {
    const QString path = m_folder.filePath(name);
    if (const std::optional<OutputProblem> problem = m_checker.problemAt(name, *m_replaced))
        return problem->refusal(m_file.queued.path, outputKind(kind).translatedRole(), path);
    if (const std::optional<QByteArray> twin = caseTwin(name, spellings)) {
        const OutputProblem problem{OutputProblem::Kind::CaseTwin, m_folder.filePath(*twin)};
        return problem.refusal(m_file.queued.path, outputKind(kind).translatedRole(), path);
    }
    there = m_folder.facts(name);
    return std::nullopt;
}

std::optional<QByteArray> FileOutputCheck::caseTwin(const QByteArray &name,
                                                    const QList<QByteArray> &spellings) const {
    // On this volume another file; on Windows one of the two would be lost.
    const FileFacts ours = m_folder.facts(name);
    for (const QByteArray &there : spellings) {
        const QString shown = fromFileSystemName(there);
        if (there == name || fileSystemName(shown) != there ||
            !sameNameOnWindows(shown, fromFileSystemName(name)))
            continue;
        if (ours.kind == FileKind::Missing || m_folder.facts(there).identity != ours.identity)
            return there;
    }
    return std::nullopt;
}

Failure FileOutputCheck::notOurs(OutputNames::Kind kind, const QByteArray &name) const {
    return Failure(Failure::Code::OutputNotOurs, m_file.queued.path,
                   {FailureArg::text(outputKind(kind).translatedRole()),
                    FailureArg::path(m_folder.filePath(name)),
                    FailureArg::name(m_file.names.fileName())});
}
