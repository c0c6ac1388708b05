#include "SourceFile.h"

#include "FileError.h"
#include "WindowsFiles.h"

#include <algorithm>
#include <utility>

#include <fcntl.h>

SourceFile::SourceFile(QString path)
    : m_path(std::move(path)) {
    const std::wstring wide = widePath(m_path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        throw FileError::fromSystemError(m_path, int(::GetLastError()));
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        throw FileError(
            m_path,
            QStringLiteral("it is %1, not a regular file").arg(describeKind(FileKind::Folder)));
    const HANDLE handle = ::CreateFileW(wide.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw FileError::fromSystemError(m_path, int(::GetLastError()));
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = ::GetFileInformationByHandle(handle, &information);
    const DWORD error = ::GetLastError();
    const DWORD fileType = ::GetFileType(handle);
    m_handle = FileHandle(adoptHandle(handle, _O_RDONLY));
    if (m_handle.fd() < 0)
        throw FileError::fromSystemError(m_path, ERROR_TOO_MANY_OPEN_FILES);
    if (!known)
        throw FileError::fromSystemError(m_path, int(error));
    m_facts = factsOf(information, fileType);
    if (m_facts.kind != FileKind::Regular)
        throw FileError(
            m_path, QStringLiteral("it is %1, not a regular file").arg(describeKind(m_facts.kind)));
}

qint64 SourceFile::readAt(char *buffer, qint64 size, qint64 offset) const {
    OVERLAPPED at{};
    at.Offset = DWORD(quint64(offset) & 0xffffffffU);
    at.OffsetHigh = DWORD(quint64(offset) >> 32);
    DWORD got = 0;
    const DWORD step = DWORD(std::min<qint64>(size, qint64(1) << 30));
    if (::ReadFile(osHandle(m_handle.fd()), buffer, step, &got, &at))
        return qint64(got);
    const DWORD error = ::GetLastError();
    if (error == ERROR_HANDLE_EOF)
        return 0;
    throw FileError::fromSystemError(m_path, int(error));
}
