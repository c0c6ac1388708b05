// Runs the split engine without windows, for timing against other tools:
//   splitbench --size TEXT --out DIR [--threads N] [--copy kernel|sendfile|buffer]
//              [--flush syncfs|fdatasync|none] [--no-checksums] [--progress] FILE...
// --threads, --copy and --flush choose the number of copying threads, the first copy method
// and the way to wait for the disk (none: not at all), so that alternatives can be measured
// in one run; --no-checksums writes no checksum list; --progress prints a line a second to
// stderr. Exit 0 on success; when the split is refused or
// fails, prints why to stderr and exits 1. Ctrl+C (SIGINT) or SIGTERM stops it as Cancel does
// in the window; it then exits 130 or 143.

#include "MessageText.h"
#include "PieceLength.h"
#include "ProgressCounter.h"
#include "SignalStop.h"
#include "SplitPlan.h"
#include "SplitRefusal.h"
#include "SplitRun.h"
#include "TerminalProgress.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <cstdio>
#include <optional>

namespace {

int usage() {
    std::fputs("usage: splitbench --size TEXT --out DIR [--threads N] "
               "[--copy kernel|sendfile|buffer] [--flush syncfs|fdatasync|none] "
               "[--no-checksums] [--progress] FILE...\n",
               stderr);
    return 2;
}

void printError(const QString &text) {
    std::fprintf(stderr, "%s\n", printable(text).toLocal8Bit().constData());
}

} // namespace

int main(int argc, char *argv[]) {
    const QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption size(QStringLiteral("size"), {}, QStringLiteral("TEXT"));
    const QCommandLineOption out(QStringLiteral("out"), {}, QStringLiteral("DIR"));
    const QCommandLineOption threads(QStringLiteral("threads"), {}, QStringLiteral("N"));
    const QCommandLineOption copy(QStringLiteral("copy"), {}, QStringLiteral("METHOD"));
    const QCommandLineOption flush(QStringLiteral("flush"), {}, QStringLiteral("METHOD"));
    const QCommandLineOption progressOption(QStringLiteral("progress"));
    const QCommandLineOption noChecksums(QStringLiteral("no-checksums"));
    parser.addOptions({size, out, threads, copy, flush, progressOption, noChecksums});
    const QMap<QString, CopyMethod> copyMethods{{QStringLiteral("kernel"), CopyMethod::Kernel},
                                                {QStringLiteral("sendfile"), CopyMethod::Sendfile},
                                                {QStringLiteral("buffer"), CopyMethod::Buffer}};
    const QMap<QString, FlushMethod> flushMethods{
        {QStringLiteral("syncfs"), FlushMethod::FileSystem},
        {QStringLiteral("fdatasync"), FlushMethod::EachFile},
        {QStringLiteral("none"), FlushMethod::None}};
    if (!parser.parse(QCoreApplication::arguments()) || !parser.isSet(size) || !parser.isSet(out) ||
        parser.positionalArguments().isEmpty())
        return usage();
    RunOptions options;
    bool ok = true;
    if (parser.isSet(threads))
        options.workers = parser.value(threads).toInt(&ok);
    if (!ok || options.workers < 1 ||
        (parser.isSet(copy) && !copyMethods.contains(parser.value(copy))) ||
        (parser.isSet(flush) && !flushMethods.contains(parser.value(flush))))
        return usage();
    options.copyMethod = copyMethods.value(parser.value(copy), CopyMethod::Kernel);
    options.flushMethod = flushMethods.value(parser.value(flush), FlushMethod::FileSystem);
    const std::optional<qint64> pieceLength = fullPieceLength(parser.value(size));
    if (!pieceLength) {
        printError(QStringLiteral("--size \"%1\": the piece size is not a number")
                       .arg(parser.value(size)));
        return 1;
    }

    SplitRequest request{
        {}, QDir::toNativeSeparators(parser.value(out)), *pieceLength, !parser.isSet(noChecksums)};
    for (const QString &file : parser.positionalArguments())
        request.queue.append({QDir::toNativeSeparators(file), QFileInfo(file).fileName()});
    try {
        StopRequest stop;
        const SignalStop signals(stop);
        const SplitPlan plan = planSplit(request);
        // Without --progress no one listens, so that the cost of listening can be measured.
        ProgressSink silent;
        ProgressCounter counter;
        std::optional<TerminalProgress> shown;
        if (parser.isSet(progressOption))
            shown.emplace(counter, stderr, TerminalProgress::Style::Lines, std::chrono::seconds(1));
        ProgressSink &progress = shown ? counter : silent;
        const SplitResult result = SplitRun(plan, progress, stop, options).run();
        shown.reset();
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
