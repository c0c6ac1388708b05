#pragma once

#include "FileFacts.h"
#include "names/OutputNames.h"
#include "names/PortableName.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <exception>

// One reason why a split may not start: the path it concerns and what is wrong, in plain words.
struct Refusal {
    QString path;
    QString reason;
    bool operator==(const Refusal &) const = default;
};

// A split that was refused before any byte of it was written.
class SplitRefused : public std::exception {
public:
    explicit SplitRefused(QList<Refusal> refusals);

    const QList<Refusal> &refusals() const noexcept { return m_refusals; }
    // The whole message, UTF-8.
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QList<Refusal> m_refusals;
    QByteArray m_what;
};

// Tells the user that the split was not started, why, and that nothing was written. Lists at
// most shownAtMost refusals (all when negative) and counts the rest.
QString refusalMessage(const QList<Refusal> &refusals, qsizetype shownAtMost = -1);

// What may stand at the path of an output already, such that the split may not write it.
struct OutputProblem {
    enum class Kind {
        QueuedSource, // a file queued to be split; detail: its path, when spelled otherwise
        HardLinkOf,   // another name of a queued source; detail: that source's path
        SymbolicLink,
        NotRegular, // fileKind says what it is
        OtherNames, // a file with hard links elsewhere
        NotWritable,
        CaseTwin, // another file whose name Windows does not tell from it; detail: its path
    };
    Kind kind;
    QString detail;
    FileKind fileKind = FileKind::Regular;
};

// The words of every refusal, as the user reads them after the path it concerns.
namespace RefusalReason {

QString name(const NameProblem &problem);
QString nameNotUtf8();
QString sameNamesAs(const QString &earlierPath);
// "its piece /out/x.1 is a symbolic link, which ..."
QString output(OutputNames::Kind kind, const QString &path, const OutputProblem &problem);
// The same for a piece found past those checked, which the run meets on its way.
QString latePiece(const OutputProblem &problem);
QString outputNotExamined(const QString &path, const QString &reason);
// "its checksum list /out/x.sha256 is not a checksum list of x's pieces; ..."
QString notOurs(OutputNames::Kind kind, const QString &path, const QString &fileName);
QString anotherRun(const QString &fileName);
QString nameTooLong(const QString &name, qint64 bytes, qint64 nameMax);
QString pathTooLong(const QString &name, qint64 bytes, qint64 pathMax);
QString folderNotWritable();
QString folderRemoved();
QString notEnoughSpace(qint64 needed, qint64 free);
QString notEnoughFiles(qint64 needed, qint64 free);
QString pieceTooLarge(qint64 largestFile, qint64 piece);

} // namespace RefusalReason
