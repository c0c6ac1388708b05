#include "split/ExistingOutputs.h"

#include "NameFolding.h"
#include "OutputFolder.h"

#include <optional>

QHash<QString, ExistingOutputs> existingOutputs(const OutputFolder &folder) {
    QHash<QString, ExistingOutputs> outputs;
    for (const QByteArray &entry : folder.entryNames()) {
        const std::optional<OutputNames::Entry> output =
            OutputNames::parse(fromFileSystemName(entry));
        if (!output)
            continue;
        ExistingOutputs &existing = outputs[foldedName(output->fileName)];
        if (output->kind == OutputNames::Kind::Piece)
            existing.pieces[output->piece].append(entry);
        else
            existing.beside[output->kind].append(entry);
    }
    return outputs;
}
