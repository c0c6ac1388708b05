#include "recovery/PieceRebuild.h"

#include "Failure.h"
#include "Leftovers.h"
#include "OutputFolder.h"
#include "Par2Program.h"
#include "PrivateFolder.h"
#include "SourceFile.h"
#include "checksums/ChecksumList.h"
#include "checksums/FileSha256.h"
#include "names/OutputNames.h"
#include "recovery/Par2Progress.h"
#include "recovery/RecoveryCheck.h"
#include "run/Saturating.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// A piece to rebuild, and the damaged file at its name as it was checked, when there is one.
struct Rebuilt {
    qint64 piece = 0;
    QByteArray name;
    std::optional<FileFacts> damaged;
    bool aside = false;                 // the damaged file is in the private folder
    std::optional<FileIdentity> placed; // the rebuilt one is in place
};

// Puts the rebuilt pieces in place, the damaged ones aside; unless all went well, takes the
// rebuilt ones away again and puts the damaged ones back.
class Placement {
public:
    Placement(const OutputFolder &folder, PrivateFolder &work, std::vector<Rebuilt> &pieces)
        : m_folder(folder)
        , m_work(work)
        , m_pieces(pieces) {}
    ~Placement() {
        if (!m_done)
            undo();
    }
    Placement(const Placement &) = delete;
    Placement &operator=(const Placement &) = delete;

    void place(Rebuilt &piece) {
        if (piece.damaged) {
            // Only the file that was checked goes aside, not one put at its name since.
            const FileFacts now = m_folder.facts(piece.name);
            if (now.identity != piece.damaged->identity || !now.unchangedSince(*piece.damaged))
                throw Failure(Failure::Code::ChangedWhileRebuilt, m_folder.filePath(piece.name));
            // In place of the link par2 read it through.
            m_work.folder().remove(keptAsideName(piece.piece));
            m_folder.moveTo(m_work.folder(), piece.name, keptAsideName(piece.piece),
                            OutputFolder::Replacing::Never);
            piece.aside = true;
        }
        // Known before the move, which keeps it: a failure after the move still finds it.
        piece.placed = m_work.folder().facts(piece.name).identity;
        m_work.folder().moveTo(m_folder, piece.name, piece.name, OutputFolder::Replacing::Never);
    }
    void done() { m_done = true; }

private:
    void undo() noexcept {
        for (Rebuilt &piece : m_pieces) {
            try {
                if (piece.placed)
                    m_folder.removeIfStill(piece.name, *piece.placed);
                if (piece.aside)
                    m_work.folder().moveTo(m_folder, keptAsideName(piece.piece), piece.name,
                                           OutputFolder::Replacing::Never);
            } catch (const Failure &) {
                // The damaged piece stays in the private folder, which stays with it.
                m_work.keep();
            }
        }
    }

    const OutputFolder &m_folder;
    PrivateFolder &m_work;
    std::vector<Rebuilt> &m_pieces;
    bool m_done = false;
};

QByteArray linkTarget(const QByteArray &name) {
    return QByteArrayLiteral("../") + name;
}

} // namespace

PieceRebuild::PieceRebuild(const OutputFolder &folder, const OutputNames &names,
                           const ChecksumList &list)
    : m_folder(folder)
    , m_names(names)
    , m_list(list) {}

