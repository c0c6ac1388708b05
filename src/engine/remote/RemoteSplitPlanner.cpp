#include "remote/RemoteSplitPlanner.h"

#include "Failure.h"
#include "Rclone.h"
#include "names/OutputKinds.h"
#include "remote/RemoteOwnOutputs.h"
#include "run/Saturating.h"
#include "run/Work.h"
#include "sizes/PieceLength.h"
#include "split/QueuedSources.h"
#include "split/Refusals.h"

#include <QHash>

#include <algorithm>
#include <utility>

namespace {

// What the planned files' outputs take, summed for the check of the room there is.
struct RemoteTotals {
    qint64 bytes = 0;
    qint64 replaced = 0; // what the files they replace take now
};

class RemotePlanner {
public:
    RemotePlanner(const RemoteSplitRequest &request, const Work &work)
        : m_request(request)
        , m_work(work)
        , m_keepGoing([&work] { return work.keepGoing(); })
        , m_besidePieces(request.split.besidePieces()) {}

    RemoteSplitPlan plan();

private:
    std::optional<RemotePlannedFile> planFile(const RemoteFolder &folder,
                                              const QueuedSource &source,
                                              const RemoteOwnOutputs &own, RemoteTotals &totals);
    void checkBeside(const RemoteFolder &folder, RemotePlannedFile &file,
                     const RemoteOwnOutputs &own, RemoteTotals &totals, qsizetype index);
    void checkPieces(const RemoteFolder &folder, RemotePlannedFile &file, RemoteTotals &totals,
                     qsizetype index);
    // What an upload cut before it was whole left at the hidden names of the file's outputs.
    static void findCutUploads(const RemoteFolder &folder, RemotePlannedFile &file,
                               const QStringList &outputs);
    // Refuses a folder or a case twin at name, an output of kind; false where it refused.
    bool mayStandAt(const RemoteFolder &folder, const RemotePlannedFile &file,
                    OutputNames::Kind kind, const QString &name, qsizetype index);
    void refuse(qsizetype index, Failure refusal) { m_refusals.add(index, std::move(refusal)); }

