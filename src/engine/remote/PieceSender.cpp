#include "remote/PieceSender.h"

#include "Failure.h"
#include "SourceFile.h"
#include "remote/RemoteSplitPlan.h"
#include "run/RunProgress.h"

#include <algorithm>
#include <cstring>

namespace {

// Bounded, so that progress is told and a stop is seen between chunks.
constexpr qint64 kSendChunkBytes = qint64(8) << 20;
constexpr qint64 kSpareBytes = DigestPipeline::kBufferBytes;

// Reads count bytes of the file, fewer only at its end.
qint64 readAll(RcloneDownload &download, char *buffer, qint64 count,
               const RcloneDownload::KeepGoing &keepGoing) {
    qint64 got = 0;
    while (got < count) {
        const qint64 read = download.read(buffer + got, count - got, keepGoing);
        if (read == 0)
            break;
        got += read;
    }
    return got;
}

} // namespace

PieceSender::PieceSender(const RemoteSplitPlan &plan, const RemotePlannedFile &file,
                         QHash<qint64, Rclone::Entry> standing, const SourceFile &source,
                         ProgressSink &progress, const StopRequest &stop, SentPieces &sent)
    : m_plan(plan)
    , m_file(file)
    , m_standing(std::move(standing))
    , m_source(source)
    , m_progress(progress)
    , m_stop(stop)
    , m_sent(sent)
    , m_keepGoing([&stop] { return !stop.requested(); }) {
    if (const auto algorithm = plan.folder.hashAlgorithm();
        algorithm && *algorithm != Digest::Algorithm::Sha256)
        m_remoteDigest.emplace(*algorithm);
}

PieceSender::~PieceSender() {
    const auto always = [] { return true; };
    try {
        // A piece that was all handed on, or is being moved, is whole: it goes to its place,
        // stop or not.
        endUpload(/*waiting=*/true, always);
        finishMove(always);
    } catch (...) { // its upload stays in m_notInPlace, and goes
    }
    std::vector<Rclone::Pending<void>> removals;
    for (const QString &name : std::as_const(m_notInPlace)) {
        try {
            removals.push_back(Rclone::remove(m_plan.folder.daemon(), m_plan.folder.at(name)));
        } catch (...) { // what cannot be removed stays, under its hidden name
        }
    }
    for (const Rclone::Pending<void> &removal : removals) {
        try {
            removal(always);
        } catch (...) { // an upload that never began left nothing to remove
        }
    }
}

void PieceSender::send() {
    for (qint64 piece = 1; piece <= m_file.pieces; ++piece) {
        if (isSent(piece)) {
            sendPiece(piece, /*alreadyHashed=*/false);
            continue;
        }
        if (keepsStanding(piece)) {
            ++m_sent.kept;
            continue;
        }
        // Another split's piece: ours to replace only where our list or script names it.
        if (piece > m_file.piecesNamed)
            throw Failure(Failure::Code::RemotePieceDiffers,
                          m_plan.folder.at(m_standing.value(piece).name).text(),
                          {FailureArg::name(m_file.names.fileName())});
        sendPiece(piece, /*alreadyHashed=*/true);
    }
    checkSourceHeldStill();
    m_sent.digests = std::move(m_digests.pieceDigests());
    m_sent.wholeDigest = m_digests.wholeDigest();
    if (m_plan.folder.hashType() == u"sha256")
        m_sent.digests.forEach(
            [this](QByteArrayView digest) { m_sent.remoteHashes << digest.toByteArray(); });
}

void PieceSender::putLastInPlace() {
    endUpload(/*waiting=*/true, m_keepGoing);
    finishMove(m_keepGoing);
}

bool PieceSender::isSent(qint64 piece) const {
    return !m_plan.resume || !m_standing.contains(piece);
}

bool PieceSender::keepsStanding(qint64 piece) {
    endUpload(/*waiting=*/true, m_keepGoing);
    const Rclone::Entry there = m_standing.value(piece);
    const qint64 length = m_file.pieceLengthOf(piece);
    bool same = there.size == length;
    std::unique_ptr<RcloneDownload> readBack;
    // Where the remote keeps no hash Tessary computes, its bytes are read back and compared.
    if (same && there.hash.isEmpty())
        readBack = m_plan.folder.daemon().download(there.name, m_plan.folder.at(there.name).text());
    same = feed(piece, /*alreadyHashed=*/false, nullptr, readBack.get()) && same;
    const QByteArray remoteHash = remoteHashOf(piece);
    if (same && readBack) {
        char beyond = 0;
        same = readBack->read(&beyond, 1, m_keepGoing) == 0;
    } else if (same) {
        same = remoteHash == there.hash;
    }
    if (same) {
        m_sent.lengths << length;
        if (m_remoteDigest)
            m_sent.remoteHashes << remoteHash;
    }
    return same;
}

