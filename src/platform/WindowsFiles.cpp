#include "WindowsFiles.h"

#include <QDir>

#include <fcntl.h>
#include <io.h>

HANDLE osHandle(int fd) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

int adoptHandle(HANDLE handle, int flags) {
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0)
        ::CloseHandle(handle);
    return fd;
}

std::wstring widePath(const QString &path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

FileFacts factsOf(const BY_HANDLE_FILE_INFORMATION &information, DWORD fileType) {
    FileFacts facts;
    const DWORD attributes = information.dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        facts.kind = FileKind::SymbolicLink;
    else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        facts.kind = FileKind::Folder;
    else if (fileType != FILE_TYPE_DISK)
        facts.kind = FileKind::Device;
    else
        facts.kind = FileKind::Regular;
    facts.identity = {information.dwVolumeSerialNumber,
                      (quint64(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
    facts.size = qint64((quint64(information.nFileSizeHigh) << 32) | information.nFileSizeLow);
    facts.allocatedBytes = facts.size;
    facts.linkCount = qint64(information.nNumberOfLinks);
    return facts;
}
