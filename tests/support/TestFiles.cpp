#include "TestFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>

QByteArray patternBytes(qint64 length, quint32 seed) {
    QList<quint32> words((length + 3) / 4);
    QRandomGenerator(seed).fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char *>(words.constData()), length);
}

void writeTestFile(const QString &path, const QByteArray &contents) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(contents) != contents.size())
        QFAIL(qPrintable(QStringLiteral("cannot write %1: %2").arg(path, file.errorString())));
}

QByteArray readTestFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray sha256sumLine(const QByteArray &bytes, const char *name) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + "  " + name + '\n';
}

QStringList filesIn(const QString &folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

void ageTwoDays(const QString &path) {
    struct timespec times[2]{};
    times[0].tv_sec = ::time(nullptr) - time_t(2) * 24 * 60 * 60;
    times[1] = times[0];
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times,
                        AT_SYMLINK_NOFOLLOW) == 0);
}

QString programFailure(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30'000))
        return program + QStringLiteral(" did not finish");
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + QStringLiteral(": ") +
               QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return {};
}
