#pragma once

#include "Digest.h"
#include "DigestPipeline.h"
#include "Rclone.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QStringList>

#include <memory>
#include <optional>

class ProgressSink;
class SourceFile;
class StopRequest;
struct RemotePlannedFile;
struct RemoteSplitPlan;

// What one file's pieces came to on the remote, so far.
struct SentPieces {
    qint64 sent = 0; // pieces sent and in place
    qint64 kept = 0; // pieces of a split that was cut, kept as they stood
    QList<qint64> lengths;
    // Of each piece, the hash of the remote's kind (RemoteFolder::hashType()); empty where it
    // keeps none.
    QList<QByteArray> remoteHashes;
    PieceDigests digests; // SHA-256, of each piece, once all are sent
    QByteArray wholeDigest;

    qint64 inPlace() const { return sent + kept; }
};

// Sends one file's pieces to the remote, in order: each read once from the source, in bounded
// chunks between which progress is told and a stop looked for, hashed, and streamed to its
// upload name, then moved into place while the next one is sent (RemoteFolder::uploadName());
// each is handed to rclone's daemon (Rclone::upload), the next one while the one before ends,
// so that its end costs no time. On a resume,
// a piece that stands there already is kept where it holds the bytes of the source's piece, by
// the remote's hash where it keeps one and else by reading it back; one that does not is sent
// where an earlier split of ours names it, and refused where not.
class PieceSender {
public:
    // standing: the pieces that stood there, with their hashes where the remote keeps them.
    PieceSender(const RemoteSplitPlan &plan, const RemotePlannedFile &file,
                QHash<qint64, Rclone::Entry> standing, const SourceFile &source,
                ProgressSink &progress, const StopRequest &stop, SentPieces &sent);
    // Ends what is under way and removes from the remote every upload not in place.
    ~PieceSender();
    PieceSender(const PieceSender &) = delete;
    PieceSender &operator=(const PieceSender &) = delete;

    // Hands every piece on and fills in the digests, or throws the failure met (Stopped on a
    // stop), the pieces in place before it left there: a split taken up again with --resume
    // keeps them. The last piece may still be on its way, so that what follows it starts.
    void send();
    // Waits until the last piece is in place; throws as send() does.
    void putLastInPlace();

private:
    struct Upload {
        qint64 piece = 0;
        QString name; // where it goes until it is whole
        std::unique_ptr<RcloneUpload> transfer;
        QByteArray remoteHash; // of what it was given, of the remote's kind
    };
    struct Move {
        QString from;
        Rclone::Pending<void> done;
    };

    // Whether the piece standing at its name holds the bytes of the source's piece, which are
    // hashed on the way.
    bool keepsStanding(qint64 piece);
    void sendPiece(qint64 piece, bool alreadyHashed);
    Upload startUpload(qint64 piece);
    // The upload whose input is whole, once it has ended: its piece is then moved into place.
    // Without waiting, nothing where it has not ended yet.
    void endUpload(bool waiting, const RcloneUpload::KeepGoing &keepGoing);
    // Whether the next piece is sent rather than compared first.
    bool isSent(qint64 piece) const;
    // Reads the piece from the source and hands its bytes on: to the digests (unless they hashed
    // it already), to upload, and compared with what comparedWith reads; returns whether those
    // were the same.
    bool feed(qint64 piece, bool alreadyHashed, RcloneUpload *upload, RcloneDownload *comparedWith);
    void finishMove(const RcloneUpload::KeepGoing &keepGoing);
    // The hash of the remote's kind of the piece just fed, as it is computed.
    QByteArray remoteHashOf(qint64 piece);
    void checkSourceHeldStill() const;

    const RemoteSplitPlan &m_plan;
    const RemotePlannedFile &m_file;
    const QHash<qint64, Rclone::Entry> m_standing;
    const SourceFile &m_source;
    ProgressSink &m_progress;
    const StopRequest &m_stop;
    SentPieces &m_sent;
    const RcloneUpload::KeepGoing m_keepGoing;
    DigestPipeline m_digests;
    std::optional<Digest> m_remoteDigest; // where the remote's hash is no SHA-256
    std::unique_ptr<char[]> m_spare;      // for bytes read again, or read back
    std::optional<Upload> m_ending;       // given its piece, and ending while the next one is read
    std::optional<Move> m_move;
    QStringList m_notInPlace; // uploads made, or started, and not yet moved into place
};
