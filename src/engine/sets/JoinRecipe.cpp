#include "sets/JoinRecipe.h"

#include "sets/RestoreScriptReader.h"

#include "Failure.h"
#include "OutputFolder.h"
#include "names/OutputNames.h"
#include "names/PosixRestoreScript.h"

#include "SourceFile.h"
#include <QDir>

#include <QFileInfo>
#include <QList>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <optional>
#include <utility>

namespace {

// It names and sizes every piece, with its digest: a million pieces take 100 MB.
constexpr qint64 kLargestPosixScript = qint64(256) << 20;

// The manifest of the file at path where it is a restore script for macOS and Linux of ours
// for names; what cannot be read is no script of ours.
std::optional<PosixRestoreScript::Manifest> manifestAt(const SourceFile &file,
                                                       const OutputNames &names) {
    return PosixRestoreScript::manifestOf(file.readAll(kLargestPosixScript), names);
}

std::optional<PosixRestoreScript::Manifest>
manifestAt(const QString &path, const OutputNames &names, const FileSystem &files) {
    try {
        return manifestAt(SourceFile(path, files), names);
    } catch (const Failure &) {
        return std::nullopt;
    }
}

void readPosixScriptBeside(const OutputFolder &folder, const OutputNames &names,
                           JoinRecipe &recipe) {
    const QByteArray name = fileSystemName(names.posixScript());
    if (folder.facts(name).kind == FileKind::Missing)
        return;
    recipe.posixScript = folder.filePath(name);
    try {
        recipe.manifest = manifestAt(SourceFile(folder, name), names);
    } catch (const Failure &) { // a link, a FIFO, one we may not read: not ours
    }
}

// Whether manifest gives the pieces list gives.
bool agrees(const PosixRestoreScript::Manifest &manifest, const ChecksumList &list) {
    if (manifest.pieceDigests.isEmpty())
        return manifest.pieceLengths.size() == list.pieces.size();
    return manifest.pieceDigests == list.pieces && manifest.wholeDigest == list.whole;
}

// name.1 or name.sha256: the restore script beside it, when there is one, says how many pieces
// there are. Without it the pieces run up to the first number that does not exist, and a piece
// found past that number means the missing one is not the end but a gap.
// A list, read later, gives the count itself (countPieces false).
JoinRecipe recipeStandingFor(const QString &path, const QString &fileName, bool countPieces,
                             const FileSystem &files) {
    const QString folderPath = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    const OutputNames names(fileName);
    const OutputFolder folder(folderPath, files);
    JoinRecipe recipe = recipeBeside(folder, names);
    recipe.chosen = path;
    if (!recipe.script.isEmpty() || !countPieces)
        return recipe;
    QByteArray name;
    do {
        names.setPieceOnDisk(name, ++recipe.pieceCount);
    } while (folder.facts(name).kind != FileKind::Missing);
    --recipe.pieceCount;
    if (recipe.pieceCount == 0)
        throw Failure::fromSystemError(folder.filePath(names.pieceOnDisk(1)), ENOENT);
    if (const std::optional<QString> beyond = pieceBeyond(folder, names, recipe.pieceCount))
        throw Failure(Failure::Code::MissingThoughLaterThere, folder.filePath(name),
                      {FailureArg::name(*beyond)});
    return recipe;
}

} // namespace

JoinRecipe recipeBeside(const OutputFolder &folder, const OutputNames &names) {
    JoinRecipe recipe;
    if (folder.facts(names.scriptOnDisk()).kind != FileKind::Missing) {
        recipe = readRestoreScript(folder.filePath(names.scriptOnDisk()), folder.files());
        if (recipe.destination != names.fileName())
            throw Failure(Failure::Code::ScriptRestoresOther, recipe.script,
                          {FailureArg::name(names.piece(1)), FailureArg::name(recipe.destination),
                           FailureArg::name(names.fileName())});
    }
    readPosixScriptBeside(folder, names, recipe);
    if (recipe.script.isEmpty() && recipe.manifest) {
        recipe.script = recipe.posixScript;
        recipe.pieceCount = recipe.manifest->pieceLengths.size();
    }
    recipe.folder = QDir::toNativeSeparators(folder.path());
    recipe.destination = names.fileName();
    return recipe;
}

