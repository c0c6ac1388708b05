#include "remote/PieceStream.h"

#include "DigestPipeline.h"
#include "Failure.h"
#include "Rclone.h"
#include "remote/RemoteSet.h"
#include "run/RunProgress.h"

#include <algorithm>

PieceStream::PieceStream(const RemoteSet &set, DigestPipeline &digests, ProgressSink &progress,
                         const StopRequest &stop)
    : m_set(set)
    , m_digests(digests)
    , m_progress(progress)
    , m_stop(stop)
    , m_keepGoing([&stop] { return !stop.requested(); }) {}

PieceStream::~PieceStream() = default;

std::unique_ptr<RcloneProcess> PieceStream::downloadOf(qint64 piece) const {
    return Rclone::download(m_set.folder.at(m_set.pieces[piece - 1]->name));
}

void PieceStream::read(qint64 piece,
                       const std::function<void(const char *bytes, qint64 size)> &written) {
    std::unique_ptr<RcloneProcess> download =
        m_next && m_nextPiece == piece ? std::move(m_next) : downloadOf(piece);
    m_next.reset();
    for (qint64 next = piece + 1; next <= m_set.pieces.size(); ++next) {
        if (m_set.pieces[next - 1] && !m_set.pieces[next - 1]->isFolder) {
            m_next = downloadOf(next);
            m_nextPiece = next;
            break;
        }
    }
    const qint64 length = m_set.pieces[piece - 1]->size;
    qint64 done = 0;
    do {
        if (m_stop.requested())
            throw Failure::stopped();
        char *buffer = m_digests.nextBuffer();
        const qint64 got =
            download->read(buffer, std::min(m_digests.room(), length - done), m_keepGoing);
        if (got == 0 && done < length) {
            download->finish(m_keepGoing); // a failure is told as it is
            throw Failure(Failure::Code::CutShortWhileJoined, download->concerning());
        }
        if (written)
            written(buffer, got);
        done += got;
        m_digests.hash(got, done == length);
        m_progress.bytesCopied(got);
    } while (done < length);
    char beyond = 0;
    if (download->read(&beyond, 1, m_keepGoing) != 0)
        throw Failure(Failure::Code::LongerThanExpected, download->concerning(),
                      {FailureArg::count(length)});
    download->finish(m_keepGoing);
}
