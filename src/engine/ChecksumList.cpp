#include "ChecksumList.h"

#include "FileError.h"
#include "MessageText.h"
#include "OutputFolder.h"
#include "OutputNames.h"
#include "SourceFile.h"
#include "TextLines.h"

#include <QHash>

#include <algorithm>

namespace {

// Far beyond the list of any split: a million pieces take some 90 MB.
constexpr qint64 kLargestList = qint64(128) << 20;

bool isDigest(QByteArrayView text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
           });
}

[[noreturn]] void refuse(const QString &path, qsizetype line, const QString &why,
                         const QByteArray &text) {
    throw FileError(path, printable(QStringLiteral("line %1 %2, so the pieces were not checked "
                                                   "against it: ")
                                        .arg(line)
                                        .arg(why)) +
                              quotedLine(QString::fromUtf8(text)));
}

} // namespace

QByteArray ChecksumList::text(const OutputNames &names, const QByteArray &whole,
                              const QList<QByteArray> &pieces) {
    // The names as the file system stores them, byte for byte, as sha256sum looks them up.
    QByteArray text = whole + "  " + fileSystemName(names.fileName()) + '\n';
    for (qsizetype i = 0; i < pieces.size(); ++i)
        text += pieces[i] + "  " + names.pieceOnDisk(i + 1) + '\n';
    return text;
}

ChecksumList readChecksumList(const OutputFolder &folder, const OutputNames &names,
                              std::optional<qint64> pieceCount) {
    ChecksumList list;
    const QByteArray onDisk = names.checksumsOnDisk();
    if (folder.facts(onDisk).kind == FileKind::Missing)
        return list;
    // The list itself, not a link, and no FIFO or device waited on.
    const SourceFile file(folder, onDisk);
    list.path = file.path();
    QByteArray bytes = file.readAll(kLargestList);
    if (bytes.startsWith("\xef\xbb\xbf"))
        bytes.remove(0, 3);
    const QList<QByteArray> lines = textLines(bytes);

    // Without a count, as many as there are lines: no more can be named.
    const qint64 pieces = pieceCount.value_or(lines.size());
    QHash<QString, qint64> pieceByName; // 0 for the whole file
    pieceByName.insert(names.fileName(), 0);
    for (qint64 piece = 1; piece <= pieces; ++piece)
        pieceByName.insert(names.piece(piece), piece);
    list.pieces.resize(pieces);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        // "<digest>  <name>", or "<digest> *<name>" as sha256sum writes it in binary mode.
        const bool shaped = line.size() > 66 && isDigest(QByteArrayView(line).first(64)) &&
                            line[64] == ' ' && (line[65] == ' ' || line[65] == '*');
        if (!shaped)
            refuse(list.path, i + 1, QStringLiteral("is not a SHA-256 digest and a name"), line);
        const QString name = fromFileSystemName(line.mid(66));
        const auto piece = pieceByName.constFind(name);
        if (piece == pieceByName.cend())
            refuse(list.path, i + 1,
                   pieceCount ? QStringLiteral("names %1, which is neither %2 nor one of its %3 "
                                               "pieces")
                                    .arg(name, names.fileName(), QString::number(*pieceCount))
                              : QStringLiteral("names %1, which is neither %2 nor one of its "
                                               "pieces")
                                    .arg(name, names.fileName()),
                   line);
        QByteArray &digest = *piece == 0 ? list.whole : list.pieces[*piece - 1];
        if (!digest.isEmpty())
            refuse(list.path, i + 1, QStringLiteral("names %1 a second time").arg(name), line);
        digest = line.left(64).toLower();
    }
    if (!pieceCount) {
        while (!list.pieces.isEmpty() && list.pieces.last().isEmpty())
            list.pieces.removeLast();
    }
    for (qint64 piece = 1; piece <= list.pieces.size(); ++piece) {
        if (list.pieces[piece - 1].isEmpty())
            throw FileError(list.path, QStringLiteral("it has no line for %1, so that piece "
                                                      "cannot be checked")
                                           .arg(printable(names.piece(piece))));
    }
    return list;
}
