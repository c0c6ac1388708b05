#include "KernelCopy.h"

#include <cerrno>

#include <sys/sendfile.h>
#include <unistd.h>

qint64 kernelCopy(CopyMethod method, int inFd, qint64 &offset, int outFd, qint64 count) {
    for (;;) {
        ssize_t copied = -1;
        if (method == CopyMethod::Kernel) {
            loff_t in = offset;
            copied = ::copy_file_range(inFd, &in, outFd, nullptr, size_t(count), 0);
        } else {
            off_t in = offset;
            copied = ::sendfile(outFd, inFd, &in, size_t(count));
        }
        if (copied >= 0) {
            offset += copied;
            return copied;
        }
        if (errno != EINTR)
            return -errno;
    }
}

bool refusesKernelCopy(int error) {
    // EXDEV: between two file systems; EINVAL, EOPNOTSUPP, ENOSYS: not for these files or this
    // kernel; EBADF: a target opened for appending.
    return error == EXDEV || error == EINVAL || error == EOPNOTSUPP || error == ENOSYS ||
           error == EBADF;
}
