#include "checksums/FileSha256.h"

#include "DigestPipeline.h"
#include "Failure.h"
#include "SourceFile.h"

void feedFile(DigestPipeline &digests, const OutputFolder &folder, const QByteArray &name,
              const std::function<bool()> &keepGoing, const std::function<void(qint64)> &onRead) {
    const SourceFile file(folder, name);
    for (qint64 offset = 0;;) {
        if (!keepGoing())
            throw Failure::stopped();
        char *buffer = digests.nextBuffer();
        const qint64 got = file.readAt(buffer, digests.room(), offset);
        // A file that ends on a buffer's end is told so by an empty buffer after it.
        digests.hash(got, got == 0);
        if (got == 0)
            return;
        offset += got;
        if (onRead)
            onRead(got);
    }
}

QByteArray sha256Of(const OutputFolder &folder, const QByteArray &name,
                    const std::function<bool()> &keepGoing,
                    const std::function<void(qint64)> &onRead) {
    DigestPipeline digests({}, DigestPipeline::Digests::WholeOnly);
    feedFile(digests, folder, name, keepGoing, onRead);
    return digests.wholeDigest();
}
