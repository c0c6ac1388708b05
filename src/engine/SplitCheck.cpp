#include "SplitCheck.h"

#include "FileError.h"
#include "OutputFolder.h"
#include "Paths.h"
#include "PieceLength.h"
#include "PieceNames.h"
#include "PortableName.h"
#include "RestoreScript.h"
#include "SourceFile.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

QString cleanPath(const QString &path) {
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

QString bytesText(qint64 bytes) {
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

qint64 wholeBlocks(qint64 bytes, qint64 blockSize) {
    return (bytes + blockSize - 1) / blockSize * blockSize;
}

// Enough for the restore script of pieces pieces of name, without building it: as if every
// piece stood on a copy line of its own.
qint64 scriptBytesAtMost(const QString &name, qint64 pieces) {
    using namespace RestoreScript;
    const qint64 perPiece = scriptBytes(nextTerm(name, pieces)) + scriptBytes(continuation(name)) +
                            scriptBytes(destination(name)) + 2;
    return pieces * perPiece + 2 * scriptBytes(name) + 64;
}

// Disk space the outputs of a source of length bytes take.
qint64 outputBytes(const QString &name, qint64 length, qint64 pieceLength, qint64 blockSize) {
    const qint64 pieces = pieceCountFor(length, pieceLength);
    const qint64 fullPieces = pieces - 1;
    return fullPieces * wholeBlocks(pieceLength, blockSize) +
           wholeBlocks(length - fullPieces * pieceLength, blockSize) +
           wholeBlocks(scriptBytesAtMost(name, pieces), blockSize);
}

std::optional<QString> lengthProblem(const OutputFolder &folder, const QByteArray &name,
                                     const FolderCapacity &capacity) {
    if (name.size() > capacity.nameMax)
        return QStringLiteral("would take %1 bytes, more than the %2 that the output folder's "
                              "file system allows in a name")
            .arg(name.size())
            .arg(capacity.nameMax);
    const qint64 pathBytes = fileSystemName(folder.filePath(name)).size() + 1;
    if (pathBytes > capacity.pathMax)
        return QStringLiteral("would take a path of %1 bytes, more than the %2 that the system "
                              "allows")
            .arg(pathBytes)
            .arg(capacity.pathMax);
    return std::nullopt;
}

// Stands for the restore script among the numbers of outputs, after every piece.
constexpr qint64 kScript = std::numeric_limits<qint64>::max();

bool isPieceNumber(QStringView text) {
    if (text.isEmpty() || text.size() > 18 || text.front() == u'0')
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
}

// What the folder holds already of the outputs that files of any name could have, by
// case-folded file name: piece numbers, and kScript for a restore script, in ascending order.
// A folder is listed once, however many pieces a file takes. Windows, and file systems here
// such as FAT, do not tell names apart by case, so neither does this.
QHash<QString, QList<qint64>> existingOutputs(const OutputFolder &folder) {
    QHash<QString, QList<qint64>> outputs;
    for (const QByteArray &entry : folder.entryNames()) {
        const QString name = fromFileSystemName(entry).toCaseFolded();
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot <= 0)
            continue;
        const QStringView suffix = QStringView(name).mid(dot + 1);
        if (suffix == u"bat")
            outputs[name.left(dot)].append(kScript);
        else if (isPieceNumber(suffix))
            outputs[name.left(dot)].append(suffix.toLongLong());
    }
    for (QList<qint64> &numbers : outputs)
        std::sort(numbers.begin(), numbers.end());
    return outputs;
}

} // namespace

SplitRefused::SplitRefused(QList<Refusal> refusals)
    : m_refusals(std::move(refusals))
    , m_what(refusalMessage(m_refusals).toUtf8()) {}

QString refusalMessage(const QList<Refusal> &refusals, qsizetype shownAtMost) {
    const qsizetype shown =
        shownAtMost < 0 ? refusals.size() : std::min(shownAtMost, refusals.size());
    QStringList lines;
    for (qsizetype i = 0; i < shown; ++i)
        lines << QStringLiteral("\u2022 ") +
                     native(QDir::cleanPath(QDir::fromNativeSeparators(refusals[i].path))) +
                     QStringLiteral(": ") + refusals[i].reason;
    if (shown < refusals.size())
        lines << QStringLiteral("... and %1 more.").arg(refusals.size() - shown);
    return QStringLiteral("The split was not started:\n\n%1\n\nNothing was written.")
        .arg(lines.join(u'\n'));
}

SplitCheck::SplitCheck(const QList<QueuedFile> &queue, const QString &outputFolder,
                       qint64 pieceLength)
    : m_outputFolder(withTrailingSeparator(outputFolder))
    , m_pieceLength(pieceLength) {
    QList<Source> sources = readableSources(queue);
    refuseSameNames(sources);
    try {
        const OutputFolder folder(outputFolder);
        if (!folder.canWrite(QByteArrayLiteral(".")))
            refuse(outputFolder, QStringLiteral("Tessary may not make files in this folder"));
        else
            checkOutputs(folder, sources);
    } catch (const FileError &error) {
        refuse(error.path(), error.reason());
    }
    // The user reads them in the order of the queue, the output folder's own last.
    QHash<QString, qsizetype> queuePosition;
    for (qsizetype i = queue.size() - 1; i >= 0; --i)
        queuePosition.insert(queue[i].path, i);
    std::stable_sort(m_refusals.begin(), m_refusals.end(), [&](const Refusal &a, const Refusal &b) {
        return queuePosition.value(a.path, queue.size()) <
               queuePosition.value(b.path, queue.size());
    });
}

