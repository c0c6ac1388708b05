#include "names/RestoreScript.h"

#include "names/OutputNames.h"
#include "names/TextIn.h"
#include "names/TextOut.h"
#include "run/Saturating.h"

namespace RestoreScript {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

bool isAscii(const QString &text) {
    for (const QChar ch : text) {
        if (ch.unicode() > 0x7f)
            return false;
    }
    return true;
}

// Inside double quotes only % is special: %% is read as one %.
QString quoted(const QString &text) {
    QString escaped = text;
    escaped.replace(u'%', QStringLiteral("%%"));
    return u'"' + escaped + u'"';
}

// Outside quotes the caret makes the next character plain.
QString plain(const QString &text) {
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar ch : text) {
        if (ch == u'%')
            escaped += u'%';
        else if (QStringView(u"^&|<>()").contains(ch))
            escaped += u'^';
        escaped += ch;
    }
    return escaped;
}

} // namespace

QString firstTerm(const OutputNames &names) {
    return QStringLiteral("copy /b ") + quoted(names.piece(1)) + u' ';
}

QString nextTerm(const OutputNames &names, qint64 pieceNumber) {
    return QStringLiteral("+ ") + quoted(names.piece(pieceNumber)) + u' ';
}

QString destination(const OutputNames &names) {
    return u' ' + quoted(names.fileName());
}

QString continuation(const OutputNames &names) {
    return QStringLiteral("copy /b ") + quoted(names.fileName()) + u' ';
}

qsizetype scriptBytes(const QString &text) {
    return isAscii(text) ? text.size() : text.toUtf8().size();
}

QString echoLine(const QString &fileName) {
    return QStringLiteral("echo ") + plain(fileName) + QStringLiteral(" has been restored");
}

void write(TextOut &out, const OutputNames &names, qint64 pieceCount) {
    const bool ascii = isAscii(names.fileName());
    const auto put = [&](const QString &text) { out << (ascii ? text.toLatin1() : text.toUtf8()); };
    if (!ascii)
        out << kUtf8Line << "\r\n";
    const QString end = destination(names);
    const qsizetype endBytes = scriptBytes(end);
    const QString first = firstTerm(names);
    put(first);
    qsizetype lineBytes = scriptBytes(first);
    for (qint64 piece = 2; piece <= pieceCount; ++piece) {
        const QString term = nextTerm(names, piece);
        const qsizetype termBytes = scriptBytes(term);
        // A line the term would carry too far ends here, and the join goes on in the next.
        if (lineBytes + termBytes + endBytes > kMaxLineBytes) {
            const QString next = continuation(names);
            put(end + kLineEnd + next);
            lineBytes = scriptBytes(next);
        }
        put(term);
        lineBytes += termBytes;
    }
    put(end + kLineEnd + echoLine(names.fileName()) + kLineEnd);
}

qint64 bytesAtMost(const OutputNames &names, qint64 pieces) {
    // As if every piece stood on a copy line of its own.
    const qint64 perPiece = scriptBytes(nextTerm(names, pieces)) +
                            scriptBytes(continuation(names)) + scriptBytes(destination(names)) + 2;
    return saturatingAdd(saturatingMultiply(pieces, perPiece),
                         2 * scriptBytes(names.fileName()) + 64);
}

std::optional<qint64> piecesIn(const TextSource &script, const OutputNames &names) {
    // Each piece's term opens with its quoted name; the destination's has no dot after it.
    const QString prefix = quoted(names.piece(1)).chopped(2);
    const QByteArray term = isAscii(names.fileName()) ? prefix.toLatin1() : prefix.toUtf8();
    const qint64 pieces = TextIn(script).countInRest(term);
    TextIn in(script);
    if (pieces > 0 && in.take([&](TextOut &out) { write(out, names, pieces); }) && in.atEnd())
        return pieces;
    return std::nullopt;
}

} // namespace RestoreScript
