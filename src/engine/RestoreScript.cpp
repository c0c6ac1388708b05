#include "RestoreScript.h"

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

QString firstTerm(const QString &fileName) {
    return QStringLiteral("copy /b ") + quoted(fileName + QStringLiteral(".1")) + u' ';
}

QString nextTerm(const QString &fileName, qint64 pieceNumber) {
    return QStringLiteral("+ ") + quoted(fileName + u'.' + QString::number(pieceNumber)) + u' ';
}

QString destination(const QString &fileName) {
    return u' ' + quoted(fileName);
}

QString continuation(const QString &fileName) {
    return QStringLiteral("copy /b ") + quoted(fileName) + u' ';
}

qsizetype scriptBytes(const QString &text) {
    return isAscii(text) ? text.size() : text.toUtf8().size();
}

void appendPiece(QString &command, qsizetype &lineBytes, const QString &fileName,
                 qint64 pieceNumber) {
    const QString term = nextTerm(fileName, pieceNumber);
    const qsizetype termBytes = scriptBytes(term);
    const QString end = destination(fileName);
    if (lineBytes + termBytes + scriptBytes(end) > kMaxLineBytes) {
        const QString next = continuation(fileName);
        command += end + kLineEnd + next;
        lineBytes = scriptBytes(next);
    }
    command += term;
    lineBytes += termBytes;
}

QString echoLine(const QString &fileName) {
    return QStringLiteral("echo ") + plain(fileName) + QStringLiteral(" has been restored");
}

QByteArray contents(const QString &fileName, const QString &restoreCommand) {
    const QString text = restoreCommand + kLineEnd + echoLine(fileName) + kLineEnd;
    if (isAscii(fileName))
        return text.toLatin1();
    return QByteArray(kUtf8Line) + kLineEnd.toLatin1() + text.toUtf8();
}

QByteArray scriptFor(const QString &fileName, qint64 pieceCount) {
    QString command = firstTerm(fileName);
    qsizetype lineBytes = scriptBytes(command);
    for (qint64 piece = 2; piece <= pieceCount; ++piece)
        appendPiece(command, lineBytes, fileName, piece);
    return contents(fileName, command + destination(fileName));
}

} // namespace RestoreScript
