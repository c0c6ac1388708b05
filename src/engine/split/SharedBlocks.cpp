#include "split/SharedBlocks.h"

#include "OutputFolder.h"
#include "SourceFile.h"

bool piecesShareSourceBlocks(const SourceFile &source, const OutputFolder &folder,
                             qint64 pieceLength) {
    if (source.facts().identity.device != folder.identity().device)
        return false;
    const qint64 block = folder.sharedBlockSize();
    return block > 0 && pieceLength % block == 0;
}
