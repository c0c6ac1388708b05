#include "remote/RemoteOwnOutputs.h"

#include "names/OutputKinds.h"

#include <QHash>

#include <algorithm>

namespace {

// Far beyond what a split writes beside the pieces of a million, as on a local disk.
constexpr qint64 kLargestOwnOutput = qint64(256) << 20;
// Reads at once: each is a connection to the daemon of its own.
constexpr qsizetype kReadsAtOnce = 8;

struct BesideRead {
    qsizetype file;
    OutputNames::Kind kind;
    RemotePath path;
    Rclone::Pending<QByteArray> bytes;
};

} // namespace

QList<RemoteOwnOutputs> remoteOwnOutputs(const RemoteFolder &folder,
                                         const QList<OutputNames> &names,
                                         const std::function<bool()> &keepGoing) {
    // By file, what each of ours beside its pieces names.
    QList<QHash<OutputNames::Kind, qint64>> named(names.size());
    QList<BesideRead> reads;
    for (qsizetype i = 0; i < names.size(); ++i) {
        for (const OutputKind &output : kOutputKinds) {
            if (!output.isBesidePieces())
                continue;
            const std::optional<Rclone::Entry> there = folder.entry(names[i].beside(output.kind));
            if (there && !there->isFolder && there->size <= kLargestOwnOutput)
                reads.append({i, output.kind, folder.at(there->name), {}});
        }
    }
    for (qsizetype first = 0; first < reads.size(); first += kReadsAtOnce) {
        const qsizetype end = std::min(reads.size(), first + kReadsAtOnce);
        for (qsizetype r = first; r < end; ++r)
            reads[r].bytes = Rclone::contents(folder.daemon(), reads[r].path);
        for (qsizetype r = first; r < end; ++r) {
            const BesideRead &read = reads[r];
            const QByteArray bytes = read.bytes(keepGoing);
            const std::optional<OwnFile> file =
                outputKind(read.kind).ownIn(textSourceOf(bytes), names[read.file]);
            if (file)
                named[read.file].insert(read.kind, file->piecesNamed);
        }
    }
    QList<RemoteOwnOutputs> outputs(names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        // A list in the form sha256sum writes too may be the user's, of files that merely bear
        // pieces' names: here, where the pieces are not read back to prove it, it is ours only
        // where a restore script of ours names as many.
        const auto list = named[i].constFind(OutputNames::Kind::Checksums);
        if (list != named[i].cend() &&
            std::none_of(
                kRestoreScripts.cbegin(), kRestoreScripts.cend(),
                [&](OutputNames::Kind script) { return named[i].value(script, -1) == *list; }))
            named[i].erase(list);
        for (auto own = named[i].cbegin(); own != named[i].cend(); ++own) {
            outputs[i].own << own.key();
            outputs[i].piecesNamed = std::max(outputs[i].piecesNamed, own.value());
        }
    }
    return outputs;
}
