#include "BlockSharing.h"

#include "Failure.h"
#include "FileHandle.h"
#include "OutputFolder.h"
#include "SourceFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <span>

#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>

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

bool sharesAllItsBlocks(const SourceFile &file) {
    const qint64 length = file.facts().size;
    if (length <= 0)
        return false;
    // The extents a call maps, as many as a few pages hold; a file of more asks again from
    // where the last one ended.
    constexpr size_t kExtents = 128;
    alignas(fiemap) std::array<std::byte, sizeof(fiemap) + kExtents * sizeof(fiemap_extent)>
        space{};
    auto *const map = reinterpret_cast<fiemap *>(space.data());
    quint64 covered = 0;
    while (covered < quint64(length)) {
        space.fill(std::byte{0});
        map->fm_start = covered;
        map->fm_length = quint64(length) - covered;
        map->fm_extent_count = kExtents;
        if (::ioctl(file.fd(), FS_IOC_FIEMAP, map) != 0 || map->fm_mapped_extents == 0)
            return false;
        for (const fiemap_extent &extent : std::span(map->fm_extents, map->fm_mapped_extents)) {
            // A hole or a range not yet written out takes no block, or one of its own soon.
            if ((extent.fe_flags & FIEMAP_EXTENT_SHARED) == 0 || extent.fe_logical > covered)
                return false;
            covered = std::max(covered, extent.fe_logical + extent.fe_length);
            if ((extent.fe_flags & FIEMAP_EXTENT_LAST) != 0 && covered < quint64(length))
                return false;
        }
    }
    return true;
}
