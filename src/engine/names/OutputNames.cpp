#include "names/OutputNames.h"

#include "OutputFolder.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <utility>

namespace {

class NamesWords {
    Q_DECLARE_TR_FUNCTIONS(Names)
};

const QString kScriptSuffix = QStringLiteral(".bat");
const QString kPosixScriptSuffix = QStringLiteral(".sh");
const QString kChecksumsSuffix = QStringLiteral(".sha256");
const QString kRecoverySuffix = QStringLiteral(".par2");

// Piece numbers are written in decimal without leading zeros.
std::optional<qint64> pieceNumber(QStringView text) {
    if (text.isEmpty() || text.size() > 18 || text.front() == u'0' ||
        !std::all_of(text.begin(), text.end(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; }))
        return std::nullopt;
    return text.toLongLong();
}

} // namespace

OutputNames::OutputNames(QString fileName)
    : m_fileName(std::move(fileName))
    , m_piecePrefix(fileSystemName(m_fileName + u'.')) {}

QString OutputNames::piece(qint64 number) const {
    return m_fileName + u'.' + QString::number(number);
}

QString OutputNames::script() const {
    return m_fileName + kScriptSuffix;
}

QString OutputNames::posixScript() const {
    return m_fileName + kPosixScriptSuffix;
}

QString OutputNames::checksums() const {
    return m_fileName + kChecksumsSuffix;
}

QByteArray OutputNames::checksumsOnDisk() const {
    return fileSystemName(checksums());
}

QString OutputNames::beside(Kind kind) const {
    switch (kind) {
    case Kind::Script:
        return script();
    case Kind::PosixScript:
        return posixScript();
    case Kind::Checksums:
        return checksums();
    case Kind::Recovery:
        return recoveryIndex();
    case Kind::Piece:
        break;
    }
    return piece(1);
}

QString OutputNames::role(Kind kind) {
    switch (kind) {
    case Kind::Piece:
        return NamesWords::tr("piece");
    case Kind::Script:
        return NamesWords::tr("restore script");
    case Kind::PosixScript:
        return NamesWords::tr("macOS and Linux restore script");
    case Kind::Recovery:
        return NamesWords::tr("recovery file");
    case Kind::Checksums:
        break;
    }
    return NamesWords::tr("checksum list");
}

QByteArray OutputNames::besideOnDisk(Kind kind) const {
    return fileSystemName(beside(kind));
}

QByteArray OutputNames::pieceOnDisk(qint64 number) const {
    QByteArray name;
    setPieceOnDisk(name, number);
    return name;
}

QByteArray OutputNames::scriptOnDisk() const {
    return fileSystemName(script());
}

void OutputNames::setPieceOnDisk(QByteArray &buffer, qint64 number) const {
    char digits[24];
    const char *end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    buffer.truncate(0);
    buffer.append(m_piecePrefix).append(digits, end - digits);
}

QString OutputNames::recoveryIndex() const {
    return m_fileName + kRecoverySuffix;
}

QString OutputNames::recoveryVolume(qint64 number, qint64 volumes) const {
    const int digits = int(QString::number(volumes).size());
    return m_fileName + QStringLiteral(".vol%1+1").arg(number, digits, 10, QLatin1Char('0')) +
           kRecoverySuffix;
}

std::optional<OutputNames::Entry> OutputNames::parse(const QString &name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0)
        return std::nullopt;
    if (QStringView(name).mid(dot).compare(kRecoverySuffix, Qt::CaseInsensitive) == 0) {
        static const QRegularExpression volume(QStringLiteral("\\.vol([0-9]+)\\+1$"),
                                               QRegularExpression::CaseInsensitiveOption);
        const QString stem = name.left(dot);
        const QRegularExpressionMatch match = volume.match(stem);
        if (!match.hasMatch())
            return Entry{stem, Kind::Recovery, 0};
        return Entry{stem.left(match.capturedStart()), Kind::Recovery,
                     match.captured(1).toLongLong() + 1};
    }
    if (QStringView(name).mid(dot).compare(kScriptSuffix, Qt::CaseInsensitive) == 0)
        return Entry{name.left(dot), Kind::Script, 0};
    if (QStringView(name).mid(dot).compare(kPosixScriptSuffix, Qt::CaseInsensitive) == 0)
        return Entry{name.left(dot), Kind::PosixScript, 0};
    if (QStringView(name).mid(dot).compare(kChecksumsSuffix, Qt::CaseInsensitive) == 0)
        return Entry{name.left(dot), Kind::Checksums, 0};
    if (const std::optional<qint64> number = pieceNumber(QStringView(name).mid(dot + 1)))
        return Entry{name.left(dot), Kind::Piece, *number};
    return std::nullopt;
}
