#include "checksums/ChecksumList.h"

#include "Failure.h"
#include "NameFolding.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "names/OutputNames.h"
#include "run/RunProgress.h"
#include "words/TextLines.h"

#include <QHash>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

// Far beyond the list of any split: a million pieces take some 90 MB.
constexpr qint64 kLargestList = qint64(128) << 20;
// A digest, two characters and the longest name a file system holds, in UTF-8, with room.
constexpr qsizetype kLongestLine = 2048;
constexpr qint64 kBlockBytes = qint64(64) << 10;

bool isDigest(QByteArrayView text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
           });
}

// Reads a list line by line and keeps its digests.
class ListReader {
public:
    // Reads up to size bytes at offset into buffer; returns how many, 0 only at the end.
    using ReadAt = std::function<qint64(char *buffer, qint64 size, qint64 offset)>;

    ListReader(QString path, ReadAt readAt, const OutputNames &names)
        : m_path(std::move(path))
        , m_readAt(std::move(readAt))
        , m_names(names) {}

    ChecksumList read(const std::function<bool()> &keepGoing);

private:
    void take(QByteArray line);
    // Refuses the list at line, for code with the values that follow the line's.
    [[noreturn]] void refuse(Failure::Code code, const QByteArray &line,
                             QList<FailureArg> more = {}) const;
    [[noreturn]] void refuseWhole(Failure::Code code, QList<FailureArg> args = {}) const {
        throw Failure(code, m_path, std::move(args));
    }
    // The piece line names, 0 for the whole file; nothing for any other name.
    std::optional<qint64> pieceNamed(const QString &name) const;
    // A recovery file of the file, at line's place among those listed, when name is one.
    bool takeRecovery(const QString &name, const QByteArray &line);

    const QString m_path;
    const ReadAt m_readAt;
    const OutputNames &m_names;
    qsizetype m_line = 0;
    QByteArray m_whole;
    QHash<qint64, QByteArray> m_pieces;
    QList<ChecksumList::Listed> m_recovery;
    qint64 m_lastPiece = 0;
};

ChecksumList ListReader::read(const std::function<bool()> &keepGoing) {
    const auto block = std::make_unique_for_overwrite<char[]>(kBlockBytes);
    QByteArray pending;
    qint64 offset = 0;
    for (;;) {
        if (!keepGoing())
            throw Failure::stopped();
        const qint64 got = m_readAt(block.get(), kBlockBytes, offset);
        if (got == 0)
            break;
        offset += got;
        if (offset > kLargestList)
            refuseWhole(Failure::Code::ListTooLarge);
        pending.append(block.get(), got);
        qsizetype start = 0;
        for (qsizetype end; (end = pending.indexOf('\n', start)) >= 0; start = end + 1)
            take(pending.mid(start, end - start));
        pending.remove(0, start);
        if (pending.size() > kLongestLine)
            take(pending);
    }
    if (!pending.isEmpty())
        take(pending);

    if (m_whole.isEmpty())
        refuseWhole(Failure::Code::ListHasNoWholeLine, {FailureArg::name(m_names.fileName())});
    if (m_pieces.isEmpty())
        refuseWhole(Failure::Code::ListHasNoPieces, {FailureArg::name(m_names.fileName())});
    ChecksumList list;
    list.path = m_path;
    list.whole = m_whole;
    for (qint64 piece = 1; piece <= m_lastPiece; ++piece) {
        if (!m_pieces.contains(piece))
            refuseWhole(Failure::Code::ListSkipsPiece,
                        {FailureArg::name(m_names.piece(piece)),
                         FailureArg::name(m_names.piece(m_lastPiece))});
        list.pieces.append(m_pieces.value(piece));
    }
    list.recovery = m_recovery;
    return list;
}

