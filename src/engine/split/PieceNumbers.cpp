#include "split/PieceNumbers.h"

#include <algorithm>
#include <bit>

namespace {

// Bits a number may cost beyond the first numbers: 8 bytes each, however they are spread.
constexpr qint64 kBitsPerNumber = 64;
constexpr qint64 kFirstNumbers = 1024;

} // namespace

void PieceNumbers::add(qint64 number) {
    ++m_added;
    if (number > covered() && !cover(number)) {
        m_apart.insert(number);
        return;
    }
    const auto bit = std::uint64_t(number - 1);
    m_bits[bit / 64] |= std::uint64_t(1) << (bit % 64);
}

bool PieceNumbers::cover(qint64 number) {
    const qint64 most = kBitsPerNumber * (m_added + kFirstNumbers);
    if (number > most)
        return false;
    // Doubled at least, so that numbers that come in any order cost little copying.
    const qint64 wanted = std::min(std::max(number, 2 * covered()), most);
    m_bits.resize(std::size_t((wanted + 63) / 64));
    const auto end = m_apart.upper_bound(covered());
    for (auto moved = m_apart.begin(); moved != end; ++moved) {
        const auto bit = std::uint64_t(*moved - 1);
        m_bits[bit / 64] |= std::uint64_t(1) << (bit % 64);
    }
    m_apart.erase(m_apart.begin(), end);
    return true;
}

bool PieceNumbers::contains(qint64 number) const {
    if (number < 1)
        return false;
    if (number > covered())
        return m_apart.count(number) > 0;
    const auto bit = std::uint64_t(number - 1);
    return (m_bits[bit / 64] >> (bit % 64) & 1) != 0;
}

std::optional<qint64> PieceNumbers::firstFrom(qint64 from) const {
    from = std::max<qint64>(from, 1);
    if (from <= covered()) {
        auto word = std::size_t((from - 1) / 64);
        // The bits below from in its word are not looked at.
        std::uint64_t bits = m_bits[word] & (~std::uint64_t(0) << ((from - 1) % 64));
        for (;;) {
            if (bits != 0)
                return qint64(word) * 64 + std::countr_zero(bits) + 1;
            if (++word == m_bits.size())
                break;
            bits = m_bits[word];
        }
    }
    if (const auto apart = m_apart.lower_bound(from); apart != m_apart.end())
        return *apart;
    return std::nullopt;
}
