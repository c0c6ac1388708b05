#include "remote/RemoteSplitRun.h"

#include "Failure.h"
#include "SourceFile.h"
#include "names/OutputKinds.h"
#include "remote/ChunkerView.h"
#include "remote/RemoteSplitPlan.h"
#include "run/RunProgress.h"
#include "run/Work.h"

#include <memory>
#include <vector>

namespace {

// The digest of text of the remote's kind; empty where it keeps none.
QByteArray remoteHashOfText(const RemoteFolder &folder, const QByteArray &text) {
    const std::optional<Digest::Algorithm> algorithm = folder.hashAlgorithm();
    if (!algorithm)
        return {};
    Digest digest(*algorithm);
    digest.add(text.constData(), text.size());
    return digest.hexDigest();
}

} // namespace

RemoteSplitRun::RemoteSplitRun(const RemoteSplitPlan &plan, const Work &work)
    : m_plan(plan)
    , m_progress(work.progress)
    , m_stop(work.stop)
    , m_files(work.files)
    , m_keepGoing([&work] { return work.keepGoing(); }) {}

RemoteSplitResult RemoteSplitRun::run() noexcept {
    RemoteSplitResult result;
    try {
        m_progress.runStarted(m_plan.files.size(), m_plan.totalBytes());
        if (m_plan.makeFolder)
            Rclone::makeFolder(m_plan.folder.daemon(), m_plan.folder.path())(m_keepGoing);
        for (qint64 i = 0; i < m_plan.files.size(); ++i) {
            if (m_stop.requested())
                throw Failure::stopped();
            result.stoppedFile = i;
            splitFile(i, result.files.emplace_back());
            result.stoppedFile = -1;
            ++result.filesDone;
        }
        m_progress.flushStarted();
        const auto chunkerSizes = ChunkerView::sizes(m_plan.folder.daemon(), m_plan.folder.path());
        confirm();
        const QHash<QString, qint64> sizes = chunkerSizes(m_keepGoing);
        for (const RemotePlannedFile &file : m_plan.files) {
            if (const auto size = sizes.constFind(file.names.fileName()); size != sizes.cend())
                result.chunkerSizes.insert(file.names.fileName(), *size);
        }
    } catch (...) {
        result.end(Failure::current());
    }
    return result;
}

void RemoteSplitRun::splitFile(qint64 index, SentPieces &sent) {
    const RemotePlannedFile &file = m_plan.files[index];
    m_progress.fileStarted(index, file.queued.name, file.bytes);
    // Only the file that was checked is split: not one put at its path since.
    const SourceFile source(file.queued.path, m_files);
    if (!source.facts().unchangedSince(file.source))
        throw Failure(Failure::Code::ChangedAfterCheck, file.queued.path);
    remove(file.removedBefore);
    PieceSender pieces(m_plan, file, standingOf(file), source, m_progress, m_stop, sent);
    pieces.send();
    for (qint64 piece = 1; piece <= file.pieces; ++piece)
        m_expected.append({file.names.piece(piece), sent.lengths.value(piece - 1),
                           sent.remoteHashes.value(piece - 1)});
    m_progress.fileFinishing(index);
    writeBeside(file, sent, [&pieces] { pieces.putLastInPlace(); });
    remove(file.removedAfter);
    m_progress.fileFinished(index);
}

QHash<qint64, Rclone::Entry> RemoteSplitRun::standingOf(const RemotePlannedFile &file) const {
    QHash<qint64, Rclone::Entry> standing = file.standing;
    if (!m_plan.resume || standing.isEmpty() || m_plan.folder.hashType().isEmpty())
        return standing;
    // The remote hashes what it holds: a piece need not be read back to be compared.
    RemoteFolder hashed = m_plan.folder;
    hashed.setEntries(Rclone::list(m_plan.folder.daemon(), m_plan.folder.path(),
                                   m_plan.folder.hashType())(m_keepGoing));
    for (auto piece = standing.begin(); piece != standing.end(); ++piece) {
        if (const std::optional<Rclone::Entry> there = hashed.entry(piece->name))
            *piece = *there;
    }
    return standing;
}

