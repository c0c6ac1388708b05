#include "BlockSharing.h"

#include "Failure.h"
#include "FileHandle.h"
#include "OutputFolder.h"
#include "SourceFile.h"

#include <algorithm>
#include <cerrno>

bool canShareBlocks(const OutputFolder &folder, const SourceFile &source, qint64 blockSize) {
    const qint64 length = std::min(source.facts().size, blockSize);
    if (length <= 0)
        return false;
    try {
        const FileHandle trial = folder.createUnnamed();
        return trial.fd() >= 0 &&
               folder.files().cloneRange(source.fd(), 0, trial.fd(), 0, off_t(length)) == 0;
    } catch (const Failure &) { // what stands in the way stands in a copy's way too, and says so
        return false;
    }
}

Sharing shareBlocks(const SourceFile &source, qint64 length, const FileHandle &target, qint64 at) {
    if (length == 0)
        return Sharing::Shared; // the system's 0 would mean all of source
    if (target.files().cloneRange(source.fd(), 0, target.fd(), off_t(at), off_t(length)) == 0)
        return Sharing::Shared;
    const int error = errno;
    // A range past the source's end is refused, not shortened.
    if (error == EINVAL && source.currentFacts().size < length)
        return Sharing::SourceEnded;
    if (error == EXDEV || error == EINVAL || error == EOPNOTSUPP || error == EPERM)
        return Sharing::Refused;
    target.fail(error);
}
