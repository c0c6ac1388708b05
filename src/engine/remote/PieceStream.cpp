#include "remote/PieceStream.h"

#include "DigestPipeline.h"
#include "Failure.h"
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

std::unique_ptr<RcloneDownload> PieceStream::downloadOf(qint64 piece) const {
    const QString &name = m_set.pieces[piece - 1]->name;
    return m_set.folder.daemon().download(name, m_set.folder.at(name).text());
}

void PieceStream::read(qint64 piece,
                       const std::function<void(const char *bytes, qint64 size)> &written) {
    std::unique_ptr<RcloneDownload> download =
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
        if (got == 0 && done < length)
            throw Failure(Failure::Code::CutShortWhileJoined, download->concerning());
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
}
