#pragma once

#include <QtGlobal>

#include <cerrno>

class FileHandle;

// O_DIRECT on a descriptor for as long as this lives, where the file system lets it: reads and
// writes of whole blocks, at a whole block of the file and from or into a buffer aligned to one,
// then go between the disk and the caller's buffer, with no copy in the page cache. For a file
// read or written once (a piece, a file that shares another's blocks), it saves the kernel's copy
// of every byte, which on a machine of few cores is time taken from hashing, and pushes nothing
// of the user's out of memory. Everything else, and everything once the file system has refused
// such a transfer, goes through the cache. One thread at a time.
class CacheBypass {
public:
    static constexpr qint64 kBlock = 4096;

    explicit CacheBypass(const FileHandle &file);
    ~CacheBypass();
    CacheBypass(const CacheBypass &) = delete;
    CacheBypass &operator=(const CacheBypass &) = delete;

    // The part of a transfer of size bytes at offset from or into buffer that may go past the
    // cache: whole blocks; 0 where none may.
    qint64 fits(const char *buffer, qint64 size, qint64 offset) const;
    // Makes call, a read or write of fits() bytes past the cache, until the system stops
    // interrupting it; returns what it returns, or -1 where the file system refused it (after
    // which everything goes through the cache). Throws Failure for any other error.
    template <typename Call> qint64 transfer(Call call);

    // Everything through the cache from now on.
    void end() noexcept;

private:
    [[noreturn]] void fail(int error) const;

    const FileHandle &m_file;
    bool m_active;
};

template <typename Call> qint64 CacheBypass::transfer(Call call) {
    for (;;) {
        const qint64 done = call();
        if (done >= 0)
            return done;
        // The alignment this file system asks for is another.
        if (errno == EINVAL) {
            end();
            return -1;
        }
        if (errno != EINTR)
            fail(errno);
    }
}
