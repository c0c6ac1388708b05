#include "checksums/FileSha256.h"

#include "DigestPipeline.h"
#include "Failure.h"
#include "SourceFile.h"

QByteArray sha256Of(const OutputFolder &folder, const QByteArray &name,
                    const std::function<bool()> &keepGoing,
                    const std::function<void(qint64)> &onRead) {
    const SourceFile file(folder, name);
    DigestPipeline digests({}, DigestPipeline::Digests::WholeOnly);
    for (qint64 offset = 0;;) {
        if (!keepGoing())
            throw Failure::stopped();
        char *buffer = digests.nextBuffer();
        const qint64 got = file.readAt(buffer, DigestPipeline::kBufferBytes, offset);
        digests.hash(got, got == 0);
        if (got == 0)
            return digests.wholeDigest();
        offset += got;
        if (onRead)
            onRead(got);
    }
}
