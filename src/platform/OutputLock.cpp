#include "OutputLock.h"

#include "Failure.h"
#include "NameFolding.h"
#include "OutputFolder.h"
#include "Sha256.h"

#include <utility>

OutputLock::OutputLock(const OutputFolder &folder, QByteArray name, FileHandle file,
                       FileIdentity identity)
    : m_folder(&folder)
    , m_name(std::move(name))
    , m_file(std::move(file))
    , m_identity(identity) {}

QByteArray OutputLock::fileName(const QString &key) {
    Sha256 hash;
    const QByteArray folded = foldedName(key).toUtf8();
    hash.add(folded.constData(), folded.size());
    return ".tessary-" + hash.hexDigest().left(16) + ".lock";
}

std::optional<OutputLock> OutputLock::take(const OutputFolder &folder, const QString &key) {
    const QByteArray name = fileName(key);
    // A lock's file that its holder removed between our opening it and locking it is no lock:
    // the name is opened again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        FileHandle file;
        try {
            file = folder.openLockFile(name);
        } catch (const Failure &failure) {
            throw folder.ownFileFailure(failure);
        }
        const FileFacts facts = file.facts();
        if (facts.kind != FileKind::Regular)
            throw Failure(Failure::Code::NotRegularFile, folder.filePath(name));
        if (!file.tryLockExclusively())
            return std::nullopt;
        const FileIdentity identity = facts.identity;
        if (folder.facts(name).identity == identity)
            return OutputLock(folder, name, std::move(file), identity);
    }
    throw Failure(Failure::Code::LockKeepsBeingReplaced, folder.filePath(name));
}

OutputLock::OutputLock(OutputLock &&other) noexcept
    : m_folder(std::exchange(other.m_folder, nullptr))
    , m_name(std::move(other.m_name))
    , m_file(std::move(other.m_file))
    , m_identity(other.m_identity) {}

OutputLock &OutputLock::operator=(OutputLock &&other) noexcept {
    if (this != &other) {
        release();
        m_folder = std::exchange(other.m_folder, nullptr);
        m_name = std::move(other.m_name);
        m_file = std::move(other.m_file);
        m_identity = other.m_identity;
    }
    return *this;
}

OutputLock::~OutputLock() {
    release();
}

void OutputLock::release() noexcept {
    const OutputFolder *folder = std::exchange(m_folder, nullptr);
    if (!folder)
        return;
    try {
        // Only while it is still the lock's own file, empty: anything else there is not ours.
        const FileFacts facts = folder->facts(m_name);
        if (facts.identity == m_identity && facts.size == 0 && facts.linkCount == 1)
            folder->remove(m_name);
    } catch (const Failure &) { // it stays, unlocked: the next run takes it over
    }
    m_file.close();
}
