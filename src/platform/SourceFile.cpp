#include "SourceFile.h"

#include "Failure.h"
#include "OutputFolder.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

SourceFile::SourceFile(QString path, const FileSystem &files)
    : m_path(std::move(path)) {
    // Without O_NONBLOCK, opening a FIFO would wait for a writer for ever.
    m_handle = FileHandle(files.open(QFile::encodeName(m_path).constData(),
                                     O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0),
                          m_path, files);
    if (m_handle.fd() < 0)
        throw Failure::fromSystemError(m_path, errno);
    takeFacts();
}

SourceFile::SourceFile(const OutputFolder &folder, const QByteArray &name)
    : m_path(folder.filePath(name))
    , m_handle(folder.openForReading(name)) {
    takeFacts();
}

FileFacts SourceFile::currentFacts() const {
    return m_handle.facts();
}

void SourceFile::takeFacts() {
    m_facts = currentFacts();
    if (m_facts.kind != FileKind::Regular)
        throw Failure(Failure::Code::NotRegularFileKind, m_path,
                      {FailureArg::fileKind(int(m_facts.kind))});
}

qint64 SourceFile::readAt(char *buffer, qint64 size, qint64 offset) const {
    return m_handle.readAt(buffer, size, offset);
}

qint64 SourceFile::readFully(char *buffer, qint64 size, qint64 offset) const {
    return m_handle.readFully(buffer, size, offset);
}

QByteArray SourceFile::readAll(qint64 atMost,
                               const std::function<bool(qint64 bytes)> &onRead) const {
    // Bounded, so that a long read tells how far it is and can be stopped.
    constexpr qint64 kChunkBytes = qint64(8) << 20;
    // Room for what the file reports, and one byte more to see whether it goes on.
    QByteArray bytes(std::min(std::max(m_facts.size + 1, qint64(4096)), atMost + 1),
                     Qt::Uninitialized);
    qint64 got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > atMost)
                break;
            bytes.resize(std::min(2 * got, atMost + 1));
        }
        const qint64 read =
            readAt(bytes.data() + got, std::min(bytes.size() - got, kChunkBytes), got);
        if (read == 0)
            break;
        got += read;
        if (onRead && !onRead(read))
            throw Failure::stopped();
    }
    if (got > atMost)
        throw Failure(Failure::Code::LongerThanExpected, m_path, {FailureArg::count(atMost)});
    bytes.truncate(got);
    return bytes;
}
