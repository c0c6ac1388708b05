#include "split/ExistingOutputs.h"

#include "NameFolding.h"
#include "OutputFolder.h"

#include <algorithm>
#include <optional>

namespace {

// A file name, with the start of its own pieces' names on disk.
struct Wanted {
    QString fileName;
    QByteArray piecePrefix;
};

} // namespace

QHash<QString, ExistingOutputs> existingOutputs(const OutputFolder &folder,
                                                const QList<QString> &fileNames) {
    // Two of them may be one name to Windows: what is there is either's.
    QHash<QString, QList<Wanted>> byFoldedName;
    for (const QString &fileName : fileNames) {
        QList<Wanted> &same = byFoldedName[foldedName(fileName)];
        if (std::none_of(same.cbegin(), same.cend(),
                         [&](const Wanted &wanted) { return wanted.fileName == fileName; }))
            same.append({fileName, fileSystemName(fileName + u'.')});
    }
    QHash<QString, ExistingOutputs> outputs;
    folder.forEachEntryName([&](const QByteArray &entry) {
        const std::optional<OutputNames::Entry> output =
            OutputNames::parse(fromFileSystemName(entry));
        if (!output)
            return;
        const auto same = byFoldedName.constFind(foldedName(output->fileName));
        if (same == byFoldedName.cend())
            return;
        for (const Wanted &wanted : *same) {
            ExistingOutputs &existing = outputs[wanted.fileName];
            if (output->kind != OutputNames::Kind::Piece) {
                existing.beside[output->kind].append(entry);
                continue;
            }
            existing.pieces.add(output->piece);
            // Past the prefix only the number's digits, with no dot, are the file's own.
            if (!entry.startsWith(wanted.piecePrefix) ||
                entry.indexOf('.', wanted.piecePrefix.size()) >= 0)
                existing.otherSpellings[output->piece].append(entry);
        }
    });
    return outputs;
}
