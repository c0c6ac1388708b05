#include "CacheBypass.h"

#include "FileHandle.h"

#include <cstdint>

CacheBypass::CacheBypass(const FileHandle &file)
    : m_file(file)
    , m_active(file.files().bypassCache(file.fd(), true) == 0) {}

CacheBypass::~CacheBypass() {
    end();
}

void CacheBypass::end() noexcept {
    // Should clearing it fail, as it never does where setting it worked, a transfer of part of a
    // block fails with the system's reason: never a wrong byte.
    if (m_active)
        m_file.files().bypassCache(m_file.fd(), false);
    m_active = false;
}

void CacheBypass::fail(int error) const {
    m_file.fail(error);
}

qint64 CacheBypass::fits(const char *buffer, qint64 size, qint64 offset) const {
    const auto address = qint64(reinterpret_cast<std::uintptr_t>(buffer));
    if (!m_active || offset % kBlock != 0 || address % kBlock != 0)
        return 0;
    return size - size % kBlock;
}
