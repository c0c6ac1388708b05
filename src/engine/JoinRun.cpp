#include "JoinRun.h"

#include "JoinHost.h"
#include "JoinRecipe.h"
#include "OutputFolder.h"
#include "PieceNames.h"
#include "SourceFile.h"
#include "TemporaryFile.h"
#include "WorkerPool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QLocale>
#include <QSet>

#include <exception>

namespace {

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

QString bytesText(qint64 bytes) {
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

struct Pieces {
    QList<qint64> lengths;
    QSet<FileIdentity> identities;
    qint64 totalBytes = 0;
};

// Every piece must be there, and be a file that can be read.
Pieces examinePieces(const OutputFolder &folder, const JoinRecipe &recipe) {
    Pieces pieces;
    const QByteArray prefix = pieceNamePrefix(recipe.destination);
    QByteArray name;
    for (qint64 piece = 1; piece <= recipe.pieceCount; ++piece) {
        setPieceName(name, prefix, piece);
        const FileFacts facts = folder.factsFollowingLinks(name);
        if (facts.kind == FileKind::Missing)
            throw FileError(folder.filePath(name), QStringLiteral("this piece is missing"));
        if (facts.kind != FileKind::Regular)
            throw FileError(folder.filePath(name),
                            QStringLiteral("it is %1, not a piece").arg(describeKind(facts.kind)));
        pieces.lengths.append(facts.size);
        pieces.identities.insert(facts.identity);
        pieces.totalBytes += facts.size;
    }
    return pieces;
}

// The first piece whose length no split gives (all but the last as long as the first, the
// last no longer), or 0.
qint64 oddPiece(const QList<qint64> &lengths) {
    for (qsizetype i = 1; i < lengths.size(); ++i) {
        const bool last = i + 1 == lengths.size();
        if (last ? lengths[i] > lengths[0] : lengths[i] != lengths[0])
            return i + 1;
    }
    return 0;
}

void copyPieces(const OutputFolder &folder, const JoinRecipe &recipe, const Pieces &pieces,
                TemporaryFile &joined, CopyMethod method) {
    RangeCopier copier(method);
    const QByteArray prefix = pieceNamePrefix(recipe.destination);
    QByteArray name;
    for (qint64 piece = 1; piece <= recipe.pieceCount; ++piece) {
        setPieceName(name, prefix, piece);
        const qint64 length = pieces.lengths[piece - 1];
        const SourceFile source(folder.filePath(name));
        const RangeCopier::Result copied = copier.copy(source, 0, joined.fd(), length);
        if (copied.targetError != 0)
            joined.fail(copied.targetError);
        if (copied.copied != length)
            throw FileError(source.path(), QStringLiteral("it was cut short while it was joined"));
        joined.wrote(length);
    }
    joined.flushToDisk();
}

} // namespace

JoinRun::JoinRun(JoinHost &host, JoinOptions options)
    : m_host(host)
    , m_options(options) {}

void JoinRun::join(const QString &path) {
    const JoinRecipe recipe = joinRecipeFor(path);
    const OutputFolder folder(recipe.folder);
    const Pieces pieces = examinePieces(folder, recipe);
    const QByteArray prefix = pieceNamePrefix(recipe.destination);
    const QString firstPiece = native(folder.filePath(prefix + '1'));

    if (const qint64 odd = oddPiece(pieces.lengths)) {
        const QString oddPath = native(folder.filePath(prefix + QByteArray::number(odd)));
        const QLocale locale;
        if (!m_host.askYesNo(
                QStringLiteral("%1 holds %2 bytes, but %3 holds %4. In a split every piece but "
                               "the last holds as many bytes as the first, and the last no "
                               "more: a piece may be damaged, or come from another split.\n\n"
                               "Join the pieces all the same?")
                    .arg(oddPath, locale.toString(pieces.lengths[odd - 1]), firstPiece,
                         locale.toString(pieces.lengths[0]))))
            throw JoinDeclined(oddPath, QStringLiteral("its length is not that of a piece of this "
                                                       "split, and the join was stopped"));
    }

    const QByteArray destination = fileSystemName(recipe.destination);
    const QString destinationPath = native(folder.filePath(destination));
    const FileFacts existing = folder.facts(destination);
    if (existing.kind != FileKind::Missing) {
        if (existing.kind != FileKind::Regular && existing.kind != FileKind::SymbolicLink)
            throw FileError(destinationPath, QStringLiteral("it is %1, which a join never replaces")
                                                 .arg(describeKind(existing.kind)));
        if (existing.kind == FileKind::Regular && pieces.identities.contains(existing.identity))
            throw FileError(destinationPath, QStringLiteral("it is one of its own pieces"));
        const QByteArray chosen = fileSystemName(QFileInfo(recipe.script).fileName());
        if (existing.kind == FileKind::Regular &&
            folder.factsFollowingLinks(chosen).identity == existing.identity)
            throw FileError(destinationPath,
                            QStringLiteral("it is the restore script being read, which a split "
                                           "never names after the file it restores"));
        if (!m_host.askYesNo(QStringLiteral("%1 exists already.\n\nReplace it with the file "
                                            "joined from its pieces?")
                                 .arg(destinationPath)))
            throw JoinDeclined(destinationPath, QStringLiteral("it exists, and was not replaced"));
    }
    const qint64 freeBytes = folder.capacity().freeBytes;
    if (pieces.totalBytes > freeBytes)
        throw FileError(native(recipe.folder),
                        QStringLiteral("the joined file needs %1 of free space there, but only %2 "
                                       "is free")
                            .arg(bytesText(pieces.totalBytes), bytesText(freeBytes)));

    TemporaryFile joined(folder, destination);
    std::exception_ptr failure;
    {
        const WaitWindowShown waitWindow(m_host.waitWindow());
        WorkerPool copying(1);
        copying.runOnAll(
            [&](int) {
                try {
                    copyPieces(folder, recipe, pieces, joined, m_options.copyMethod);
                } catch (...) {
                    failure = std::current_exception();
                }
            },
            [this] { m_host.waitWindow().keepWaitWindowPainted(); }, m_options.repaintInterval);
    }
    if (failure)
        std::rethrow_exception(failure);
    joined.putInPlace();
    m_host.showRestoredMessage(recipe.restoredMessage);
}
