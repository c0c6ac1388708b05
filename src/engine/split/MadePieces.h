#pragma once

#include "FileFacts.h"

#include <QtGlobal>

#include <optional>
#include <vector>

// The pieces a cut made, in number order from the first, each as the file it made: its own to
// remove while they are still those files. Eight bytes a piece, as they all lie in one folder.
class MadePieces {
public:
    // Piece last() + 1, made as the file identity.
    void add(const FileIdentity &identity) {
        if (m_inodes.empty())
            m_device = identity.device;
        Q_ASSERT(identity.device == m_device);
        m_inodes.push_back(identity.inode);
    }
    // The highest made; 0 for none.
    qint64 last() const noexcept { return qint64(m_inodes.size()); }
    std::optional<FileIdentity> of(qint64 piece) const {
        if (piece < 1 || piece > last())
            return std::nullopt;
        return FileIdentity{m_device, m_inodes[piece - 1]};
    }
    // Forgets the highest, once it is gone.
    void dropLast() { m_inodes.pop_back(); }

private:
    quint64 m_device = 0;
    std::vector<quint64> m_inodes; // piece k's at k - 1
};