namespace {

// What to rebuild, from a check of every piece; refused where a piece's name holds what is no
// file, which Tessary never replaces.
std::vector<Rebuilt> piecesToRebuild(const OutputFolder &folder, const OutputNames &names,
                                     const QList<PieceStatus> &checked) {
    std::vector<Rebuilt> pieces;
    for (qint64 piece = 1; piece <= checked.size(); ++piece) {
        const PieceStatus status = checked[piece - 1];
        if (status == PieceStatus::Matches)
            continue;
        Rebuilt rebuilt{piece, names.pieceOnDisk(piece), std::nullopt, false, std::nullopt};
        if (status == PieceStatus::Damaged) {
            const FileFacts facts = folder.facts(rebuilt.name);
            if (facts.kind != FileKind::Regular)
                throw Failure(Failure::Code::RebuildWillNotReplace, folder.filePath(rebuilt.name),
                              {FailureArg::fileKind(int(facts.kind))});
            rebuilt.damaged = facts;
        }
        pieces.push_back(rebuilt);
    }
    return pieces;
}

// The rebuilt pieces take at most as much as the longest piece there, each.
void checkRoom(const OutputFolder &folder, const OutputNames &names, qint64 pieces,
               qint64 rebuilt) {
    qint64 longest = 0;
    for (qint64 piece = 1; piece <= pieces; ++piece)
        longest = std::max(longest, folder.facts(names.pieceOnDisk(piece)).size);
    const qint64 needed = saturatingMultiply(longest, rebuilt);
    const qint64 free = folder.capacity().freeBytes;
    if (needed > free)
        throw Failure(Failure::Code::RebuildNeedsSpace, folder.path(),
                      {FailureArg::bytes(needed), FailureArg::bytes(free)});
}

// Links in work to what par2 reads: each piece that matches under its own name, each recovery
// file there, and each damaged piece under a name of its own, for the blocks it still holds.
// Returns the damaged pieces' names there, for par2 to scan.
QStringList linkInputs(const OutputFolder &folder, const OutputFolder &work,
                       const OutputNames &names, const ChecksumList &list,
                       const std::vector<Rebuilt> &rebuilt) {
    QStringList damaged;
    const auto link = [&](const QByteArray &name, const QByteArray &as) {
        if (!work.makeSymbolicLink(linkTarget(name), as))
            throw Failure(Failure::Code::NoSymbolicLinks, folder.path(),
                          {FailureArg::name(names.recoveryIndex())});
    };
    qsizetype next = 0;
    for (qint64 piece = 1; piece <= list.pieces.size(); ++piece) {
        const QByteArray name = names.pieceOnDisk(piece);
        if (next < qsizetype(rebuilt.size()) && rebuilt[next].piece == piece) {
            if (rebuilt[next].damaged) {
                link(name, keptAsideName(piece));
                damaged << fromFileSystemName(keptAsideName(piece));
            }
            ++next;
            continue;
        }
        link(name, name);
    }
    for (const ChecksumList::Listed &recovery : list.recovery) {
        const QByteArray name = fileSystemName(recovery.name);
        if (folder.facts(name).kind == FileKind::Regular)
            link(name, name);
    }
    return damaged;
}

// Copies the file at from in folder to a file of its own at name in work.
void copyInto(const OutputFolder &folder, const QByteArray &from, const OutputFolder &work,
              const QByteArray &name, const std::function<bool()> &keepGoing) {
    constexpr qint64 kChunkBytes = qint64(1) << 20;
    const SourceFile source(folder, from);
    const QByteArray copy = name + QByteArrayLiteral(".copy");
    const FileHandle target = work.createNew(copy.constData());
    QByteArray buffer(kChunkBytes, Qt::Uninitialized);
    for (qint64 offset = 0;;) {
        if (!keepGoing())
            throw Failure::stopped();
        const qint64 got = source.readAt(buffer.data(), kChunkBytes, offset);
        if (got == 0)
            break;
        target.write(buffer.constData(), got);
        offset += got;
    }
    work.remove(name);
    work.rename(copy, name, OutputFolder::Replacing::Never);
}

// Where par2 found a piece whole in another's damaged file (two pieces swapped, say), it put the
// link it read that file through at the piece's name: the piece becomes a file of its own, a
// copy of that file, before the damaged files go aside.
void takeFoundPieces(const OutputFolder &work, const OutputFolder &folder,
                     const std::vector<Rebuilt> &rebuilt, const std::function<bool()> &keepGoing) {
    for (const Rebuilt &piece : rebuilt) {
        if (work.facts(piece.name).kind != FileKind::SymbolicLink)
            continue;
        const FileIdentity found = work.factsFollowingLinks(piece.name).identity;
        const auto holder =
            std::find_if(rebuilt.cbegin(), rebuilt.cend(), [&](const Rebuilt &other) {
                return other.damaged && other.damaged->identity == found;
            });
        if (holder != rebuilt.cend())
            copyInto(folder, holder->name, work, piece.name, keepGoing);
    }
}

// Each rebuilt piece as the list gives it, and on the disk.
void checkRebuilt(const OutputFolder &work, const OutputFolder &folder, const ChecksumList &list,
                  const std::vector<Rebuilt> &rebuilt, const std::function<bool()> &keepGoing) {
    takeFoundPieces(work, folder, rebuilt, keepGoing);
    for (const Rebuilt &piece : rebuilt) {
        const QString path = folder.filePath(piece.name);
        if (work.facts(piece.name).kind != FileKind::Regular)
            throw Failure(Failure::Code::Par2DidNotRebuild, path);
        if (sha256Of(work, piece.name, keepGoing) != list.pieces[piece.piece - 1])
            throw Failure(Failure::Code::RebuiltDoesNotMatch, path,
                          {FailureArg::name(QFileInfo(list.path).fileName())});
        work.openForReading(piece.name).flushToDisk();
    }
}

// Why par2 rebuilt nothing: more damage than the recovery files cover, each piece named, or
// what par2 said.
Failure whyNotRebuilt(const Par2Program::Outcome &outcome, const QString &recoveryPath,
                      const OutputNames &names, qint64 pieces,
                      const std::vector<Rebuilt> &rebuilt) {
    const RecoveryVerdict verdict = verdictOf(outcome, pieces, recoveryPath);
    if (verdict.state != RecoveryVerdict::State::CannotRebuild)
        return Failure(Failure::Code::Par2CouldNotRebuild, recoveryPath,
                       {FailureArg::text(outcome.lastLine())});
    QStringList named;
    for (const Rebuilt &piece : rebuilt)
        named << names.piece(piece.piece);
    return Failure(Failure::Code::CannotRebuild, {},
                   {FailureArg::count(qint64(rebuilt.size())), FailureArg::count(pieces),
                    FailureArg::count(verdict.morePieces),
                    FailureArg::name(named.join(QStringLiteral(", ")))});
}

} // namespace

