#include "FileChannel.h"

#include "FileError.h"
#include "KernelCopy.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// Large enough that system calls cost nothing next to the disk, small enough to keep memory flat.
constexpr qint64 kBufferBytes = 1 << 20;

[[noreturn]] void raise(const QFile &file) {
    throw FileError(file.fileName(), file.errorString());
}

// A write cut short (a disk filling up) is retried, so that the next call reports the reason.
void writeAll(QFile &file, const char *data, qint64 size) {
    while (size > 0) {
        const qint64 written = file.write(data, size);
        if (written <= 0)
            raise(file);
        data += written;
        size -= written;
    }
}

qint64 copyThroughBuffer(QFile &in, qint64 &inOffset, QFile &out, qint64 &outOffset, char *buffer,
                         qint64 maxBytes) {
    // The kernel copy moves neither file's own position, so both are set from the offsets.
    if (!in.seek(inOffset))
        raise(in);
    if (!out.seek(outOffset))
        raise(out);
    qint64 moved = 0;
    while (moved < maxBytes) {
        const qint64 got = in.read(buffer, std::min(kBufferBytes, maxBytes - moved));
        if (got < 0)
            raise(in);
        if (got == 0)
            break;
        writeAll(out, buffer, got);
        moved += got;
        inOffset += got;
        outOffset += got;
    }
    return moved;
}

} // namespace

InputChannel::InputChannel(const QString &path)
    : m_file(path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw FileError(path, QStringLiteral("not a regular file"));
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        raise(m_file);
}

bool InputChannel::atEnd() const {
    return m_offset >= m_file.size();
}

OutputChannel::OutputChannel(const QString &path)
    : m_file(path) {
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        raise(m_file);
}

void OutputChannel::close() {
    m_file.close();
    if (m_file.error() != QFileDevice::NoError)
        raise(m_file);
}

qint64 transferBytes(InputChannel &source, OutputChannel &target, qint64 maxBytes) {
    qint64 moved = 0;
    while (source.m_kernelCopy && moved < maxBytes) {
        const qint64 copied = kernelCopy(source.m_file.handle(), source.m_offset,
                                         target.m_file.handle(), target.m_offset, maxBytes - moved);
        if (copied == 0)
            return moved;
        if (copied < 0)
            source.m_kernelCopy = false;
        else
            moved += copied;
    }
    if (moved == maxBytes)
        return moved;
    if (!source.m_buffer)
        source.m_buffer = std::make_unique<char[]>(kBufferBytes);
    return moved + copyThroughBuffer(source.m_file, source.m_offset, target.m_file, target.m_offset,
                                     source.m_buffer.get(), maxBytes - moved);
}

void writeWholeFile(const QString &path, const QByteArray &contents) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        raise(file);
    writeAll(file, contents.constData(), contents.size());
    file.close();
    if (file.error() != QFileDevice::NoError)
        raise(file);
}
