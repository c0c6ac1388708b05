// Runs the split engine without windows, for timing against other tools:
//   splitbench --size TEXT --out DIR [--threads N] [--copy kernel|sendfile|buffer] FILE...
// --threads and --copy choose the number of copying threads and the first copy method, so that
// alternatives can be measured in one run. Exit 0 on success; when the split is refused or
// fails, prints why to stderr and exits 1. Ctrl+C (SIGINT) or SIGTERM stops it as Cancel does
// in the window; it then exits 130 or 143.

#include "MessageText.h"
#include "PieceLength.h"
#include "RunProgress.h"
#include "SignalStop.h"
#include "SplitPlan.h"
#include "SplitRefusal.h"
#include "SplitRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QStringList>

#include <cstdio>

namespace {

int usage() {
    std::fputs("usage: splitbench --size TEXT --out DIR [--threads N] "
               "[--copy kernel|sendfile|buffer] FILE...\n",
               stderr);
    return 2;
}

void printError(const QString &text) {
    std::fprintf(stderr, "%s\n", printable(text).toLocal8Bit().constData());
}

} // namespace

int main(int argc, char *argv[]) {
    const QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const QMap<QString, CopyMethod> methods{{QStringLiteral("kernel"), CopyMethod::Kernel},
                                            {QStringLiteral("sendfile"), CopyMethod::Sendfile},
                                            {QStringLiteral("buffer"), CopyMethod::Buffer}};
    QString size;
    QString out;
    RunOptions options;
    while (args.size() >= 2 && args.first().startsWith(QStringLiteral("--"))) {
        const QString option = args.takeFirst();
        const QString value = args.takeFirst();
        bool ok = true;
        if (option == QStringLiteral("--size"))
            size = value;
        else if (option == QStringLiteral("--out"))
            out = value;
        else if (option == QStringLiteral("--threads"))
            options.workers = value.toInt(&ok);
        else if (option == QStringLiteral("--copy") && methods.contains(value))
            options.copyMethod = methods.value(value);
        else
            return usage();
        if (!ok || options.workers < 1)
            return usage();
    }
    if (size.isEmpty() || out.isEmpty() || args.isEmpty())
        return usage();
    const std::optional<qint64> pieceLength = fullPieceLength(size);
    if (!pieceLength) {
        printError(QStringLiteral("--size \"%1\": the piece size is not a number").arg(size));
        return 1;
    }

    SplitRequest request{{}, QDir::toNativeSeparators(out), *pieceLength};
    for (const QString &file : std::as_const(args))
        request.queue.append({QDir::toNativeSeparators(file), QFileInfo(file).fileName()});
    try {
        StopRequest stop;
        const SignalStop signals(stop);
        const SplitPlan plan = planSplit(request);
        ProgressSink progress;
        const SplitResult result = SplitRun(plan, progress, stop, options).run();
        if (result.outcome == RunOutcome::Done)
            return 0;
        if (result.outcome == RunOutcome::Stopped)
            return SignalStop::exitStatus();
        printError(QDir::toNativeSeparators(result.failedPath) + QStringLiteral(": ") +
                   result.reason);
    } catch (const SplitRefused &refused) {
        std::fprintf(stderr, "%s\n", refused.what()); // its lines shown printably already
    }
    return 1;
}