QStringList PieceRebuild::run(const QList<PieceStatus> &checked,
                              const std::function<void(double)> &progress,
                              const std::function<bool()> &keepGoing) {
    const std::optional<QByteArray> recoveryFile = recoveryFileBeside(m_folder, m_list);
    if (!recoveryFile)
        throw Failure(Failure::Code::NoRecoveryFileBeside,
                      m_folder.filePath(fileSystemName(m_names.recoveryIndex())),
                      {FailureArg::name(m_names.fileName())});
    std::vector<Rebuilt> rebuilt = piecesToRebuild(m_folder, m_names, checked);
    if (rebuilt.empty())
        return {};
    checkRoom(m_folder, m_names, m_list.pieces.size(), qint64(rebuilt.size()));

    PrivateFolder work(m_folder);
    QStringList arguments{QStringLiteral("repair"), QStringLiteral("--"),
                          fromFileSystemName(*recoveryFile)};
    arguments << linkInputs(m_folder, work.folder(), m_names, m_list, rebuilt);
    const Par2Program::Outcome outcome = Par2Program::run(
        arguments, work.folder().pathForChild(), m_folder.filePath(*recoveryFile),
        Par2Progress(Par2Progress::Work::Repair, m_list.pieces.size(), progress), keepGoing);
    if (outcome.exitCode != 0)
        throw whyNotRebuilt(outcome, m_folder.filePath(*recoveryFile), m_names,
                            m_list.pieces.size(), rebuilt);
    checkRebuilt(work.folder(), m_folder, m_list, rebuilt, keepGoing);

    Placement placement(m_folder, work, rebuilt);
    QStringList names;
    for (Rebuilt &piece : rebuilt) {
        if (!keepGoing())
            throw Failure::stopped();
        placement.place(piece);
        names << m_names.piece(piece.piece);
    }
    m_folder.sync();
    placement.done();
    return names;
}
