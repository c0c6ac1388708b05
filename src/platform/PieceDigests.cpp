#include "PieceDigests.h"

#include "FileHandle.h"

#include <algorithm>
#include <cerrno>
#include <memory>

PieceDigests::PieceDigests(const QList<QByteArray> &hex) {
    m_held.reserve(hex.size() * kDigestBytes);
    for (const QByteArray &digest : hex)
        append(digest);
}

bool PieceDigests::isDigest(QByteArrayView text) {
    return text.size() == 2 * kDigestBytes && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

void PieceDigests::append(QByteArrayView hex) {
    Q_ASSERT(isDigest(hex));
    m_held += QByteArray::fromHex(hex.toByteArray());
    ++m_count;
    if (m_makeSpill && m_held.size() >= kBlockBytes) {
        if (!m_spill)
            m_spill = &m_makeSpill();
        m_spill->write(m_held.constData(), m_held.size());
        m_spilled += m_held.size() / kDigestBytes;
        m_held.clear();
    }
}

void PieceDigests::keepFirst(qint64 count) {
    if (count >= m_count)
        return;
    m_count = count;
    if (count >= m_spilled)
        m_held.truncate((count - m_spilled) * kDigestBytes);
    else
        m_held.clear();
}

QByteArray PieceDigests::at(qint64 index) const {
    Q_ASSERT(index >= 0 && index < m_count);
    if (index >= m_spilled)
        return m_held.mid((index - m_spilled) * kDigestBytes, kDigestBytes).toHex();
    QByteArray digest(kDigestBytes, Qt::Uninitialized);
    readSpilled(digest.data(), 1, index);
    return digest.toHex();
}

void PieceDigests::forEach(const std::function<void(QByteArrayView hex)> &each) const {
    const auto tell = [&each](const char *bytes, qint64 count) {
        for (qint64 i = 0; i < count; ++i)
            each(QByteArray::fromRawData(bytes + i * kDigestBytes, kDigestBytes).toHex());
    };
    const qint64 spilled = std::min(m_spilled, m_count);
    if (spilled > 0) {
        const auto block = std::make_unique<char[]>(kBlockBytes);
        for (qint64 from = 0; from < spilled; from += kBlockBytes / kDigestBytes) {
            const qint64 count = std::min(spilled - from, kBlockBytes / kDigestBytes);
            readSpilled(block.get(), count, from);
            tell(block.get(), count);
        }
    }
    tell(m_held.constData(), m_count - spilled);
}

void PieceDigests::readSpilled(char *into, qint64 count, qint64 from) const {
    const qint64 bytes = count * kDigestBytes;
    // Only this process writes it: a short read is the disk's fault.
    if (m_spill->readFully(into, bytes, from * kDigestBytes) != bytes)
        m_spill->fail(EIO);
}
