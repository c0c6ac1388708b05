#include "UncachedReader.h"

#include "FileHandle.h"

#include <cerrno>
#include <cstdint>

namespace {

bool wholeBlock(qint64 value) {
    return value % UncachedReader::kBlock == 0;
}

} // namespace

UncachedReader::UncachedReader(const FileHandle &file)
    : m_file(file)
    , m_pastCache(file.files().readPastCache(file.fd(), true) == 0) {}

UncachedReader::~UncachedReader() {
    readThroughCache();
}

void UncachedReader::readThroughCache() {
    // Should clearing it fail, as it never does where setting it worked, a read of part of a
    // block fails with the system's reason: never a wrong byte.
    if (m_pastCache)
        m_file.files().readPastCache(m_file.fd(), false);
    m_pastCache = false;
}

qint64 UncachedReader::readFully(char *buffer, qint64 size, qint64 offset) {
    qint64 got = 0;
    while (got < size) {
        char *at = buffer + got;
        qint64 read = -1;
        if (m_pastCache && size - got >= kBlock && wholeBlock(offset + got) &&
            wholeBlock(qint64(reinterpret_cast<std::uintptr_t>(at))))
            read = readPastCache(at, size - got, offset + got);
        if (read < 0) {
            readThroughCache();
            read = m_file.readAt(at, size - got, offset + got);
        }
        if (read == 0)
            break;
        got += read;
    }
    return got;
}

qint64 UncachedReader::readPastCache(char *buffer, qint64 size, qint64 offset) const {
    for (;;) {
        const ssize_t got =
            m_file.files().readAt(m_file.fd(), buffer, size_t(size - size % kBlock), off_t(offset));
        if (got >= 0)
            return got;
        // The alignment this file system asks for is another.
        if (errno == EINVAL)
            return -1;
        if (errno != EINTR)
            m_file.fail(errno);
    }
}
