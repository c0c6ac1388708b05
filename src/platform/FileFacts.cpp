#include "FileFacts.h"

QString describeKind(FileKind kind) {
    switch (kind) {
    case FileKind::Missing:
        break;
    case FileKind::Regular:
        return QStringLiteral("a file");
    case FileKind::Folder:
        return QStringLiteral("a folder");
    case FileKind::SymbolicLink:
        return QStringLiteral("a symbolic link");
    case FileKind::Fifo:
        return QStringLiteral("a FIFO (named pipe)");
    case FileKind::Device:
        return QStringLiteral("a device");
    case FileKind::Socket:
        return QStringLiteral("a socket");
    case FileKind::Other:
        return QStringLiteral("not a regular file");
    }
    return {};
}
