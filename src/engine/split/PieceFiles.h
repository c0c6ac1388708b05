#pragma once

#include "FileFacts.h"

#include <QHash>
#include <QtGlobal>

#include <functional>
#include <optional>
#include <vector>

// The files at one file's piece names that its split may remove, while they are still those
// files: those an earlier split left there, as its check found them, and those its cut makes,
// in number order from the first. A cut opens an earlier piece to write it again, so the piece
// it makes takes the earlier one's place. Eight bytes a piece, as they lie in one folder.
class PieceFiles {
public:
    // Room for pieces, taken from memory only as they come.
    void reserve(qint64 pieces);
    // Piece number stands there as the file identity, from an earlier split.
    void addEarlier(qint64 number, const FileIdentity &identity);
    // Piece made() + 1 is made, as the file identity.
    void addMade(const FileIdentity &identity);
    // The highest piece made; 0 for none.
    qint64 made() const noexcept { return m_made; }
    std::optional<FileIdentity> of(qint64 number) const;
    // Forgets the highest made, once it is gone.
    void dropLastMade();
    // Each piece with its file, in no particular order.
    void forEach(const std::function<void(qint64 number, const FileIdentity &)> &take) const;

private:
    void set(qint64 number, const FileIdentity &identity);
    void forget(qint64 number);

    quint64 m_device = 0;
    std::vector<quint64> m_inodes; // piece k's at k - 1; 0 where there is none
    // Those of another device, or numbered far past the others: few, if any.
    QHash<qint64, FileIdentity> m_apart;
    qint64 m_made = 0;
};
