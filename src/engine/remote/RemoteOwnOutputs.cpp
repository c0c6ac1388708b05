#include "remote/RemoteOwnOutputs.h"

#include "names/OutputKinds.h"

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
    QList<RemoteOwnOutputs> outputs(names.size());
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
            if (!file)
                continue;
            RemoteOwnOutputs &own = outputs[read.file];
            own.own << read.kind;
            own.piecesNamed = std::max(own.piecesNamed, file->piecesNamed);
        }
    }
    return outputs;
}
