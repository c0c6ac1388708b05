#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <functional>
#include <optional>

class TextOut;

// Where a text is read from: up to size bytes at offset into into; how many, 0 only at its end.
// What it throws, the reads throw.
using TextSource = std::function<qint64(char *into, qint64 size, qint64 offset)>;

// The text of bytes, which must outlive it.
TextSource textSourceOf(const QByteArray &bytes);

// A text read a block at a time, so that a text of any length takes no more memory than the
// block: by lines, or held to what a writer writes. Its source must outlive it.
class TextIn {
public:
    explicit TextIn(const TextSource &source, qint64 offset = 0);

    // Of the next byte not yet taken.
    qint64 offset() const noexcept { return m_offset + m_at; }
    bool atEnd();

    // The next line, without its line end, valid until the next call; nothing at the end, or
    // where the line does not end within a block (no text of ours has such lines).
    std::optional<QByteArrayView> line();
    // Whether text comes next; it is taken where it does.
    bool take(QByteArrayView text);
    // Whether the text that write writes comes next; it is taken where it does. The writing
    // ends at the first byte that differs.
    bool take(const std::function<void(TextOut &out)> &write);
    // How many times term stands in the rest, which it reads to the end.
    qint64 countInRest(QByteArrayView term);
    // Calls each with the rest, a block at a time, to the end.
    void readRest(const std::function<void(QByteArrayView block)> &each);

private:
    static constexpr qsizetype kBlockBytes = qsizetype(64) << 10;

    qsizetype unread() const noexcept { return m_block.size() - m_at; }
    // Reads more after the bytes not yet taken; false where nothing more came.
    bool fill();

    const TextSource &m_source;
    QByteArray m_block;
    qsizetype m_at = 0; // in m_block, of the next byte not yet taken
    qint64 m_offset;    // of m_block's first byte
};
