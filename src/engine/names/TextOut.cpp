#include "names/TextOut.h"

#include <utility>

TextOut::TextOut(Drain drain)
    : m_drain(std::move(drain)) {
    m_block.reserve(kBlockBytes);
}

TextOut &TextOut::operator<<(QByteArrayView text) {
    if (m_block.size() + text.size() > kBlockBytes)
        finish();
    if (text.size() >= kBlockBytes)
        m_drain(text);
    else
        m_block += text;
    return *this;
}

void TextOut::finish() {
    if (m_block.isEmpty())
        return;
    m_drain(m_block);
    m_block.clear();
}

QByteArray TextOut::gathered(const std::function<void(TextOut &out)> &write) {
    QByteArray text;
    TextOut out([&text](QByteArrayView block) { text += block; });
    write(out);
    out.finish();
    return text;
}
