#include "OutputFolder.h"

#include "FileError.h"
#include "Paths.h"
#include "WindowsFiles.h"

#include <QStorageInfo>

#include <fcntl.h>
#include <io.h>

// Windows names files in UTF-16; UTF-8 carries every one of its characters.
QByteArray fileSystemName(const QString &name) {
    return name.toUtf8();
}

QString fromFileSystemName(const QByteArray &name) {
    return QString::fromUtf8(name);
}

// Windows has no descriptor of a folder to make files relative to: files are reached by their
// whole path, and the folder is checked to be one when it is opened.
OutputFolder::OutputFolder(const QString &path)
    : m_path(withTrailingSeparator(path)) {
    const DWORD attributes = ::GetFileAttributesW(widePath(m_path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        throw FileError::fromSystemError(path, int(::GetLastError()));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FileError::fromSystemError(path, ERROR_DIRECTORY);
}

FileFacts OutputFolder::facts(const QByteArray &name) const {
    return factsAt(name, /*followLinks=*/false);
}

FileFacts OutputFolder::factsFollowingLinks(const QByteArray &name) const {
    return factsAt(name, /*followLinks=*/true);
}

FileFacts OutputFolder::factsAt(const QByteArray &name, bool followLinks) const {
    // Opened for no access at all, only to read what the file is.
    const HANDLE handle = ::CreateFileW(
        widePath(filePath(name)).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return {};
        fail(name, int(error));
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = ::GetFileInformationByHandle(handle, &information);
    const DWORD error = ::GetLastError();
    const DWORD fileType = ::GetFileType(handle);
    ::CloseHandle(handle);
    if (!known)
        fail(name, int(error));
    return factsOf(information, fileType);
}

bool OutputFolder::canWrite(const QByteArray &name) const {
    return ::_waccess(widePath(name == "." ? m_path : filePath(name)).c_str(), 2) == 0;
}

FolderCapacity OutputFolder::capacity() const {
    const QStorageInfo volume(m_path);
    if (!volume.isValid())
        throw FileError::fromSystemError(m_path, ERROR_PATH_NOT_FOUND);
    FolderCapacity capacity;
    capacity.freeBytes = volume.bytesAvailable();
    capacity.blockSize = volume.blockSize() > 0 ? volume.blockSize() : 1;
    DWORD longestName = 0;
    if (::GetVolumeInformationW(widePath(volume.rootPath()).c_str(), nullptr, 0, nullptr,
                                &longestName, nullptr, nullptr, 0))
        capacity.nameMax = qint64(longestName);
    capacity.pathMax = MAX_PATH;
    return capacity;
}

QList<QByteArray> OutputFolder::entryNames() const {
    QList<QByteArray> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW(widePath(m_path + u'*').c_str(), FindExInfoBasic,
                                             &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return names;
        throw FileError::fromSystemError(m_path, int(error));
    }
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (name != u"." && name != u"..")
            names.append(fileSystemName(name));
    } while (::FindNextFileW(search, &found));
    const DWORD error = ::GetLastError();
    ::FindClose(search);
    if (error != ERROR_NO_MORE_FILES)
        throw FileError::fromSystemError(m_path, int(error));
    return names;
}

FileHandle OutputFolder::openFile(const char *name, int flags) const {
    const QByteArray fileName(name);
    // The link itself is opened, never what it points to; what it is decides below.
    const HANDLE handle =
        ::CreateFileW(widePath(filePath(fileName)).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                      DWORD(flags), FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        fail(fileName, int(::GetLastError()));
    FileHandle file(adoptHandle(handle, _O_WRONLY));
    if (file.fd() < 0)
        fail(fileName, ERROR_TOO_MANY_OPEN_FILES);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(handle, &information))
        fail(fileName, int(::GetLastError()));
    const FileFacts facts = factsOf(information, ::GetFileType(handle));
    if (facts.kind == FileKind::SymbolicLink)
        throw FileError(
            filePath(fileName),
            QStringLiteral("it is a symbolic link, which Tessary never writes through"));
    if (facts.kind != FileKind::Regular)
        throw FileError(filePath(fileName), QStringLiteral("it is not a regular file"));
    // Opened from its start: an existing file is cut to nothing here.
    if (!::SetEndOfFile(handle))
        fail(fileName, int(::GetLastError()));
    return file;
}

FileHandle OutputFolder::create(const char *name) const {
    return openFile(name, OPEN_ALWAYS);
}

FileHandle OutputFolder::createNew(const char *name) const {
    return openFile(name, CREATE_NEW);
}

void OutputFolder::remove(const QByteArray &name) const {
    if (!::DeleteFileW(widePath(filePath(name)).c_str())) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            fail(name, int(error));
    }
}

void OutputFolder::rename(const QByteArray &from, const QByteArray &to) const {
    if (!::MoveFileExW(widePath(filePath(from)).c_str(), widePath(filePath(to)).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail(to, int(::GetLastError()));
}

void OutputFolder::sync() const {
    // MOVEFILE_WRITE_THROUGH has made the rename last; Windows offers no flush of a folder.
}

void OutputFolder::fail(const QByteArray &name, int error) const {
    throw FileError::fromSystemError(filePath(name), error);
}
