#include "FileHandle.h"

#include <utility>

FileHandle::~FileHandle() {
    close();
}

FileHandle::FileHandle(FileHandle &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)) {}

FileHandle &FileHandle::operator=(FileHandle &&other) noexcept {
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}
