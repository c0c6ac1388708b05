#include "remote/RemoteSet.h"

#include "Failure.h"
#include "names/PosixRestoreScript.h"
#include "remote/ChunkerView.h"
#include "run/Saturating.h"
#include "run/Work.h"
#include "sets/JoinRecipe.h"
#include "sets/RestoreScriptReader.h"

namespace {

// Far beyond the list and the script of any split, as on a local disk.
constexpr qint64 kLargestRemoteList = qint64(128) << 20;
constexpr qint64 kLargestRemoteScript = qint64(64) << 20;
// It names and sizes every piece, with its digest.
constexpr qint64 kLargestRemotePosixScript = qint64(256) << 20;

// The file the chosen one belongs to: a list, a script or a first piece stands for its set.
QString fileNameOf(const RemotePath &chosen) {
    const std::optional<OutputNames::Entry> entry = OutputNames::parse(chosen.fileName());
    if (entry && entry->kind == OutputNames::Kind::Piece && entry->piece > 1)
        throw Failure(Failure::Code::ChosenLaterPiece, chosen.text());
    if (!entry || entry->kind == OutputNames::Kind::Recovery)
        throw Failure(Failure::Code::ChooseListScriptOrFirst, chosen.text());
    return entry->fileName;
}

std::optional<Rclone::Entry> fileAt(const RemoteFolder &folder, const QString &name) {
    const std::optional<Rclone::Entry> there = folder.entry(name);
    return there && !there->isFolder ? there : std::nullopt;
}

// The list, read in full where it is no larger than any list of a split.
ChecksumList listOf(const RemoteFolder &folder, const OutputNames &names,
                    const Rclone::Pending<QByteArray> &bytes, const Rclone::Entry &there,
                    const std::function<bool()> &keepGoing) {
    const RemotePath path = folder.at(there.name);
    if (there.size > kLargestRemoteList)
        throw Failure(Failure::Code::ListTooLarge, path.text());
    return checksumListOf(bytes(keepGoing), path.text(), names);
}

} // namespace

qint64 RemoteSet::totalBytes() const {
    qint64 total = 0;
    for (const std::optional<Rclone::Entry> &piece : pieces) {
        if (piece)
            total = saturatingAdd(total, std::max<qint64>(piece->size, 0));
    }
    return total;
}

QString RemoteSet::listName() const {
    const std::optional<RemotePath> path = RemotePath::parse(list.path);
    return path ? path->fileName() : list.path;
}

RemoteSet readRemoteSet(const RemotePath &chosen, const Work &work) {
    const std::function<bool()> keepGoing = [&work] { return work.keepGoing(); };
    if (!Rclone::isAvailable())
        throw Rclone::absent();
    const OutputNames names(fileNameOf(chosen));
    const RemotePath folderPath = chosen.parent();
    auto daemon = std::make_shared<const RcloneDaemon>(keepGoing, folderPath.text());
    const FoundRemoteFolder found = findRemoteFolder(*daemon, folderPath, keepGoing);
    if (!found.entries)
        throw Failure(Failure::Code::NotOnRemote, folderPath.text());
    RemoteSet set{RemoteFolder(std::move(daemon), folderPath, found.features, *found.entries),
                  names,
                  {},
                  {},
                  {},
                  {},
                  {}};
    const RemoteFolder &folder = set.folder;
    if (!fileAt(folder, chosen.fileName()))
        throw Failure(Failure::Code::NotOnRemote, chosen.text());
    const std::optional<Rclone::Entry> list = fileAt(folder, names.checksums());
    const std::optional<Rclone::Entry> script = fileAt(folder, names.script());
    const std::optional<Rclone::Entry> posixScript = fileAt(folder, names.posixScript());
    // Read at once, from the daemon, beside the chunker's view of the folder.
    const auto contents = [&folder](const Rclone::Entry &there) {
        return Rclone::contents(folder.daemon(), folder.at(there.name));
    };
    const Rclone::Pending<QByteArray> listBytes = list ? contents(*list) : nullptr;
    const Rclone::Pending<QByteArray> scriptBytes =
        script && script->size <= kLargestRemoteScript ? contents(*script) : nullptr;
    const Rclone::Pending<QByteArray> posixScriptBytes =
        posixScript && posixScript->size <= kLargestRemotePosixScript ? contents(*posixScript)
                                                                      : nullptr;
    const auto chunkerSizes = ChunkerView::sizes(folder.daemon(), folderPath);
    // The restore script for macOS and Linux, where it is ours, stands for a list that is not
    // there, and is held to one that is.
    JoinRecipe recipe;
    recipe.destination = names.fileName();
    if (posixScript) {
        recipe.posixScript = folder.at(posixScript->name).text();
        try {
            if (posixScriptBytes)
                recipe.manifest =
                    PosixRestoreScript::manifestOf(posixScriptBytes(keepGoing), names);
        } catch (const Failure &failure) { // one that cannot be read is none to trust
            if (failure.kind() == Failure::Kind::Stopped)
                throw;
        }
    }
    set.list = list ? listOf(folder, names, listBytes, *list, keepGoing) : manifestList(recipe);
    set.posixScriptFault = posixScriptFault(recipe, set.list);
    if (set.posixScriptFault && (chosen.fileName() == names.posixScript() || !list))
        throw *set.posixScriptFault;
    if (set.list.path.isEmpty())
        throw Failure(Failure::Code::NoListToCheck, chosen.text(),
                      {FailureArg::name(names.checksums())});
    set.chunkerSizes = chunkerSizes(keepGoing);
    const qint64 listed = set.list.pieces.size();
    if (script) {
        set.script = folder.at(script->name).text();
        if (!scriptBytes)
            throw Failure(Failure::Code::ScriptTooLarge, set.script);
        const JoinRecipe windows = restoreScriptOf(set.script, scriptBytes(keepGoing));
        if (windows.destination != names.fileName())
            throw Failure(Failure::Code::ScriptRestoresOther, set.script,
                          {FailureArg::name(names.piece(1)), FailureArg::name(windows.destination),
                           FailureArg::name(names.fileName())});
        if (windows.pieceCount != listed)
            throw Failure(Failure::Code::ScriptDisagreesWithList, folderPath.text(),
                          {FailureArg::name(script->name), FailureArg::count(windows.pieceCount),
                           FailureArg::name(set.listName()), FailureArg::count(listed)});
    }
    for (const Rclone::Entry &entry : folder.entries()) {
        const std::optional<OutputNames::Entry> output = OutputNames::parse(entry.name);
        if (output && output->kind == OutputNames::Kind::Piece &&
            output->fileName == names.fileName() && output->piece > listed)
            throw Failure(Failure::Code::ListOmitsPieceBeside, set.list.path,
                          {FailureArg::count(listed), FailureArg::name(entry.name)});
    }
    for (qint64 piece = 1; piece <= listed; ++piece)
        set.pieces << folder.entry(names.piece(piece));
    return set;
}
