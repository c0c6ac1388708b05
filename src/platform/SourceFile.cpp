#include "SourceFile.h"
#include "PlatformText.h"

#include "Failure.h"
#include "OutputFolder.h"
#include "PluralCount.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

SourceFile::SourceFile(QString path)
    : m_path(std::move(path)) {
    // Without O_NONBLOCK, opening a FIFO would wait for a writer for ever.
    m_handle = FileHandle(
        ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK),
        m_path);
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
        throw Failure(
            Failure::Kind::Unusable, m_path,
            PlatformText::tr("it is %1, not a regular file").arg(describeKind(m_facts.kind)));
}

qint64 SourceFile::readAt(char *buffer, qint64 size, qint64 offset) const {
    for (;;) {
        const ssize_t got = ::pread(m_handle.fd(), buffer, size_t(size), off_t(offset));
        if (got >= 0)
            return got;
        if (errno != EINTR)
            throw Failure::fromSystemError(m_path, errno);
    }
}

QByteArray SourceFile::readAll(qint64 atMost) const {
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
        const qint64 read = readAt(bytes.data() + got, bytes.size() - got, got);
        if (read == 0)
            break;
        got += read;
    }
    if (got > atMost)
        throw Failure(Failure::Kind::TooLarge, m_path,
                      PlatformText::tr("it holds more than the %1 bytes expected", nullptr,
                                       pluralCount(atMost))
                          .arg(atMost));
    bytes.truncate(got);
    return bytes;
}
