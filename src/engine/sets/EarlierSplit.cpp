#include "sets/EarlierSplit.h"

#include "DigestPipeline.h"
#include "Failure.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "checksums/FileSha256.h"
#include "names/OutputKinds.h"
#include "run/Work.h"

#include <algorithm>

namespace {

// Far beyond what a split writes beside the pieces of a million.
constexpr qint64 kLargestOwnFile = qint64(256) << 20;

// A file read to find out whether it is ours: a stop ends the check, any other failure only says
// that it is not.
template <typename Read> auto ownUnlessStopped(const Read &read) -> decltype(read()) {
    try {
        return read();
    } catch (const Failure &failure) {
        if (failure.kind() == Failure::Kind::Stopped)
            throw;
        return {};
    }
}

} // namespace

EarlierSplit::EarlierSplit(const OutputFolder &folder, const OutputNames &names, const Work &work)
    : m_folder(folder)
    , m_names(names)
    , m_work(work) {}

std::optional<OwnFile> EarlierSplit::readOwnFile(const QByteArray &name,
                                                 OutputNames::Kind kind) const {
    const SourceFile file(m_folder, name);
    if (file.facts().size > kLargestOwnFile)
        return std::nullopt;
    m_work.progress.checkStarted(fromFileSystemName(name), file.facts().size);
    // Read once to learn what it says and again to hold it to what a split writes: the
    // progress counts each byte once.
    const TextSource text = [&, counted = qint64(0)](char *into, qint64 size,
                                                     qint64 offset) mutable {
        // One that grows while it is read is not ours either.
        if (offset > kLargestOwnFile)
            throw Failure(Failure::Code::LongerThanExpected, file.path(),
                          {FailureArg::count(kLargestOwnFile)});
        const qint64 read = file.readAt(into, size, offset);
        if (offset + read > counted) {
            m_work.progress.bytesCopied(offset + read - counted);
            counted = offset + read;
        }
        if (!m_work.keepGoing())
            throw Failure::stopped();
        return read;
    };
    return outputKind(kind).ownIn(text, m_names);
}

const std::optional<OwnFile> &EarlierSplit::ownFile(const QByteArray &name,
                                                    OutputNames::Kind kind) {
    if (const auto known = m_own.constFind(name); known != m_own.cend())
        return *known;
    // A piece has no form of its own to tell; a recovery file is told by the list.
    std::optional<OwnFile> own;
    if (outputKind(kind).ownIn)
        own = ownUnlessStopped([&] { return readOwnFile(name, kind); });
    if (own && kind == OutputNames::Kind::Checksums && !listsItsOwnPieces(*own))
        own.reset();
    return *m_own.insert(name, own);
}

bool EarlierSplit::listsItsOwnPieces(const OwnFile &list) {
    for (const OutputNames::Kind kind : kRestoreScripts) {
        const std::optional<OwnFile> &script = ownFile(m_names.besideOnDisk(kind), kind);
        if (script && script->piecesNamed == list.piecesNamed)
            return true;
    }
    return ownUnlessStopped([&] {
        QByteArray name;
        // A split's pieces are of one length but for a shorter last one: most files that merely
        // bear pieces' names are told so without a byte read.
        // Their sizes are looked up again as they are read rather than kept: a list may name a
        // million.
        qint64 length = 0;
        for (qint64 piece = 1; piece <= list.piecesNamed; ++piece) {
            m_names.setPieceOnDisk(name, piece);
            const qint64 size = m_folder.facts(name).size;
            if (piece == 1)
                length = size;
            else if (piece < list.piecesNamed ? size != length : size > length)
                return false;
        }
        DigestPipeline digests({}, DigestPipeline::Digests::WholeOnly);
        for (qint64 piece = 1; piece <= list.piecesNamed; ++piece) {
            m_names.setPieceOnDisk(name, piece);
            m_work.progress.checkStarted(fromFileSystemName(name), m_folder.facts(name).size);
            feedFile(
                digests, m_folder, name, [this] { return m_work.keepGoing(); },
                [this](qint64 read) { m_work.progress.bytesCopied(read); });
        }
        return digests.wholeDigest() == list.wholeDigest;
    });
}

bool EarlierSplit::isOwn(const QByteArray &name, OutputNames::Kind kind) {
    return ownFile(name, kind).has_value();
}

qint64 EarlierSplit::piecesNamed() {
    qint64 named = 0;
    for (const OutputKind &output : kOutputKinds) {
        if (!output.ownIn)
            continue;
        const std::optional<OwnFile> &own = ownFile(m_names.besideOnDisk(output.kind), output.kind);
        if (own)
            named = std::max(named, own->piecesNamed);
    }
    return named;
}

bool EarlierSplit::isListedRecoveryFile(const QByteArray &name) {
    if (const auto known = m_listedRecovery.constFind(name); known != m_listedRecovery.cend())
        return *known;
    const std::optional<OwnFile> &list =
        ownFile(m_names.checksumsOnDisk(), OutputNames::Kind::Checksums);
    const QList<ListedFile> listed = list ? list->recovery : QList<ListedFile>();
    const QString text = fromFileSystemName(name);
    const auto line = std::find_if(listed.cbegin(), listed.cend(),
                                   [&](const ListedFile &file) { return file.name == text; });
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
