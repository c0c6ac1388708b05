#include "FileHandle.h"

#include "WindowsFiles.h"

#include <algorithm>
#include <utility>

#include <io.h>
#include <stdlib.h>

int FileHandle::close() noexcept {
    if (m_fd < 0)
        return 0;
    return ::_close(std::exchange(m_fd, -1)) == 0 ? 0 : int(_doserrno);
}

int writeAll(int fd, const char *data, qint64 size) {
    while (size > 0) {
        const DWORD step = DWORD(std::min<qint64>(size, qint64(1) << 30));
        DWORD written = 0;
        if (!::WriteFile(osHandle(fd), data, step, &written, nullptr))
            return int(::GetLastError());
        if (written == 0)
            return ERROR_DISK_FULL;
        data += written;
        size -= written;
    }
    return 0;
}

int flushToDisk(int fd) {
    return ::FlushFileBuffers(osHandle(fd)) ? 0 : int(::GetLastError());
}
