#include "join/JoinSharing.h"

#include "BlockSharing.h"
#include "OutputFolder.h"
#include "SourceFile.h"
#include "join/JoinPlan.h"
#include "names/OutputNames.h"

#include <algorithm>

bool joinSharesBlocks(const JoinPlan &plan) {
    if (plan.mendable || plan.pieceLengths.isEmpty())
        return false;
    const qint64 block = plan.folder->capacity().blockSize;
    // Each piece lands where the one before it ended: a block boundary, or the blocks cannot be
    // shared. A first piece shorter than a block has none to share.
    if (plan.pieceLengths.first() < block ||
        !std::all_of(plan.pieceLengths.cbegin(), plan.pieceLengths.cend() - 1,
                     [&](qint64 length) { return length % block == 0; }))
        return false;
    const SourceFile first(*plan.folder, OutputNames(plan.recipe.destination).pieceOnDisk(1));
    return canShareBlocks(*plan.folder, first, block);
}
