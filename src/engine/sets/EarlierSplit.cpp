#include "sets/EarlierSplit.h"

#include "Failure.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "checksums/FileSha256.h"
#include "names/OutputKinds.h"
#include "run/Work.h"
#include "sets/JoinRecipe.h"

#include <algorithm>

namespace {

// Far beyond what a split writes beside the pieces of a million.
constexpr qint64 kLargestOwnFile = qint64(256) << 20;

// A file read to find out whether it is ours: a stop ends the check, any other failure only says
// that it is not.
template <typename Read> bool ownUnlessStopped(const Read &read) {
    try {
        return read();
    } catch (const Failure &failure) {
        if (failure.kind() == Failure::Kind::Stopped)
            throw;
        return false;
    }
}

} // namespace

EarlierSplit::EarlierSplit(const OutputFolder &folder, const OutputNames &names, const Work &work)
    : m_folder(folder)
    , m_names(names)
    , m_work(work) {}

bool EarlierSplit::isOwn(const QByteArray &name, OutputNames::Kind kind) {
    if (const auto known = m_own.constFind(name); known != m_own.cend())
        return *known;
    // A piece has no form of its own to tell; a recovery file is told by the list.
    const OutputKind &output = outputKind(kind);
    const bool own = output.isOwn && ownUnlessStopped([&] {
                         const SourceFile file(m_folder, name);
                         m_work.progress.checkStarted(fromFileSystemName(name), file.facts().size);
                         return output.isOwn(file.readAll(kLargestOwnFile,
                                                          [this](qint64 bytes) {
                                                              m_work.progress.bytesCopied(bytes);
                                                              return m_work.keepGoing();
                                                          }),
                                             m_names);
                     });
    m_own.insert(name, own);
    return own;
}

bool EarlierSplit::isOwnRegularFile(const QByteArray &name, OutputNames::Kind kind) {
    return m_folder.facts(name).kind == FileKind::Regular && isOwn(name, kind);
}

qint64 EarlierSplit::piecesNamed() {
    if (m_piecesNamed)
        return *m_piecesNamed;
    qint64 named = 0;
    ownUnlessStopped([&] {
        if (isOwnRegularFile(m_names.scriptOnDisk(), OutputNames::Kind::Script))
            named = recipeBeside(m_folder, m_names).pieceCount;
        named = std::max(named, ownList().pieces.size());
        return true;
    });
    m_piecesNamed = named;
    return named;
}

const ChecksumList &EarlierSplit::ownList() {
    if (m_list)
        return *m_list;
    m_list.emplace();
    ownUnlessStopped([&] {
        // A list whose pieces changed since names nothing.
        if (isOwnRegularFile(m_names.checksumsOnDisk(), OutputNames::Kind::Checksums))
            *m_list = readChecksumList(m_folder, m_names, [this] { return m_work.keepGoing(); });
        return true;
    });
    return *m_list;
}

bool EarlierSplit::isListedRecoveryFile(const QByteArray &name) {
    if (const auto known = m_listedRecovery.constFind(name); known != m_listedRecovery.cend())
        return *known;
    const QList<ChecksumList::Listed> &listed = ownList().recovery;
    const QString text = fromFileSystemName(name);
    const auto line =
        std::find_if(listed.cbegin(), listed.cend(),
                     [&](const ChecksumList::Listed &file) { return file.name == text; });
    // A file of the user's may well start as PAR2's do; only the bytes the list holds are ours.
    const bool own =
        line != listed.cend() && ownUnlessStopped([&] {
            const qint64 bytes = m_folder.facts(name).size;
            m_work.progress.checkStarted(text, bytes);
            return sha256Of(
                       m_folder, name, [this] { return m_work.keepGoing(); },
                       [this](qint64 read) { m_work.progress.bytesCopied(read); }) == line->digest;
        });
    m_listedRecovery.insert(name, own);
    return own;
}
