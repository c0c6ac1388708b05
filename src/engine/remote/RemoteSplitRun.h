#pragma once

#include "remote/PieceSender.h"
#include "run/RunResult.h"

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <vector>

class FileSystem;
class ProgressSink;
class StopRequest;
struct RemotePlannedFile;
struct RemoteSplitPlan;
struct Work;

struct RemoteSplitResult : SplitResult {
    std::vector<SentPieces> files; // of each file started, in queue order
    // The size that rclone's chunker reads each file done as, by name (ChunkerView); empty
    // where it could not be asked.
    QHash<QString, qint64> chunkerSizes;
};

// Splits every file of a plan onto the remote, in queue order: the pieces of a file (see
// PieceSender), then its checksum list and restore scripts, each sent under a name of its own
// and moved into place, the script for Windows last. Done means there: the run ends once a
// last listing of the folder shows every output at its size, and at its hash where the remote
// keeps one that Tessary computed from the same read. A stop or a failure leaves the pieces in
// place before it there, for a split taken up again with --resume, and nothing else: the piece
// under way is removed from the remote.
class RemoteSplitRun {
public:
    // Tells work's progress, looks at its stop, and opens the sources through its file system.
    RemoteSplitRun(const RemoteSplitPlan &plan, const Work &work);

    // Never throws: every failure, whatever its kind, ends the run with a result that names it.
    RemoteSplitResult run() noexcept;

private:
    // What one output is to be on the remote.
    struct Expected {
        QString name;
        qint64 size = 0;
        QByteArray hash; // of the remote's kind; empty where it keeps none
    };

    void splitFile(qint64 index, SentPieces &sent);
    // The pieces that stand at their names, with their hashes where a resume compares them.
    QHash<qint64, Rclone::Entry> standingOf(const RemotePlannedFile &file) const;
    // Sends the list and scripts; piecesInPlace waits for the pieces before any is put in
    // place.
    void writeBeside(const RemotePlannedFile &file, const SentPieces &sent,
                     const std::function<void()> &piecesInPlace);
    void remove(const QStringList &names) const;
    // Throws where the last listing does not show every output as it was sent.
    void confirm() const;

    const RemoteSplitPlan &m_plan;
    ProgressSink &m_progress;
    const StopRequest &m_stop;
    const FileSystem &m_files;
    const std::function<bool()> m_keepGoing;
    QList<Expected> m_expected;
};
