#include "UncachedWriter.h"

#include "FileHandle.h"

UncachedWriter::UncachedWriter(const FileHandle &file)
    : m_file(file)
    , m_bypass(file) {}

void UncachedWriter::write(const char *data, qint64 size) {
    while (size > 0) {
        qint64 written = -1;
        if (const qint64 blocks = m_bypass.fits(data, size, m_written); blocks > 0) {
            written = m_bypass.transfer(
                [&] { return qint64(m_file.files().write(m_file.fd(), data, size_t(blocks))); });
        }
        // The rest of a block, a file system that wants another alignment, or what stored nothing
        // past the cache, where the system names the reason should it store nothing there too.
        if (written <= 0) {
            m_bypass.end();
            m_file.write(data, size);
            written = size;
        }
        data += written;
        size -= written;
        m_written += written;
    }
}