    const RemoteSplitRequest &m_request;
    const Work &m_work;
    const std::function<bool()> m_keepGoing;
    const QList<OutputNames::Kind> m_besidePieces;
    Refusals m_refusals;
};

RemoteSplitPlan RemotePlanner::plan() {
    if (!Rclone::isAvailable())
        throw Rclone::absent();
    // par2 makes them of pieces on the local disk, and there are none.
    if (m_request.split.recovery.amount > 0)
        throw Failure(Failure::Code::RecoveryNotToRemote);
    const std::optional<RemotePath> path = RemotePath::parse(m_request.split.outputFolder);
    if (!path)
        throw Failure(Failure::Code::NotOnRemote, m_request.split.outputFolder);
    auto daemon = std::make_shared<const RcloneDaemon>(m_keepGoing, path->text());
    const FoundRemoteFolder found = findRemoteFolder(*daemon, *path, m_keepGoing);
    const qsizetype folderIndex = m_request.split.queue.size();
    if (!found.entries && !m_request.makeFolder)
        refuse(folderIndex, Failure(Failure::Code::RemoteFolderMissing, path->text()));
    RemoteSplitPlan plan{.folder = RemoteFolder(std::move(daemon), *path, found.features,
                                                found.entries.value_or(QList<Rclone::Entry>())),
                         .makeFolder = !found.entries,
                         .resume = m_request.resume,
                         .files = {},
                         .besidePieces = m_besidePieces};
    QList<QueuedSource> sources =
        queuedSources(m_request.split.queue, m_work.files, m_refusals.adder());
    // The same file queued again would send the same bytes again: split once.
    sources.removeIf([](const QueuedSource &source) { return source.repeats >= 0; });
    QList<OutputNames> names;
    for (const QueuedSource &source : std::as_const(sources))
        names << OutputNames(m_request.split.queue[source.index].name);
    const QList<RemoteOwnOutputs> own = remoteOwnOutputs(plan.folder, names, m_keepGoing);
    RemoteTotals totals;
    for (qsizetype i = 0; i < sources.size(); ++i) {
        if (std::optional<RemotePlannedFile> file =
                planFile(plan.folder, sources[i], own[i], totals))
            plan.files << std::move(*file);
    }
    const qint64 needed = totals.bytes - totals.replaced;
    if (found.freeBytes && needed > *found.freeBytes)
        refuse(folderIndex,
               Failure(Failure::Code::SplitNeedsSpace, path->text(),
                       {FailureArg::bytes(needed), FailureArg::bytes(*found.freeBytes)}));
    if (!m_refusals.isEmpty())
        m_refusals.throwAll();
    return plan;
}

std::optional<RemotePlannedFile> RemotePlanner::planFile(const RemoteFolder &folder,
                                                         const QueuedSource &source,
                                                         const RemoteOwnOutputs &own,
                                                         RemoteTotals &totals) {
    const QueuedFile &queued = m_request.split.queue[source.index];
    const std::optional<qint64> pieceLength =
        pieceLengthOf(m_request.split, source, m_refusals.adder());
    if (!pieceLength)
        return std::nullopt;
    RemotePlannedFile file{.queued = queued,
                           .names = OutputNames(queued.name),
                           .source = source.facts,
                           .bytes = source.facts.size,
                           .pieceLength = *pieceLength,
                           .pieces = pieceCountFor(source.facts.size, *pieceLength),
                           .piecesNamed = own.piecesNamed,
                           .standing = {},
                           .ownListStands = false,
                           .removedBefore = {},
                           .removedAfter = {}};
    const qsizetype refusalsBefore = m_refusals.size();
    checkBeside(folder, file, own, totals, source.index);
    checkPieces(folder, file, totals, source.index);
    if (m_refusals.size() > refusalsBefore)
        return std::nullopt;
    QStringList outputs;
    for (qint64 piece = 1; piece <= file.pieces; ++piece)
        outputs << file.names.piece(piece);
    for (const OutputNames::Kind kind : m_besidePieces)
        outputs << file.names.beside(kind);
    findCutUploads(folder, file, outputs);
    totals.bytes = saturatingAdd(totals.bytes, file.bytes);
    for (const OutputNames::Kind kind : m_besidePieces)
        totals.bytes =
            saturatingAdd(totals.bytes, outputKind(kind).bytesAtMost(file.names, file.pieces, 0));
    return file;
}

bool RemotePlanner::mayStandAt(const RemoteFolder &folder, const RemotePlannedFile &file,
                               OutputNames::Kind kind, const QString &name, qsizetype index) {
    const QString role = outputKind(kind).translatedRole();
    const QString path = folder.at(name).text();
    if (const std::optional<Rclone::Entry> twin = folder.caseTwin(name)) {
        refuse(index, Failure(Failure::Code::OutputCaseTwin, file.queued.path,
                              {FailureArg::text(role), FailureArg::path(path),
                               FailureArg::path(folder.at(twin->name).text())}));
        return false;
    }
    const std::optional<Rclone::Entry> there = folder.entry(name);
    if (there && there->isFolder) {
        refuse(index, Failure(Failure::Code::OutputNotRegular, file.queued.path,
                              {FailureArg::text(role), FailureArg::path(path),
                               FailureArg::fileKind(int(FileKind::Folder))}));
        return false;
    }
    return true;
}

void RemotePlanner::checkBeside(const RemoteFolder &folder, RemotePlannedFile &file,
                                const RemoteOwnOutputs &own, RemoteTotals &totals,
                                qsizetype index) {
    for (const OutputKind &output : kOutputKinds) {
        if (!output.isBesidePieces())
            continue;
        const QString name = file.names.beside(output.kind);
        const bool written = m_besidePieces.contains(output.kind);
        if (written && !mayStandAt(folder, file, output.kind, name, index))
            continue;
        const std::optional<Rclone::Entry> there = folder.entry(name);
        if (!there || there->isFolder)
            continue;
        if (!own.own.contains(output.kind)) {
            // What this split does not write stands as it is; what it writes, only where ours.
            if (written)
                refuse(index, Failure(Failure::Code::OutputNotOurs, file.queued.path,
                                      {FailureArg::text(output.translatedRole()),
                                       FailureArg::path(folder.at(there->name).text()),
                                       FailureArg::name(file.names.fileName())}));
            continue;
        }
        totals.replaced = saturatingAdd(totals.replaced, std::max<qint64>(there->size, 0));
        if (output.kind != OutputNames::Kind::Checksums)
            file.removedBefore << there->name;
        else if (written)
            file.ownListStands = true;
        else
            file.removedAfter << there->name;
    }
}

void RemotePlanner::checkPieces(const RemoteFolder &folder, RemotePlannedFile &file,
                                RemoteTotals &totals, qsizetype index) {
    const auto notNamed = [&](const Rclone::Entry &there) {
        refuse(index, Failure(Failure::Code::RemotePieceNotNamed, file.queued.path,
                              {FailureArg::path(folder.at(there.name).text()),
                               FailureArg::name(file.names.fileName())}));
    };
    for (qint64 piece = 1; piece <= file.pieces; ++piece) {
        const QString name = file.names.piece(piece);
        if (!mayStandAt(folder, file, OutputNames::Kind::Piece, name, index))
            continue;
        const std::optional<Rclone::Entry> there = folder.entry(name);
        if (!there)
            continue;
        // A resume compares it with the piece as it comes: kept where it holds the same bytes.
        if (piece > file.piecesNamed && !m_request.resume) {
            notNamed(*there);
            continue;
        }
        file.standing.insert(piece, *there);
        totals.replaced = saturatingAdd(totals.replaced, std::max<qint64>(there->size, 0));
    }
    // An earlier, longer split left pieces past the new last one: the unbroken run of them goes,
    // or a join from the first piece would take them in.
    for (qint64 piece = file.pieces + 1;; ++piece) {
        const QString name = file.names.piece(piece);
        const std::optional<Rclone::Entry> there = folder.entry(name);
        if (!there)
            break;
        if (!mayStandAt(folder, file, OutputNames::Kind::Piece, name, index))
            continue;
        if (piece > file.piecesNamed) {
            notNamed(*there);
            break;
        }
        file.removedAfter << there->name;
    }
}

void RemotePlanner::findCutUploads(const RemoteFolder &folder, RemotePlannedFile &file,
                                   const QStringList &outputs) {
    for (const QString &output : outputs) {
        const QString upload = folder.uploadName(output);
        if (upload != output && folder.entry(upload))
            file.removedBefore << upload;
    }
}

} // namespace

qint64 RemoteSplitPlan::totalBytes() const {
    qint64 total = 0;
    for (const RemotePlannedFile &file : files)
        total = saturatingAdd(total, file.bytes);
    return total;
}

RemoteSplitPlan planRemoteSplit(const RemoteSplitRequest &request, const Work &work) {
    return RemotePlanner(request, work).plan();
}