QList<SplitCheck::Source> SplitCheck::readableSources(const QList<QueuedFile> &queue) {
    QList<Source> sources;
    for (const QueuedFile &file : queue) {
        m_sourceByPath.insert(cleanPath(file.path), file.path);
        if (const std::optional<QString> problem = portableNameProblem(file.name)) {
            refuse(file.path, *problem);
            continue;
        }
        try {
            const SourceFile source(file.path);
            sources.append({&file, source.facts()});
            m_sourceByIdentity.insert(source.facts().identity, file.path);
        } catch (const FileError &error) {
            // The platform's listing hides such names; one that comes in by other ways arrives
            // with its bad bytes replaced, and so names no file.
            if (file.path.contains(QChar::ReplacementCharacter))
                refuse(file.path, QStringLiteral("its name is not valid UTF-8, so it cannot stand "
                                                 "in a restore script"));
            else
                refuse(file.path, error.reason());
        }
    }
    return sources;
}

void SplitCheck::refuseSameNames(QList<Source> &sources) {
    // Windows, where the scripts run, does not tell names apart by case.
    QHash<QString, qsizetype> firstByName;
    QList<Source> distinct;
    for (const Source &source : std::as_const(sources)) {
        const QString key = source.file->name.toCaseFolded();
        const auto first = firstByName.constFind(key);
        if (first == firstByName.cend()) {
            firstByName.insert(key, distinct.size());
            distinct.append(source);
        } else if (distinct[*first].facts.identity != source.facts.identity) {
            refuse(source.file->path,
                   QStringLiteral("its pieces and restore script would take the same names as "
                                  "those of %1, which is queued before it")
                       .arg(native(distinct[*first].file->path)));
        }
        // The same file queued again writes the same bytes again: checked once.
    }
    sources = distinct;
}

void SplitCheck::checkOutputs(const OutputFolder &folder, const QList<Source> &sources) {
    const FolderCapacity capacity = folder.capacity();
    const QHash<QString, QList<qint64>> existing = existingOutputs(folder);
    qint64 needed = 0;
    qint64 replaced = 0;
    QByteArray name;
    for (const Source &source : sources) {
        const QString &fileName = source.file->name;
        const qint64 pieces = pieceCountFor(source.facts.size, m_pieceLength);
        const QByteArray prefix = pieceNamePrefix(fileName);
        const QByteArray script = scriptName(fileName);
        std::optional<QString> problem;
        qint64 replacedHere = 0;
        // The longest piece name and the script's are known before the first byte.
        setPieceName(name, prefix, pieces);
        for (const QByteArray &output : {name, script}) {
            if (const std::optional<QString> tooLong = lengthProblem(folder, output, capacity);
                tooLong && !problem)
                problem =
                    QStringLiteral("the name %1 %2").arg(fromFileSystemName(output), *tooLong);
        }
        try {
            for (const qint64 number : existing.value(fileName.toCaseFolded())) {
                const bool isScript = number == kScript;
                if (problem)
                    break;
                if (number > pieces && !isScript)
                    continue;
                if (isScript)
                    name = script;
                else
                    setPieceName(name, prefix, number);
                if (const std::optional<QString> why = outputProblem(folder, name, replacedHere))
                    problem = QStringLiteral("its %1 %2 %3")
                                  .arg(isScript ? QStringLiteral("restore script")
                                                : QStringLiteral("piece"),
                                       native(folder.filePath(name)), *why);
            }
        } catch (const FileError &error) {
            problem = QStringLiteral("%1 cannot be examined: %2")
                          .arg(native(error.path()), error.reason());
        }
        if (problem) {
            refuse(source.file->path, *problem);
            continue;
        }
        m_checkedPieces.insert(fileName.toCaseFolded(), pieces);
        replaced += replacedHere;
        needed += outputBytes(fileName, source.facts.size, m_pieceLength, capacity.blockSize);
    }
    if (needed - replaced > capacity.freeBytes)
        refuse(folder.path(),
               QStringLiteral("the split needs %1 of free space there, but only %2 "
                              "is free")
                   .arg(bytesText(needed - replaced), bytesText(capacity.freeBytes)));
}

std::optional<QString> SplitCheck::outputProblem(const OutputFolder &folder, const QByteArray &name,
                                                 qint64 &replacedBytes) const {
    const FileFacts facts = folder.facts(name);
    if (facts.kind == FileKind::Missing)
        return std::nullopt;
    if (m_sourceByPath.contains(cleanPath(folder.filePath(name))))
        return QStringLiteral("is itself queued to be split");
    if (facts.kind == FileKind::Regular) {
        if (const auto source = m_sourceByIdentity.constFind(facts.identity);
            source != m_sourceByIdentity.cend())
            return QStringLiteral("is another name (a hard link) of %1, which is queued to be "
                                  "split")
                .arg(native(*source));
    }
    if (facts.kind == FileKind::SymbolicLink)
        return QStringLiteral("is a symbolic link, which Tessary never writes through");
    if (facts.kind != FileKind::Regular)
        return QStringLiteral("is %1, not a regular file").arg(describeKind(facts.kind));
    if (facts.linkCount > 1)
        return QStringLiteral("has other names (hard links), which writing it would change too");
    if (!folder.canWrite(name))
        return QStringLiteral("exists, and Tessary may not write it");
    replacedBytes += facts.allocatedBytes;
    return std::nullopt;
}

void SplitCheck::checkLatePiece(const OutputFolder &folder, const QByteArray &name) const {
    qint64 replaced = 0;
    if (const std::optional<QString> why = outputProblem(folder, name, replaced))
        throw FileError(folder.filePath(name), QStringLiteral("it ") + *why);
}

void SplitCheck::refuse(const QString &path, const QString &reason) {
    m_refusals.append({path, reason});
}
