#include "names/TextIn.h"

#include "names/TextOut.h"

#include <algorithm>
#include <cstring>

TextSource textSourceOf(const QByteArray &bytes) {
    return [&bytes](char *into, qint64 size, qint64 offset) {
        const qint64 count = std::clamp<qint64>(bytes.size() - offset, 0, size);
        std::memcpy(into, bytes.constData() + offset, size_t(count));
        return count;
    };
}

TextIn::TextIn(const TextSource &source, qint64 offset)
    : m_source(source)
    , m_offset(offset) {
    m_block.reserve(kBlockBytes);
}

bool TextIn::fill() {
    m_block.remove(0, m_at);
    m_offset += m_at;
    m_at = 0;
    const qsizetype had = m_block.size();
    m_block.resize(kBlockBytes);
    qsizetype got = had;
    while (got < kBlockBytes) {
        const qint64 read = m_source(m_block.data() + got, kBlockBytes - got, m_offset + got);
        if (read <= 0)
            break;
        got += qsizetype(read);
    }
    m_block.truncate(got);
    return got > had;
}

bool TextIn::atEnd() {
    return unread() == 0 && !fill();
}

std::optional<QByteArrayView> TextIn::line() {
    qsizetype end = m_block.indexOf('\n', m_at);
    if (end < 0 && fill())
        end = m_block.indexOf('\n', m_at);
    if (end < 0)
        return std::nullopt;
    const QByteArrayView text = QByteArrayView(m_block).sliced(m_at, end - m_at);
    m_at = end + 1;
    return text;
}

bool TextIn::take(QByteArrayView text) {
    while (!text.isEmpty()) {
        if (unread() == 0 && !fill())
            return false;
        const qsizetype count = std::min(unread(), text.size());
        if (QByteArrayView(m_block).sliced(m_at, count) != text.first(count))
            return false;
        m_at += count;
        text = text.sliced(count);
    }
    return true;
}

bool TextIn::take(const std::function<void(TextOut &out)> &write) {
    struct Differs {};
    TextOut out([this](QByteArrayView block) {
        if (!take(block))
            throw Differs{};
    });
    try {
        write(out);
        out.finish();
    } catch (const Differs &) {
        return false;
    }
    return true;
}

qint64 TextIn::countInRest(QByteArrayView term) {
    qint64 count = 0;
    do {
        for (qsizetype at = m_block.indexOf(term, m_at); at >= 0;
             at = m_block.indexOf(term, m_at)) {
            ++count;
            m_at = at + term.size();
        }
        // A term cut by the block's end is found once the rest of it has come.
        m_at = std::max(m_at, m_block.size() - term.size() + 1);
    } while (fill());
    m_at = m_block.size();
    return count;
}

void TextIn::readRest(const std::function<void(QByteArrayView block)> &each) {
    while (unread() > 0 || fill()) {
        each(QByteArrayView(m_block).sliced(m_at));
        m_at = m_block.size();
    }
}
