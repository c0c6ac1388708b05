#include "TemporaryFile.h"

#include "Failure.h"
#include "Leftovers.h"
#include "OutputFolder.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

TemporaryFile::TemporaryFile(const OutputFolder &folder, QByteArray finalName)
    : m_folder(folder)
    , m_finalName(std::move(finalName)) {
    try {
        // Locked, so that removeLeftovers() of another process knows it is being written,
        // under a name, too, once it has one.
        m_file = m_folder.createUnnamed();
        if (m_file.fd() >= 0) {
            takeOver();
            return;
        }
        for (int attempt = 0;; ++attempt) {
            m_name = freshHiddenName();
            try {
                m_file = m_folder.createNew(m_name.constData());
                takeOver();
                return;
            } catch (const Failure &) {
                // Only a name that happens to be taken is worth another try.
                if (m_folder.facts(m_name).kind == FileKind::Missing || attempt == 10)
                    throw;
            }
        }
    } catch (const Failure &error) {
        m_name.clear();
        throw error.withPath(m_folder.filePath(m_finalName));
    }
}

void TemporaryFile::takeOver() {
    // Failures name the file it becomes, the only one the user knows.
    m_file = FileHandle(m_file.release(), m_folder.filePath(m_finalName), m_folder.files());
    m_file.tryLockExclusively();
    m_identity = m_file.facts().identity;
}

TemporaryFile::~TemporaryFile() {
    if (m_inPlace)
        return;
    m_file.close();
    if (m_name.isEmpty())
        return; // an unnamed file goes with its descriptor
    try {
        m_folder.remove(m_name);
    } catch (const Failure &) { // the file stays; nothing is to be done about it here
    }
}

void TemporaryFile::write(const char *data, qint64 size) {
    m_file.write(data, size);
    wrote(size);
}

void TemporaryFile::restrictPermissions(unsigned allowed) const {
    m_file.restrictPermissions(allowed);
}

void TemporaryFile::wrote(qint64 bytes) {
    // Measured on a 1 GiB join: a third less time, for pieces of 100 kB as of 100 MB.
    constexpr qint64 kWritebackStep = qint64(32) << 20;
    m_written += bytes;
    if (m_written - m_sentToDisk >= kWritebackStep) {
        m_file.startWriteback(m_sentToDisk, m_written - m_sentToDisk);
        m_sentToDisk = m_written;
    }
}

void TemporaryFile::flushToDisk() const {
    m_file.flushToDisk();
}

void TemporaryFile::putInPlace(OutputFolder::Replacing replacing) {
    if (m_name.isEmpty()) {
        // A name of its own first: a link cannot replace a file, a rename can.
        const QByteArray name = freshHiddenName();
        try {
            m_folder.link(m_file, name);
        } catch (const Failure &error) {
            throw error.withPath(m_folder.filePath(m_finalName));
        }
        m_name = name;
    }
    // The lock goes with the last descriptor: held through the rename, so that no sweep of
    // leftovers takes the finished file for one in between.
    const FileHandle lockHolder = m_file.duplicate();
    m_file.finish();
    m_folder.rename(m_name, m_finalName, replacing);
    m_inPlace = true;
}
