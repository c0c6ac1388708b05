#include "join/JoinPlanner.h"
#include "join/JoinSharing.h"
#include "join/JoinText.h"

#include "Leftovers.h"
#include "NameFolding.h"
#include "OutputFolder.h"
#include "OutputLock.h"
#include "names/OutputNames.h"
#include "recovery/RecoveryCheck.h"
#include "run/Saturating.h"
#include "run/Work.h"
#include "words/ByteCounts.h"
#include "words/MessageText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// Every piece must be there, and be a file of its own that can be read: a link could make any
// file on the machine a piece, and a file under two piece names would be joined twice. A piece
// that is missing where recovery files may rebuild it is only noted.
void examinePieces(JoinPlan &plan, bool mayMend) {
    plan.pieces.clear();
    plan.pieceLengths.clear();
    plan.totalBytes = 0;
    const OutputNames names(plan.recipe.destination);
    const bool withScript = !plan.recipe.script.isEmpty();
    const FileIdentity script =
        withScript
            ? plan.folder
                  ->factsFollowingLinks(fileSystemName(QFileInfo(plan.recipe.script).fileName()))
                  .identity
            : FileIdentity();
    QHash<FileIdentity, qint64> pieceByIdentity;
    QByteArray name;
    for (qint64 piece = 1; piece <= plan.recipe.pieceCount; ++piece) {
        names.setPieceOnDisk(name, piece);
        const QString path = plan.folder->filePath(name);
        const FileFacts facts = plan.folder->facts(name);
        if (facts.kind == FileKind::Missing && mayMend) {
            if (!plan.mendable)
                plan.mendable = Failure(Failure::Code::PieceMissing, path);
            plan.pieceLengths.append(0);
            plan.pieces.append(facts);
            continue;
        }
        if (facts.kind == FileKind::Missing)
            throw Failure(Failure::Code::PieceMissing, path);
        if (facts.kind == FileKind::SymbolicLink)
            throw Failure(Failure::Code::PieceIsLink, path);
        if (facts.kind != FileKind::Regular)
            throw Failure(Failure::Code::PieceNotAFile, path,
                          {FailureArg::fileKind(int(facts.kind))});
        if (const auto other = pieceByIdentity.constFind(facts.identity);
            other != pieceByIdentity.cend())
            throw Failure(Failure::Code::PieceSameAs, path,
                          {FailureArg::name(names.piece(*other))});
        if (withScript && facts.identity == script)
            throw Failure(Failure::Code::PieceIsTheScript, path);
        pieceByIdentity.insert(facts.identity, piece);
        if (piece == 1)
            plan.permissions = facts.permissions;
        plan.pieceLengths.append(facts.size);
        plan.pieces.append(facts);
        plan.totalBytes = saturatingAdd(plan.totalBytes, facts.size);
    }
}

// Without a script nothing tells whether the last piece found is the last piece there was;
// posixScriptNotOurs: one stands beside the pieces, but no help, as it may have been changed
// or be another's.
void askWithoutScript(const JoinPlan &plan, bool posixScriptNotOurs, Questions &questions) {
    if (!plan.recipe.script.isEmpty() || !plan.checksums.path.isEmpty())
        return;
    const OutputNames names(plan.recipe.destination);
    const QString found = piecesText(plan.recipe.pieceCount), bytes = bytesText(plan.totalBytes);
    const QString question =
        posixScriptNotOurs
            ? JoinText::tr("%1 stands beside %2, but it is not a restore script that Tessary "
                           "wrote, so Tessary cannot tell whether all pieces are here. It found "
                           "%3 (%4). Join them into %5?")
                  .arg(printable(names.posixScript()), printable(names.piece(1)), found, bytes,
                       printable(names.fileName()))
            : JoinText::tr("No restore script stands beside %1, so Tessary cannot tell whether "
                           "all pieces are here. It found %2 (%3). Join them into %4?")
                  .arg(printable(names.piece(1)), found, bytes, printable(names.fileName()));
    if (!questions.ask({question}))
        throw Failure(Failure::Code::NoScriptDeclined, plan.folder->filePath(names.pieceOnDisk(1)));
}

// The first piece whose length no split gives (all but the last as long as the first, the
// last no longer), or 0.
qint64 oddPiece(const QList<qint64> &lengths) {
    for (qsizetype i = 1; i < lengths.size(); ++i) {
        const bool last = i + 1 == lengths.size();
        if (last ? lengths[i] > lengths[0] : lengths[i] != lengths[0])
            return i + 1;
    }
    return 0;
}

// Where recovery files stand beside the pieces, a piece of odd length is damaged rather than
// a question: they can rebuild it; one that is still so once they did is no piece of the set.
// Without them, the user is asked (never, while questions is none).
void askAboutOddPiece(JoinPlan &plan, Questions *questions, bool mayMend) {
    const qint64 odd = plan.mendable ? 0 : oddPiece(plan.pieceLengths);
    if (odd == 0)
        return;
    const OutputNames names(plan.recipe.destination);
    const QString oddPath = native(plan.folder->filePath(names.pieceOnDisk(odd)));
    const QString firstPath = native(plan.folder->filePath(names.pieceOnDisk(1)));
    const Failure damaged(Failure::Code::OddPieceDamaged, oddPath,
                          {FailureArg::count(plan.pieceLengths[odd - 1]),
                           FailureArg::name(names.piece(1)),
                           FailureArg::count(plan.pieceLengths[0])});
    if (mayMend) {
        plan.mendable = damaged;
        return;
    }
    if (!questions)
        throw damaged;
    if (!questions->ask(
            {JoinText::tr("%1 holds %2, but %3 holds %4. In a split every piece but the last "
                          "holds as many bytes as the first, and the last no more: a piece may "
                          "be damaged, or come from another split.\n\nJoin the pieces all the "
                          "same?")
                 .arg(printable(oddPath), byteCountText(plan.pieceLengths[odd - 1]),
                      printable(firstPath), byteCountText(plan.pieceLengths[0]))}))
        throw Failure(Failure::Code::OddPieceDeclined, oddPath);
}