void RemoteSplitRun::writeBeside(const RemotePlannedFile &file, const SentPieces &sent,
                                 const std::function<void()> &piecesInPlace) {
    const bool listed = m_plan.writes(OutputNames::Kind::Checksums);
    const QByteArray noDigest;
    const PieceDigests noDigests;
    const QList<ListedFile> noRecovery;
    const PieceLengths lengths = PieceLengths::from(sent.lengths).value();
    const OutputContents contents{file.names, lengths, listed ? sent.wholeDigest : noDigest,
                                  listed ? sent.digests : noDigests, noRecovery};
    // All sent at once under names of their own, while the last piece goes to its place; then
    // put in place in the plan's order, the script for Windows last, so that a failure leaves
    // no script naming pieces that are not there.
    struct Text {
        QString name;
        QString upload;
        std::unique_ptr<RcloneUpload> transfer;
    };
    std::vector<Text> texts;
    const auto cleanUp = [&] {
        for (const Text &text : texts) {
            text.transfer->end(); // none goes on behind the removal
            if (text.upload != text.name)
                try {
                    Rclone::remove(m_plan.folder.daemon(),
                                   m_plan.folder.at(text.upload))([] { return true; });
                } catch (...) { // it stays under its hidden name
                }
        }
    };
    // Where an upload is in its place as soon as it is whole, the pieces are there first.
    const bool hidden = m_plan.folder.movesIntoPlace();
    try {
        if (!hidden)
            piecesInPlace();
        for (const OutputNames::Kind kind : m_plan.besidePieces) {
            const QByteArray bytes = outputKind(kind).text(contents);
            const QString name = file.names.beside(kind);
            const QString upload = m_plan.folder.uploadName(name);
            texts.push_back({name, upload,
                             Rclone::upload(m_plan.folder.daemon(), m_plan.folder.at(upload),
                                            bytes.size(), m_plan.folder.at(name))});
            texts.back().transfer->write(bytes.constData(), bytes.size(), m_keepGoing);
            m_expected.append({name, bytes.size(), remoteHashOfText(m_plan.folder, bytes)});
        }
        if (hidden)
            piecesInPlace();
        for (const Text &text : texts)
            text.transfer->finish(m_keepGoing);
        if (hidden) {
            // The others at once, then the script for Windows.
            std::vector<Rclone::Pending<void>> moves;
            for (const Text &text : texts) {
                if (text.name == file.names.script())
                    continue;
                moves.push_back(
                    Rclone::move(m_plan.folder.daemon(), m_plan.folder.at(text.upload),
                                 m_plan.folder.at(text.name),
                                 text.name == file.names.checksums() && file.ownListStands
                                     ? Rclone::Replacing::Allowed
                                     : Rclone::Replacing::Never));
            }
            for (const Rclone::Pending<void> &move : moves)
                move(m_keepGoing);
            if (m_plan.writes(OutputNames::Kind::Script))
                Rclone::move(m_plan.folder.daemon(),
                             m_plan.folder.at(m_plan.folder.uploadName(file.names.script())),
                             m_plan.folder.at(file.names.script()),
                             Rclone::Replacing::Never)(m_keepGoing);
        }
    } catch (...) {
        cleanUp();
        throw;
    }
}

void RemoteSplitRun::remove(const QStringList &names) const {
    std::vector<Rclone::Pending<void>> removals;
    for (const QString &name : names)
        removals.push_back(Rclone::remove(m_plan.folder.daemon(), m_plan.folder.at(name)));
    for (const Rclone::Pending<void> &removal : removals)
        removal(m_keepGoing);
}

void RemoteSplitRun::confirm() const {
    RemoteFolder listed = m_plan.folder;
    listed.setEntries(Rclone::list(m_plan.folder.daemon(), m_plan.folder.path(),
                                   m_plan.folder.hashType())(m_keepGoing));
    for (const Expected &output : m_expected) {
        const QString path = m_plan.folder.at(output.name).text();
        const QString upload = m_plan.folder.uploadName(output.name);
        // A move that would not replace what appeared at the name meanwhile left the upload.
        if (upload != output.name && listed.entry(upload)) {
            Rclone::remove(m_plan.folder.daemon(), m_plan.folder.at(upload))(m_keepGoing);
            throw Failure(Failure::Code::AppearedMeanwhile, path);
        }
        const std::optional<Rclone::Entry> there = listed.entry(output.name);
        if (!there || there->isFolder)
            throw Failure(Failure::Code::RemoteMissingAfterUpload, path);
        if (there->size >= 0 && there->size != output.size)
            throw Failure(Failure::Code::RemoteSizeNotAsSent, path,
                          {FailureArg::count(there->size), FailureArg::count(output.size)});
        if (!there->hash.isEmpty() && !output.hash.isEmpty() && there->hash != output.hash)
            throw Failure(Failure::Code::RemoteHashNotAsSent, path,
                          {FailureArg::text(m_plan.folder.hashType())});
    }
}
