#include "remote/RemoteOwnOutputs.h"

#include "Failure.h"
#include "checksums/ChecksumList.h"
#include "names/OutputKinds.h"
#include "sets/RestoreScriptReader.h"

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

// How many pieces an own file of kind names: the list its lines, the script for Windows its
// copies; the script for macOS and Linux, which stands for the other, none of its own.
qint64 piecesNamedIn(OutputNames::Kind kind, const QByteArray &bytes, const QString &path,
                     const OutputNames &names) {
    try {
        if (kind == OutputNames::Kind::Checksums)
            return checksumListOf(bytes, path, names).pieces.size();
        if (kind == OutputNames::Kind::Script)
            return restoreScriptOf(path, bytes).pieceCount;
    } catch (const Failure &) { // what cannot be read names nothing
    }
    return 0;
}

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
            const OutputNames &of = names[read.file];
            if (!outputKind(read.kind).isOwn(bytes, of))
                continue;
            RemoteOwnOutputs &own = outputs[read.file];
            own.own << read.kind;
            own.piecesNamed =
                std::max(own.piecesNamed, piecesNamedIn(read.kind, bytes, read.path.text(), of));
        }
    }
    return outputs;
}
