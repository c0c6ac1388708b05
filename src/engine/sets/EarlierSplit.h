#pragma once

#include "names/OutputKinds.h"
#include "names/OutputNames.h"

#include <QByteArray>
#include <QHash>

#include <optional>

class OutputFolder;
struct Work;

// What an earlier split of one file left in a folder beside the pieces, and which of it is
// proven Tessary's own: a split replaces or removes such a file, and no other. Each file is read
// at most once or twice over, a block at a time, telling work how far it is and looking at its
// stop (a stop ends it with a Failure of kind Stopped); a file that cannot be read is not ours.
class EarlierSplit {
public:
    EarlierSplit(const OutputFolder &folder, const OutputNames &names, const Work &work);

    // Whether the file at name, which stands where a split of names writes its kind of file
    // beside the pieces, is one such a split writes, byte for byte in its format.
    bool isOwn(const QByteArray &name, OutputNames::Kind kind);
    // How many pieces its own restore scripts or checksum list name, the most of them; 0 where
    // none stands there. A file at a piece's name past that is not a piece of ours: a rotated
    // log, say.
    qint64 piecesNamed();
    // Whether the file at name is one of the recovery files its own checksum list names, byte
    // for byte.
    bool isListedRecoveryFile(const QByteArray &name);

private:
    // What the file at name tells, where it is our own.
    const std::optional<OwnFile> &ownFile(const QByteArray &name, OutputNames::Kind kind);
    std::optional<OwnFile> readOwnFile(const QByteArray &name, OutputNames::Kind kind) const;
    // Whether list, in the form sha256sum writes too, is of pieces of ours, not of the user's
    // files that merely bear pieces' names (rotated logs): where a restore script of ours beside
    // it names as many, or where they are, joined, the file it lists.
    bool listsItsOwnPieces(const OwnFile &list);

    const OutputFolder &m_folder;
    const OutputNames &m_names;
    const Work &m_work;
    QHash<QByteArray, std::optional<OwnFile>> m_own;
    QHash<QByteArray, bool> m_listedRecovery;
};
