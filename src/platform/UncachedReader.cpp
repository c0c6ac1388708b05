#include "UncachedReader.h"

#include "FileHandle.h"

UncachedReader::UncachedReader(const FileHandle &file)
    : m_file(file)
    , m_bypass(file) {}

qint64 UncachedReader::readFully(char *buffer, qint64 size, qint64 offset) {
    qint64 got = 0;
    while (got < size) {
        char *at = buffer + got;
        qint64 read = -1;
        if (const qint64 blocks = m_bypass.fits(at, size - got, offset + got); blocks > 0) {
            read = m_bypass.transfer([&] {
                return qint64(
                    m_file.files().readAt(m_file.fd(), at, size_t(blocks), off_t(offset + got)));
            });
        }
        // The rest of a block, or a file system that wants another alignment.
        if (read < 0) {
            m_bypass.end();
            read = m_file.readAt(at, size - got, offset + got);
        }
        if (read == 0)
            break;
        got += read;
    }
    return got;
}