std::optional<QString> pieceBeyond(const OutputFolder &folder, const OutputNames &names,
                                   qint64 count) {
    std::optional<OutputNames::Entry> lowest;
    folder.forEachEntryName([&](const QByteArray &entry) {
        const std::optional<OutputNames::Entry> output =
            OutputNames::parse(fromFileSystemName(entry));
        if (output && output->kind == OutputNames::Kind::Piece &&
            output->fileName == names.fileName() && output->piece > count &&
            (!lowest || output->piece < lowest->piece))
            lowest = output;
    });
    if (!lowest)
        return std::nullopt;
    return names.piece(lowest->piece);
}

ChecksumList checksumListFor(const OutputFolder &folder, JoinRecipe &recipe,
                             const std::function<bool()> &keepGoing) {
    const OutputNames names(recipe.destination);
    ChecksumList list = readChecksumList(folder, names, keepGoing);
    if (list.path.isEmpty())
        list = manifestList(recipe);
    if (list.path.isEmpty())
        return list;
    const qint64 listed = list.pieces.size();
    const QString listName = QFileInfo(list.path).fileName();
    if (!recipe.script.isEmpty() && recipe.pieceCount != listed)
        throw Failure(Failure::Code::ScriptDisagreesWithList, recipe.folder,
                      {FailureArg::name(QFileInfo(recipe.script).fileName()),
                       FailureArg::count(recipe.pieceCount), FailureArg::name(listName),
                       FailureArg::count(listed)});
    if (const std::optional<QString> beyond = pieceBeyond(folder, names, listed))
        throw Failure(Failure::Code::ListOmitsPieceBeside, list.path,
                      {FailureArg::count(listed), FailureArg::name(*beyond)});
    recipe.pieceCount = listed;
    return list;
}

JoinRecipe joinRecipeFor(const QString &path, const FileSystem &files) {
    const QString name = QFileInfo(path).fileName();
    if (name.endsWith(QStringLiteral(".1")) && name.size() > 2)
        return recipeStandingFor(path, name.chopped(2), /*countPieces=*/true, files);
    const QString listSuffix = QStringLiteral(".sha256");
    if (name.endsWith(listSuffix, Qt::CaseInsensitive) && name.size() > listSuffix.size()) {
        if (factsAtPath(path, files).kind == FileKind::Missing)
            throw Failure::fromSystemError(path, ENOENT);
        return recipeStandingFor(path, name.chopped(listSuffix.size()), /*countPieces=*/false,
                                 files);
    }
    if (name.endsWith(QStringLiteral(".sh")) && name.size() > 3) {
        if (factsAtPath(path, files).kind == FileKind::Missing)
            throw Failure::fromSystemError(path, ENOENT);
        if (!manifestAt(path, OutputNames(name.chopped(3)), files))
            throw Failure(Failure::Code::PosixScriptNotOurs, path,
                          {FailureArg::name(name.chopped(3))});
        return recipeStandingFor(path, name.chopped(3), /*countPieces=*/true, files);
    }
    static const QRegularExpression laterPiece(QStringLiteral("\\.[0-9]+$"));
    if (laterPiece.match(name).hasMatch())
        throw Failure(Failure::Code::ChosenLaterPiece, path);
    JoinRecipe recipe = readRestoreScript(path, files);
    recipe.chosen = path;
    readPosixScriptBeside(OutputFolder(recipe.folder, files), OutputNames(recipe.destination),
                          recipe);
    return recipe;
}

ChecksumList manifestList(const JoinRecipe &recipe) {
    ChecksumList list;
    if (recipe.manifest && !recipe.manifest->pieceDigests.isEmpty()) {
        list.path = recipe.posixScript;
        list.whole = recipe.manifest->wholeDigest;
        list.pieces = recipe.manifest->pieceDigests;
    }
    return list;
}

std::optional<Failure> posixScriptFault(const JoinRecipe &recipe, const ChecksumList &list) {
    if (recipe.posixScript.isEmpty() || list.path == recipe.posixScript)
        return std::nullopt;
    if (!recipe.manifest)
        return Failure(Failure::Code::PosixScriptNotOurs, recipe.posixScript,
                       {FailureArg::name(recipe.destination)});
    if (!list.path.isEmpty() && !agrees(*recipe.manifest, list))
        return Failure(Failure::Code::PosixScriptDisagreesWithList, recipe.posixScript,
                       {FailureArg::name(QFileInfo(list.path).fileName())});
    return std::nullopt;
}
