#pragma once

#include "FileFacts.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <exception>
#include <optional>

class OutputFolder;

struct QueuedFile {
    QString path; // full path, native separators
    QString name; // bare name
};

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

// Looks at everything a split of the queue into the output folder would write, before it
// writes anything, and refuses what would destroy or lose data: a source that cannot be read
// whole, a name that cannot travel to Windows, an output that is a queued source, a link or
// anything but a regular file, a name too long, two entries writing the same outputs, or too
// little free space.
class SplitCheck {
public:
    SplitCheck(const QList<QueuedFile> &queue, const QString &outputFolder, qint64 pieceLength);

    // Empty when the split may start.
    const QList<Refusal> &refusals() const noexcept { return m_refusals; }
    // The output folder that was checked, in native separators, ending in one.
    const QString &outputFolder() const noexcept { return m_outputFolder; }
    // Pieces of the file of this name whose names were checked.
    qint64 checkedPieces(const QString &fileName) const {
        return m_checkedPieces.value(fileName.toCaseFolded(), 0);
    }

    // For a piece past those checked (a source longer than it reported): throws FileError when
    // the file at name may not be written.
    void checkLatePiece(const OutputFolder &folder, const QByteArray &name) const;

private:
    struct Source {
        const QueuedFile *file = nullptr;
        FileFacts facts;
    };

    QList<Source> readableSources(const QList<QueuedFile> &queue);
    void refuseSameNames(QList<Source> &sources);
    void checkOutputs(const OutputFolder &folder, const QList<Source> &sources);
    std::optional<QString> outputProblem(const OutputFolder &folder, const QByteArray &name,
                                         qint64 &replacedBytes) const;
    void refuse(const QString &path, const QString &reason);

    QString m_outputFolder;
    qint64 m_pieceLength;
    QList<Refusal> m_refusals;
    QHash<QString, qint64> m_checkedPieces; // by case-folded file name
    QHash<QString, QString> m_sourceByPath; // clean path -> source path as queued
    QHash<FileIdentity, QString> m_sourceByIdentity;
};
