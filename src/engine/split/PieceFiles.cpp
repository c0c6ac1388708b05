#include "split/PieceFiles.h"

#include <algorithm>

namespace {

// What is reserved is only address space; pages come as pieces are written into them.
constexpr qint64 kMostReserved = qint64(1) << 24;
// How far past the others a number may lie and still be held by its place.
constexpr qint64 kMostGap = qint64(1) << 16;

} // namespace

void PieceFiles::reserve(qint64 pieces) {
    m_inodes.reserve(std::size_t(std::clamp<qint64>(pieces, 0, kMostReserved)));
}

void PieceFiles::addEarlier(qint64 number, const FileIdentity &identity) {
    set(number, identity);
}

void PieceFiles::addMade(const FileIdentity &identity) {
    set(++m_made, identity);
}

void PieceFiles::dropLastMade() {
    forget(m_made--);
}

void PieceFiles::set(qint64 number, const FileIdentity &identity) {
    if (m_inodes.empty() && m_apart.isEmpty())
        m_device = identity.device;
    // Inode 0 is no file's on Linux: it marks an empty place.
    const bool byPlace = identity.device == m_device && identity.inode != 0 &&
                         number <= qint64(m_inodes.size()) + kMostGap;
    if (!byPlace) {
        forget(number);
        m_apart.insert(number, identity);
        return;
    }
    if (number > qint64(m_inodes.size()))
        m_inodes.resize(std::size_t(number));
    m_inodes[std::size_t(number - 1)] = identity.inode;
    m_apart.remove(number);
}

void PieceFiles::forget(qint64 number) {
    if (number >= 1 && number <= qint64(m_inodes.size()))
        m_inodes[std::size_t(number - 1)] = 0;
    m_apart.remove(number);
}

std::optional<FileIdentity> PieceFiles::of(qint64 number) const {
    if (number >= 1 && number <= qint64(m_inodes.size()) && m_inodes[std::size_t(number - 1)] != 0)
        return FileIdentity{m_device, m_inodes[std::size_t(number - 1)]};
    if (const auto apart = m_apart.constFind(number); apart != m_apart.cend())
        return *apart;
    return std::nullopt;
}

void PieceFiles::forEach(
    const std::function<void(qint64 number, const FileIdentity &)> &take) const {
    for (std::size_t i = 0; i < m_inodes.size(); ++i) {
        if (m_inodes[i] != 0)
            take(qint64(i) + 1, FileIdentity{m_device, m_inodes[i]});
    }
    for (auto apart = m_apart.cbegin(); apart != m_apart.cend(); ++apart)
        take(apart.key(), apart.value());
}
