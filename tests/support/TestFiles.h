#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reproducible file contents, so a failing case can be rerun with the same bytes.
QByteArray patternBytes(qint64 length, quint32 seed = 1);

void writeTestFile(const QString &path, const QByteArray &contents);
QByteArray readTestFile(const QString &path);
// The line sha256sum writes of a file named name that holds bytes, as a checksum list of ours
// does.
QByteArray sha256sumLine(const QByteArray &bytes, const char *name);

// Sets the file's times two days back, both at once (a FUSE driver may ignore a change of one
// alone).
void ageTwoDays(const QString &path);

// Names of the files in folder, sorted.
QStringList filesIn(const QString &folder);

// Runs program with arguments; returns its error output when it fails, else nothing.
QString programFailure(const QString &program, const QStringList &arguments);
