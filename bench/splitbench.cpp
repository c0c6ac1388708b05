// tessary-cli with what the benchmarks tune, so that alternatives can be measured in one run:
//   splitbench [--threads N] [--copy kernel|sendfile|buffer] [--flush syncfs|fsync|none]
//              [--progress] COMMAND ARGUMENTS...
// COMMAND and ARGUMENTS are tessary-cli's (split -s 100M -o DIR FILE, join -y FILE, ...).
// --threads, --copy and --flush choose the number of copying threads, the first copy method and
// the way to wait for the disk (none: not at all); --progress prints a progress line a second
// to stderr, terminal or not, to measure what listening to a run costs. Exit status as
// tessary-cli's.

#include "Cli.h"

#include <QCoreApplication>
#include <QMap>

#include <cstdio>

int main(int argc, char *argv[]) {
    const QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    const QMap<QString, CopyMethod> copyMethods{{QStringLiteral("kernel"), CopyMethod::Kernel},
                                                {QStringLiteral("sendfile"), CopyMethod::Sendfile},
                                                {QStringLiteral("buffer"), CopyMethod::Buffer}};
    const QMap<QString, FlushMethod> flushMethods{
        {QStringLiteral("syncfs"), FlushMethod::FileSystem},
        {QStringLiteral("fsync"), FlushMethod::EachFile},
        {QStringLiteral("none"), FlushMethod::None}};
    Cli::Tuning tuning;
    while (arguments.size() > 1 && arguments[1].startsWith(QStringLiteral("--"))) {
        const QString option = arguments.takeAt(1);
        if (option == QStringLiteral("--progress")) {
            tuning.progressLines = true;
            continue;
        }
        const QString value = arguments.size() > 1 ? arguments.takeAt(1) : QString();
        bool ok = true;
        if (option == QStringLiteral("--threads"))
            tuning.run.workers = value.toInt(&ok);
        else if (option == QStringLiteral("--copy") && copyMethods.contains(value))
            tuning.run.copyMethod = copyMethods.value(value);
        else if (option == QStringLiteral("--flush") && flushMethods.contains(value))
            tuning.run.flushMethod = flushMethods.value(value);
        else
            ok = false;
        if (!ok || tuning.run.workers < 1) {
            std::fputs("usage: splitbench [--threads N] [--copy kernel|sendfile|buffer] "
                       "[--flush syncfs|fsync|none] [--progress] COMMAND ARGUMENTS...\n",
                       stderr);
            return Cli::Usage;
        }
    }
    return Cli::runProcess(argc, argv, arguments, tuning);
}