void ListReader::take(QByteArray line) {
    ++m_line;
    if (m_line == 1 && line.startsWith("\xef\xbb\xbf"))
        line.remove(0, 3);
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.trimmed().isEmpty())
        return; // blank lines, as editors leave them at the end
    if (line.size() > kLongestLine)
        refuse(Failure::Code::ListLineTooLong, line);
    // "<digest>  <name>", or "<digest> *<name>" as sha256sum writes it in binary mode.
    const bool shaped = line.size() > 66 && isDigest(QByteArrayView(line).first(64)) &&
                        line[64] == ' ' && (line[65] == ' ' || line[65] == '*');
    if (!shaped)
        refuse(Failure::Code::ListLineNotDigest, line);
    const QString name = fromFileSystemName(line.mid(66));
    if (takeRecovery(name, line))
        return;
    const std::optional<qint64> piece = pieceNamed(name);
    if (!piece)
        refuse(Failure::Code::ListLineNamesOther, line,
               {FailureArg::name(name), FailureArg::name(m_names.fileName())});
    QByteArray &digest = *piece == 0 ? m_whole : m_pieces[*piece];
    if (!digest.isEmpty())
        refuse(Failure::Code::ListLineRepeats, line, {FailureArg::name(name)});
    digest = line.left(64).toLower();
    m_lastPiece = std::max(m_lastPiece, *piece);
}

bool ListReader::takeRecovery(const QString &name, const QByteArray &line) {
    const std::optional<OutputNames::Entry> entry = OutputNames::parse(name);
    if (!entry || entry->kind != OutputNames::Kind::Recovery ||
        entry->fileName != m_names.fileName())
        return false;
    for (const ChecksumList::Listed &listed : std::as_const(m_recovery)) {
        if (listed.name == name)
            refuse(Failure::Code::ListLineRepeats, line, {FailureArg::name(name)});
    }
    m_recovery.append({name, line.left(64).toLower()});
    return true;
}

std::optional<qint64> ListReader::pieceNamed(const QString &name) const {
    if (name == m_names.fileName())
        return 0;
    const std::optional<OutputNames::Entry> entry = OutputNames::parse(name);
    if (entry && entry->kind == OutputNames::Kind::Piece && entry->fileName == m_names.fileName())
        return entry->piece;
    return std::nullopt;
}

void ListReader::refuse(Failure::Code code, const QByteArray &line, QList<FailureArg> more) const {
    throw Failure(code, m_path,
                  QList{FailureArg::count(m_line), FailureArg::line(QString::fromUtf8(line))} +
                      more);
}

} // namespace

std::optional<QByteArray> findChecksumList(const OutputFolder &folder, const OutputNames &names) {
    const QByteArray exact = names.checksumsOnDisk();
    if (folder.facts(exact).kind != FileKind::Missing)
        return exact;
    const QString folded = foldedName(names.checksums());
    std::optional<QByteArray> found;
    folder.forEachEntryName([&](const QByteArray &entry) {
        if (foldedName(fromFileSystemName(entry)) != folded)
            return;
        if (found)
            throw Failure(
                Failure::Code::TwoListsBeside, folder.filePath(entry),
                {FailureArg::name(fromFileSystemName(*found)), FailureArg::name(names.fileName())});
        found = entry;
    });
    return found;
}

ChecksumList readChecksumList(const OutputFolder &folder, const OutputNames &names,
                              const std::function<bool()> &keepGoing) {
    const std::optional<QByteArray> name = findChecksumList(folder, names);
    if (!name)
        return {};
    // The list itself, not a link, and no FIFO or device waited on.
    const SourceFile file(folder, *name);
    return ListReader(
               file.path(),
               [&file](char *buffer, qint64 size, qint64 offset) {
                   return file.readAt(buffer, size, offset);
               },
               names)
        .read(keepGoing);
}

ChecksumList checksumListOf(const QByteArray &text, const QString &path, const OutputNames &names) {
    return ListReader(
               path,
               [&text](char *buffer, qint64 size, qint64 offset) {
                   const qint64 got = std::clamp<qint64>(text.size() - offset, 0, size);
                   std::copy_n(text.constData() + offset, got, buffer);
                   return got;
               },
               names)
        .read([] { return true; });
}
