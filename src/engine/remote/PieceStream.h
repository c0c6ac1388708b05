#pragma once

#include "RcloneDownload.h"

#include <QtGlobal>

#include <functional>
#include <memory>

class DigestPipeline;
class ProgressSink;
class StopRequest;
struct RemoteSet;

// The pieces of a set on a remote read in order into a digest pipeline, each by a download of
// its own from rclone's daemon, the next one asked for while one is read.
class PieceStream {
public:
    PieceStream(const RemoteSet &set, DigestPipeline &digests, ProgressSink &progress,
                const StopRequest &stop);
    ~PieceStream();
    PieceStream(const PieceStream &) = delete;
    PieceStream &operator=(const PieceStream &) = delete;

    // Reads piece (from 1), which stands there, to its end into the pipeline, handing each
    // chunk to written as well, where there is one. Throws where its download fails, where it
    // holds other than the bytes the listing gave (CutShortWhileJoined, LongerThanExpected),
    // and Stopped on a stop.
    void read(qint64 piece, const std::function<void(const char *bytes, qint64 size)> &written);

private:
    std::unique_ptr<RcloneDownload> downloadOf(qint64 piece) const;

    const RemoteSet &m_set;
    DigestPipeline &m_digests;
    ProgressSink &m_progress;
    const StopRequest &m_stop;
    const RcloneDownload::KeepGoing m_keepGoing;
    qint64 m_nextPiece = 0;
    std::unique_ptr<RcloneDownload> m_next;
};
