#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

// A text passed on as it is made, a block at a time, so that a text of any length takes no more
// memory than the block: to a file, or gathered into bytes.
class TextOut {
public:
    using Drain = std::function<void(QByteArrayView block)>;

    explicit TextOut(Drain drain);

    TextOut &operator<<(QByteArrayView text);
    TextOut &operator<<(char ch) { return *this << QByteArrayView(&ch, 1); }
    // Passes on what is left; what the drain throws, it throws.
    void finish();

    // The text that write writes, whole.
    static QByteArray gathered(const std::function<void(TextOut &out)> &write);

private:
    static constexpr qsizetype kBlockBytes = qsizetype(64) << 10;

    Drain m_drain;
    QByteArray m_block;
};
