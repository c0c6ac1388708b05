#include "checksums/FileDigest.h"

#include "Sha256.h"
#include "SourceFile.h"

#include <memory>

namespace {

// Large enough for few calls, small enough to stay in the processor's cache while it is hashed.
constexpr qint64 kBufferBytes = qint64(1) << 20;

} // namespace

std::optional<FileDigest> digestOfFile(const SourceFile &file,
                                       const std::function<bool()> &keepGoing,
                                       const std::function<void(qint64)> &onRead) {
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBufferBytes);
    Sha256 hash;
    FileDigest digest;
    for (;;) {
        if (!keepGoing())
            return std::nullopt;
        const qint64 got = file.readAt(buffer.get(), kBufferBytes, digest.bytes);
        if (got == 0)
            break;
        hash.add(buffer.get(), got);
        digest.bytes += got;
        if (onRead)
            onRead(got);
    }
    digest.hex = hash.hexDigest();
    return digest;
}
