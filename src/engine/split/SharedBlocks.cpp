#include "split/SharedBlocks.h"

#include "BlockSharing.h"
#include "OutputFolder.h"
#include "SourceFile.h"

bool piecesShareSourceBlocks(const SourceFile &source, const OutputFolder &folder,
                             qint64 pieceLength) {
    const qint64 block = folder.capacity().blockSize;
    return block > 0 && pieceLength % block == 0 && canShareBlocks(folder, source, block);
}
