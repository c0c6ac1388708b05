#pragma once

#include "Failure.h"
#include "FileFacts.h"
#include "names/OutputNames.h"
#include "sets/EarlierSplit.h"
#include "split/OutputChecker.h"

#include <QByteArray>
#include <QList>

#include <optional>

class OutputFolder;
struct ExistingOutputs;
struct PlannedFile;

// The check of what stands already where one file's split writes: its pieces, those of an
// earlier, longer split that follow the last one, and the files beside them. An earlier file
// beside the pieces is the split's to replace or remove only where it is one a split writes;
// someone else's is refused where the split writes its kind, and left alone where not. A
// recovery file is the split's where the earlier split's checksum list names it.
class FileOutputCheck {
public:
    // Reads what an earlier split left as work says (see EarlierSplit).
    FileOutputCheck(const OutputFolder &folder, const OutputChecker &checker,
                    const ExistingOutputs &existing, PlannedFile &file, const Work &work);

    // Nothing when the split may write; then the file's plan knows what stands there, and
    // replaced what writing it frees. The refusal otherwise, for the file's source. Throws a
    // Failure of kind Stopped.
    std::optional<Failure> check(const QList<OutputNames::Kind> &written,
                                 OutputChecker::Replaced &replaced);

private:
    std::optional<Failure> checkBeside(OutputNames::Kind kind, bool written);
    // The recovery files: an earlier split's that its list names are the split's to replace or
    // remove; someone else's are refused where the split writes one of their names.
    std::optional<Failure> checkRecovery();
    std::optional<Failure> checkPieces();
    std::optional<Failure> countStalePieces();
    // Notes the earlier pieces past the gap after the stale ones that the earlier split names.
    void notePiecesPastGap();
    // A piece's name: as problemAt says, and a file there only where an earlier split of ours
    // named that piece.
    // What stands there is then recorded as the split's to replace or remove.
    std::optional<Failure> checkPiece(qint64 number);
    // Whether name may be written, as OutputChecker says and as Windows tells names apart;
    // there is then what stands at name.
    std::optional<Failure> problemAt(const QByteArray &name, const QList<QByteArray> &spellings,
                                     OutputNames::Kind kind, FileFacts &there);
    // Another spelling of name in the folder that Windows takes for it and that is another
    // file here.
    std::optional<QByteArray> caseTwin(const QByteArray &name,
                                       const QList<QByteArray> &spellings) const;
    // The refusal of a file of kind at name that is someone else's.
    Failure notOurs(OutputNames::Kind kind, const QByteArray &name) const;

    const OutputFolder &m_folder;
    const OutputChecker &m_checker;
    const ExistingOutputs &m_existing;
    PlannedFile &m_file;
    EarlierSplit m_earlier;
    OutputChecker::Replaced *m_replaced = nullptr;
    QByteArray m_pieceName; // the one checked, in a buffer of its own for a million of them
};
