#include "names/OutputNames.h"

#include "OutputFolder.h"
#include "names/OutputKinds.h"

#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <utility>

namespace {

QStringView suffixOf(OutputNames::Kind kind) {
    return outputKind(kind).suffix;
}

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
    return beside(Kind::Script);
}

QString OutputNames::posixScript() const {
    return beside(Kind::PosixScript);
}

QString OutputNames::checksums() const {
    return beside(Kind::Checksums);
}

QByteArray OutputNames::checksumsOnDisk() const {
    return fileSystemName(checksums());
}

QString OutputNames::beside(Kind kind) const {
    if (kind == Kind::Piece)
        return piece(1);
    return m_fileName + suffixOf(kind).toString();
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
    return beside(Kind::Recovery);
}

QString OutputNames::recoveryVolume(qint64 number, qint64 volumes) const {
    const int digits = int(QString::number(volumes).size());
    return m_fileName + QStringLiteral(".vol%1+1").arg(number, digits, 10, QLatin1Char('0')) +
           suffixOf(Kind::Recovery).toString();
}

std::optional<OutputNames::Entry> OutputNames::parse(const QString &name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0)
        return std::nullopt;
    const QStringView suffix = QStringView(name).mid(dot);
    if (suffix.compare(suffixOf(Kind::Recovery), Qt::CaseInsensitive) == 0) {
        static const QRegularExpression volume(QStringLiteral("\\.vol([0-9]+)\\+1$"),
                                               QRegularExpression::CaseInsensitiveOption);
        const QString stem = name.left(dot);
        const QRegularExpressionMatch match = volume.match(stem);
        if (!match.hasMatch())
            return Entry{stem, Kind::Recovery, 0};
        return Entry{stem.left(match.capturedStart()), Kind::Recovery,
                     match.captured(1).toLongLong() + 1};
    }
    for (const OutputKind &output : kOutputKinds) {
        if (output.isBesidePieces() && suffix.compare(output.suffix, Qt::CaseInsensitive) == 0)
            return Entry{name.left(dot), output.kind, 0};
    }
    if (const std::optional<qint64> number = pieceNumber(suffix.mid(1)))
        return Entry{name.left(dot), Kind::Piece, *number};
    return std::nullopt;
}
