#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

#include <functional>
#include <limits>
#include <utility>

class FileHandle;

// The SHA-256 of every piece of a file, in order, given and read back as lower-case hex: kept
// in memory, or, for a cut of any number of pieces, in a file of their own that only this
// process writes (an unnamed one beside the pieces), made once there are more than a block of
// them, so that a million pieces take no more memory than a thousand.
class PieceDigests {
public:
    PieceDigests() = default;
    // Gives the file they go to, made at the first call; it must outlive this.
    using Spill = std::function<const FileHandle &()>;

    // Written to the file of spill as they come, a block at a time.
    explicit PieceDigests(Spill spill)
        : m_makeSpill(std::move(spill)) {}
    explicit PieceDigests(const QList<QByteArray> &hex);
    PieceDigests(PieceDigests &&) noexcept = default;
    PieceDigests &operator=(PieceDigests &&) noexcept = default;
    PieceDigests(const PieceDigests &) = delete;
    PieceDigests &operator=(const PieceDigests &) = delete;

    // Bytes that count digests take in a spill at most; 0 where they are too few to be spilled.
    static qint64 spilledBytes(qint64 count) {
        if (count < kBlockBytes / kDigestBytes)
            return 0;
        return count > std::numeric_limits<qint64>::max() / kDigestBytes
                   ? std::numeric_limits<qint64>::max()
                   : count * kDigestBytes;
    }
    // Whether text is a digest as these are given: 64 lower-case hex digits.
    static bool isDigest(QByteArrayView text);

    qint64 size() const noexcept { return m_count; }
    bool isEmpty() const noexcept { return m_count == 0; }

    // The next piece's; throws Failure where the spill cannot be written.
    void append(QByteArrayView hex);
    // Forgets those past the first count.
    void keepFirst(qint64 count);
    // Piece index's (from 0).
    QByteArray at(qint64 index) const;
    // Calls each with every digest in order.
    void forEach(const std::function<void(QByteArrayView hex)> &each) const;

private:
    void readSpilled(char *into, qint64 count, qint64 from) const;

    static constexpr qint64 kDigestBytes = 32;
    static constexpr qint64 kBlockBytes = kDigestBytes * 2048;

    Spill m_makeSpill;
    const FileHandle *m_spill = nullptr; // once made
    qint64 m_count = 0;
    qint64 m_spilled = 0; // of them, in the spill
    QByteArray m_held;    // the rest, as bytes
};
