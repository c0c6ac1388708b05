#pragma once

#include "checksums/PieceStatus.h"

#include <QList>
#include <QStringList>

#include <functional>

class OutputFolder;
class OutputNames;
struct ChecksumList;

// Rebuilds the damaged or missing pieces of a set from the recovery files beside them, through
// par2, so that nothing of the user's is put at risk: par2 works in a private folder of the
// pieces' folder, reading the pieces and recovery files through links to them and writing what
// it rebuilds there. Each rebuilt piece is checked against the list and flushed to the disk,
// and only then put in place; a damaged piece it replaces is kept aside until every rebuilt
// piece is in place. A failure or a stop puts each damaged piece back and leaves nothing
// rebuilt. Its caller holds the set's OutputLock, as a join's plan does, for as long as it runs.
class PieceRebuild {
public:
    PieceRebuild(const OutputFolder &folder, const OutputNames &names, const ChecksumList &list);

    // Rebuilds the pieces that checked, how every piece compares with its line (piece k at
    // k - 1), finds damaged or missing; tells progress how far par2 is (0 to 1) and asks keepGoing.
    // Returns their names. Throws a Failure: Damaged, saying how many more pieces it would take,
    // where the recovery files cannot rebuild them.
    QStringList run(const QList<PieceStatus> &checked, const std::function<void(double)> &progress,
                    const std::function<bool()> &keepGoing);

private:
    const OutputFolder &m_folder;
    const OutputNames &m_names;
    const ChecksumList &m_list;
};