PieceSender::Upload PieceSender::startUpload(qint64 piece) {
    const QString name = m_plan.folder.uploadName(m_file.names.piece(piece));
    m_notInPlace << name;
    return {piece,
            name,
            Rclone::upload(m_plan.folder.daemon(), m_plan.folder.at(name),
                           m_file.pieceLengthOf(piece),
                           m_plan.folder.at(m_file.names.piece(piece))),
            {}};
}

void PieceSender::sendPiece(qint64 piece, bool alreadyHashed) {
    Upload upload = startUpload(piece);
    feed(piece, alreadyHashed, upload.transfer.get(), nullptr);
    upload.remoteHash = remoteHashOf(piece);
    upload.transfer->endInput();
    // The one before had this piece's time to end.
    endUpload(/*waiting=*/true, m_keepGoing);
    m_sent.lengths << m_file.pieceLengthOf(piece);
    if (m_remoteDigest)
        m_sent.remoteHashes << upload.remoteHash;
    m_ending = std::move(upload);
}

void PieceSender::endUpload(bool waiting, const RcloneUpload::KeepGoing &keepGoing) {
    if (!m_ending || (!waiting && !m_ending->transfer->hasEnded()))
        return;
    const Upload upload = std::move(*m_ending);
    m_ending.reset();
    upload.transfer->finish(keepGoing);
    if (m_plan.folder.movesIntoPlace()) {
        finishMove(keepGoing);
        // Only what stood there when it was checked, and is replaced, is replaced.
        m_move = Move{upload.name,
                      Rclone::move(m_plan.folder.daemon(), m_plan.folder.at(upload.name),
                                   m_plan.folder.at(m_file.names.piece(upload.piece)),
                                   m_standing.contains(upload.piece) ? Rclone::Replacing::Allowed
                                                                     : Rclone::Replacing::Never)};
    } else {
        m_notInPlace.removeOne(upload.name);
        ++m_sent.sent;
    }
}

bool PieceSender::feed(qint64 piece, bool alreadyHashed, RcloneUpload *upload,
                       RcloneDownload *comparedWith) {
    const qint64 length = m_file.pieceLengthOf(piece);
    const qint64 offset = (piece - 1) * m_file.pieceLength;
    if ((alreadyHashed || comparedWith) && !m_spare)
        m_spare = std::make_unique_for_overwrite<char[]>(kSpareBytes);
    bool same = true;
    qint64 done = 0;
    do {
        if (m_stop.requested())
            throw Failure::stopped();
        char *buffer = alreadyHashed ? m_spare.get() : m_digests.nextBuffer();
        const qint64 room = alreadyHashed ? kSpareBytes : m_digests.room();
        const qint64 asked = std::min({length - done, room, kSendChunkBytes});
        if (m_source.readFully(buffer, asked, offset + done) != asked)
            throw Failure(Failure::Code::ChangedWhileSplit, m_source.path());
        if (m_remoteDigest)
            m_remoteDigest->add(buffer, asked);
        if (!alreadyHashed) {
            m_digests.hash(asked, done + asked == length);
            m_progress.bytesCopied(asked);
        }
        if (upload)
            upload->write(buffer, asked, m_keepGoing);
        endUpload(/*waiting=*/false, m_keepGoing);
        if (comparedWith && same) {
            // Bytes read back go to the spare buffer; the source's are then in the pipeline's.
            // A cut is told as a failure; a shorter file is no failure.
            const qint64 got = readAll(*comparedWith, m_spare.get(), asked, m_keepGoing);
            same = got == asked && std::memcmp(m_spare.get(), buffer, size_t(asked)) == 0;
        }
        done += asked;
    } while (done < length);
    return same;
}

QByteArray PieceSender::remoteHashOf(qint64 piece) {
    if (m_remoteDigest)
        return m_remoteDigest->hexDigest();
    if (m_plan.folder.hashType() == u"sha256")
        return m_digests.pieceDigests().at(piece - 1);
    return {};
}

void PieceSender::finishMove(const RcloneUpload::KeepGoing &keepGoing) {
    if (!m_move)
        return;
    const Move move = std::move(*m_move);
    m_move.reset();
    move.done(keepGoing);
    m_notInPlace.removeOne(move.from);
    ++m_sent.sent;
}

void PieceSender::checkSourceHeldStill() const {
    char beyond = 0;
    if (m_source.readAt(&beyond, 1, m_file.bytes) != 0 ||
        !m_source.currentFacts().unchangedSince(m_file.source))
        throw Failure(Failure::Code::ChangedWhileSplit, m_source.path());
}
