#include "remote/RemoteSet.h"

#include "Failure.h"
#include "remote/ChunkerView.h"
#include "run/Saturating.h"
#include "run/Work.h"
#include "sets/RestoreScriptReader.h"

namespace {

// Far beyond the list and the script of any split, as on a local disk.
constexpr qint64 kLargestRemoteList = qint64(128) << 20;
constexpr qint64 kLargestRemoteScript = qint64(64) << 20;

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
    auto daemon = std::make_shared<const RcloneDaemon>(keepGoing);
    const FoundRemoteFolder found = findRemoteFolder(*daemon, folderPath, keepGoing);
    if (!found.entries)
        throw Failure(Failure::Code::NotOnRemote, folderPath.text());
    RemoteSet set{RemoteFolder(std::move(daemon), folderPath, found.features, *found.entries),
                  names,
                  {},
                  {},
                  {},
                  {}};
    const RemoteFolder &folder = set.folder;
    if (!fileAt(folder, chosen.fileName()))
        throw Failure(Failure::Code::NotOnRemote, chosen.text());
    const std::optional<Rclone::Entry> list = fileAt(folder, names.checksums());
    if (!list)
        throw Failure(Failure::Code::NoListToCheck, chosen.text(),
                      {FailureArg::name(names.checksums())});
    const std::optional<Rclone::Entry> script = fileAt(folder, names.script());
    // Read at once, beside the chunker's view of the folder.
    const Rclone::Pending<QByteArray> listBytes = Rclone::contents(folder.at(list->name));
    const Rclone::Pending<QByteArray> scriptBytes = script && script->size <= kLargestRemoteScript
                                                        ? Rclone::contents(folder.at(script->name))
                                                        : nullptr;
    const auto chunkerSizes = ChunkerView::sizes(folder.daemon(), folderPath);
    set.list = listOf(folder, names, listBytes, *list, keepGoing);
    set.chunkerSizes = chunkerSizes(keepGoing);
    const qint64 listed = set.list.pieces.size();
    if (script) {
        set.script = folder.at(script->name).text();
        if (!scriptBytes)
            throw Failure(Failure::Code::ScriptTooLarge, set.script);
        const JoinRecipe recipe = restoreScriptOf(set.script, scriptBytes(keepGoing));
        if (recipe.destination != names.fileName())
            throw Failure(Failure::Code::ScriptRestoresOther, set.script,
                          {FailureArg::name(names.piece(1)), FailureArg::name(recipe.destination),
                           FailureArg::name(names.fileName())});
        if (recipe.pieceCount != listed)
            throw Failure(Failure::Code::ScriptDisagreesWithList, folderPath.text(),
                          {FailureArg::name(script->name), FailureArg::count(recipe.pieceCount),
                           FailureArg::name(list->name), FailureArg::count(listed)});
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
