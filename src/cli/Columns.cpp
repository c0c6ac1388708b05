#include "Columns.h"

#include <QList>

#include <unicode/uchar.h>

namespace Columns {

namespace {

const QString kEllipsis = QStringLiteral("\u2026");

int columnsOf(char32_t code) {
    const auto category = UCharCategory(u_charType(UChar32(code)));
    // Hangul vowels and finals after a leading consonant join it in one syllable.
    if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK ||
        category == U_FORMAT_CHAR || (code >= 0x1160 && code <= 0x11ff))
        return 0;
    const int width = u_getIntPropertyValue(UChar32(code), UCHAR_EAST_ASIAN_WIDTH);
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

// A character as the terminal draws it: a code point and the marks that follow it.
struct Glyph {
    qsizetype start;
    qsizetype length;
    int columns;
};

QList<Glyph> glyphs(const QString &text) {
    QList<Glyph> found;
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t code =
            pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        const int columns = columnsOf(code);
        if (columns == 0 && !found.isEmpty())
            found.last().length += pair ? 2 : 1;
        else
            found.append({i, pair ? 2 : 1, columns});
        i += pair ? 2 : 1;
    }
    return found;
}

} // namespace

int of(const QString &text) {
    int columns = 0;
    for (const Glyph &glyph : glyphs(text))
        columns += glyph.columns;
    return columns;
}

QString elidedInMiddle(const QString &text, int columns) {
    if (of(text) <= columns)
        return text;
    if (columns < 1)
        return {};
    const QList<Glyph> all = glyphs(text);
    int headRoom = (columns - 1) / 2;
    int tailRoom = columns - 1 - headRoom;
    qsizetype head = 0;
    for (; head < all.size() && all[head].columns <= headRoom; ++head)
        headRoom -= all[head].columns;
    qsizetype tail = all.size();
    for (; tail > head && all[tail - 1].columns <= tailRoom; --tail)
        tailRoom -= all[tail - 1].columns;
    const qsizetype headEnd = head == 0 ? 0 : all[head - 1].start + all[head - 1].length;
    const qsizetype tailStart = tail == all.size() ? text.size() : all[tail].start;
    return text.left(headEnd) + kEllipsis + text.mid(tailStart);
}

QString elidedAtEnd(const QString &text, int columns) {
    if (of(text) <= columns)
        return text;
    if (columns < 1)
        return {};
    int room = columns - 1;
    qsizetype end = 0;
    for (const Glyph &glyph : glyphs(text)) {
        if (glyph.columns > room)
            break;
        room -= glyph.columns;
        end = glyph.start + glyph.length;
    }
    return text.left(end) + kEllipsis;
}

} // namespace Columns
