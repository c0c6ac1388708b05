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

bool canHoldName(const QString &fileName) {
    for (const QChar ch : fileName) {
        if (ch == u'"' || ch.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

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

QByteArray contents(const QString &fileName, const QString &restoreCommand) {
    const QString text = restoreCommand + kLineEnd + QStringLiteral("echo ") + plain(fileName) +
                         QStringLiteral(" has been restored") + kLineEnd;
    if (isAscii(fileName))
        return text.toLatin1();
    return QByteArrayLiteral("@chcp 65001 >nul\r\n") + text.toUtf8();
}

} // namespace RestoreScript
