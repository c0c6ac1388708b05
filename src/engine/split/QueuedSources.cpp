#include "split/QueuedSources.h"

#include "NameFolding.h"
#include "SourceFile.h"
#include "names/PortableName.h"
#include "sizes/PieceLength.h"

#include <QHash>

namespace {

QList<QueuedSource> readableSources(const QList<QueuedFile> &queue, const FileSystem &files,
                                    const QueueRefusal &refuse) {
    QList<QueuedSource> sources;
    for (qsizetype i = 0; i < queue.size(); ++i) {
        const QueuedFile &file = queue[i];
        if (const std::optional<Failure> problem = portableNameProblem(file.name)) {
            refuse(i, problem->withPath(file.path));
            continue;
        }
        try {
            sources.append({i, SourceFile(file.path, files).facts()});
        } catch (const Failure &error) {
            // The platform's listing hides such names; one that comes in by other ways arrives
            // with its bad bytes replaced, and so names no file.
            refuse(i, file.path.contains(QChar::ReplacementCharacter)
                          ? Failure(Failure::Code::NameNotUtf8, file.path)
                          : error.withPath(file.path));
        }
    }
    return sources;
}

} // namespace

QList<QueuedSource> queuedSources(const QList<QueuedFile> &queue, const FileSystem &files,
                                  const QueueRefusal &refuse) {
    QList<QueuedSource> sources = readableSources(queue, files, refuse);
    // Windows, where the scripts run, does not tell names apart by case.
    QHash<QString, const QueuedSource *> firstByName;
    QList<QueuedSource> kept;
    for (QueuedSource &source : sources) {
        const QueuedFile &file = queue[source.index];
        const QString key = foldedName(file.name);
        const QueuedSource *first = firstByName.value(key);
        if (!first) {
            firstByName.insert(key, &source);
        } else if (first->facts.identity == source.facts.identity) {
            source.repeats = first->index;
        } else {
            refuse(source.index, Failure(Failure::Code::SameNamesAs, file.path,
                                         {FailureArg::path(queue[first->index].path)}));
            continue;
        }
        kept.append(source);
    }
    return kept;
}

std::optional<qint64> pieceLengthOf(const SplitRequest &request, const QueuedSource &source,
                                    const QueueRefusal &refuse) {
    if (request.pieceCount < 1)
        return request.pieceLength;
    const std::optional<qint64> length = pieceLengthForCount(source.facts.size, request.pieceCount);
    if (!length)
        refuse(
            source.index,
            Failure(source.facts.size < request.pieceCount ? Failure::Code::FewerBytesThanPieces
                                                           : Failure::Code::NotInEqualPieces,
                    request.queue[source.index].path,
                    {FailureArg::count(source.facts.size), FailureArg::count(request.pieceCount)}));
    return length;
}