void checkDestination(JoinPlan &plan, Questions &questions) {
    const OutputFolder &folder = *plan.folder;
    const QByteArray destination = fileSystemName(plan.recipe.destination);
    const QString destinationPath = native(folder.filePath(destination));
    const QString chosen = QFileInfo(plan.recipe.chosen).fileName();
    const auto refuseAsScript = [&] {
        throw Failure(Failure::Code::DestinationIsScript, destinationPath);
    };
    // As Windows, FAT and exFAT compare names: F.BAT and f.bat are one file there, whatever
    // this volume's inode numbers say.
    if (foldedName(plan.recipe.destination) == foldedName(chosen))
        refuseAsScript();
    const FileFacts existing = folder.facts(destination);
    if (existing.kind == FileKind::Regular &&
        std::any_of(plan.pieces.cbegin(), plan.pieces.cend(),
                    [&](const FileFacts &piece) { return piece.identity == existing.identity; }))
        throw Failure(Failure::Code::DestinationIsPiece, destinationPath);
    if (existing.kind == FileKind::Regular &&
        folder.factsFollowingLinks(fileSystemName(chosen)).identity == existing.identity)
        refuseAsScript();
    askToReplace(plan, questions, existing);
}

} // namespace

void askToReplace(JoinPlan &plan, Questions &questions, const FileFacts &existing) {
    if (existing.kind == FileKind::Missing)
        return;
    const QString destinationPath =
        native(plan.folder->filePath(fileSystemName(plan.recipe.destination)));
    if (existing.kind != FileKind::Regular && existing.kind != FileKind::SymbolicLink)
        throw Failure(Failure::Code::DestinationNotAFile, destinationPath,
                      {FailureArg::fileKind(int(existing.kind))});
    if (!questions.ask({JoinText::tr("%1 exists already.\n\nReplace it with the file joined "
                                     "from its pieces?")
                            .arg(printable(destinationPath))}))
        throw Failure(Failure::Code::ReplaceDeclined, destinationPath);
    plan.replacing = true;
    if (existing.kind == FileKind::Regular)
        plan.permissions = existing.permissions;
}

void checkRoom(const JoinPlan &plan) {
    const FolderCapacity capacity = plan.folder->capacity();
    // A joined file of the pieces' own blocks takes none of its own, but for the file system's
    // records of them, which it finds room for or refuses.
    const qint64 needed = plan.sharesBlocks ? 0 : plan.totalBytes;
    if (needed > capacity.freeBytes)
        throw Failure(Failure::Code::JoinNeedsSpace, native(plan.recipe.folder),
                      {FailureArg::bytes(needed), FailureArg::bytes(capacity.freeBytes)});
    if (capacity.freeFiles < 1)
        throw Failure(Failure::Code::JoinNeedsFile, native(plan.recipe.folder));
}

JoinPlan::JoinPlan() = default;
JoinPlan::JoinPlan(JoinPlan &&) noexcept = default;
JoinPlan &JoinPlan::operator=(JoinPlan &&) noexcept = default;
JoinPlan::~JoinPlan() = default;

JoinPlan planJoin(const QString &chosen, const Work &work) {
    JoinPlan plan;
    plan.recipe = joinRecipeFor(chosen, work.files);
    plan.folder = std::make_unique<OutputFolder>(plan.recipe.folder, work.files);
    const OutputNames names(plan.recipe.destination);
    // A split of the file into this folder, or another join of it, would change the pieces
    // while they are read, or make the file at once.
    plan.lock = OutputLock::take(*plan.folder, names.fileName());
    if (!plan.lock)
        throw Failure(Failure::Code::AnotherRunJoins,
                      native(plan.folder->filePath(fileSystemName(names.fileName()))),
                      {FailureArg::name(names.fileName())});
    // Without a script, the list says how many pieces there are, as the script would.
    plan.checksums = checksumListFor(*plan.folder, plan.recipe, [&] { return work.keepGoing(); });
    // One of the two was changed since the split; which one, the join cannot tell.
    const std::optional<Failure> scriptFault = posixScriptFault(plan.recipe, plan.checksums);
    if (scriptFault && scriptFault->code() == Failure::Code::PosixScriptDisagreesWithList)
        throw *scriptFault;
    const bool mayMend = recoveryFileBeside(*plan.folder, plan.checksums).has_value();
    examinePieces(plan, mayMend);
    askWithoutScript(plan, scriptFault.has_value(), work.questions);
    askAboutOddPiece(plan, &work.questions, mayMend);
    checkDestination(plan, work.questions);
    // What a join killed on a file system without unnamed files left would take room.
    removeLeftovers(*plan.folder);
    plan.sharesBlocks = joinSharesBlocks(plan);
    checkRoom(plan);
    return plan;
}

void replanPieces(JoinPlan &plan) {
    plan.mendable.reset();
    examinePieces(plan, /*mayMend=*/false);
    askAboutOddPiece(plan, nullptr, /*mayMend=*/false);
    plan.sharesBlocks = joinSharesBlocks(plan);
    checkRoom(plan);
}
