#include "OutputFolder.h"

QString OutputFolder::filePath(const QByteArray &name) const {
    return m_path + fromFileSystemName(name);
}

void OutputFolder::writeWholeFile(const QByteArray &name, const QByteArray &contents) const {
    FileHandle file = create(name.constData());
    if (const int error = writeAll(file.fd(), contents.constData(), contents.size()))
        fail(name, error);
    if (const int error = file.close())
        fail(name, error);
}
