#pragma once

#include <QtGlobal>

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

// The numbers of the pieces a folder holds of one file, in any order. A bit a number where
// they run from 1 with few gaps, as an earlier split leaves them, so that a million take
// 125 KiB; numbers far past the others, as a file of someone else's may carry, apart.
class PieceNumbers {
public:
    void add(qint64 number);
    bool contains(qint64 number) const;
    // The lowest number there of at least from; none past the highest.
    std::optional<qint64> firstFrom(qint64 from) const;
    // How many were added: at least how many there are.
    qint64 added() const noexcept { return m_added; }

private:
    qint64 covered() const { return qint64(m_bits.size()) * 64; }
    // Numbers 1 to covered() in bits, grown to at least number while that stays within bits
    // a number added; those it then covers move into the bits. False where it would not.
    bool cover(qint64 number);

    qint64 m_added = 0;
    std::vector<std::uint64_t> m_bits; // number n at bit (n - 1) % 64 of word (n - 1) / 64
    std::set<qint64> m_apart;          // each past covered()
};
