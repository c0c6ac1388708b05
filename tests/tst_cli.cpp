#include "Cli.h"
#include "ProgressFrame.h"
#include "TerminalProgress.h"
#include "TestFiles.h"
#include "run/ProgressCounter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>

#include <wchar.h>

// tessary-cli as a script or a person at a terminal meets it: its exit status, what it says on
// stdout and stderr, and what it writes.
class CliTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void commands_data();
    void commands();
    void sizeLabelsAreTheWindowsList_data();
    void sizeLabelsAreTheWindowsList();
    void completionOffersWhatIsTaken_data();
    void completionOffersWhatIsTaken();
    void completionOfValues_data();
    void completionOfValues();
    void progressBarEndsWithTheRun_data();
    void progressBarEndsWithTheRun();
    void progressFitsTheTerminal_data();
    void progressFitsTheTerminal();
    void progressEscapesOnlyWhereTheTerminalTakesThem_data();
    void progressEscapesOnlyWhereTheTerminalTakesThem();
    void ctrlCLeavesWhatCancelLeaves();
    void removedCurrentFolderIsRefused();
};

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

// arguments, or a shell's command line where tessary-cli is "$0", for what only a shell passes
// (bytes that are no text, a full disk as standard output).
Outcome runCli(const QString &folder, const QStringList &arguments) {
    QProcess cli;
    cli.setWorkingDirectory(folder);
    if (arguments.value(0) == u"sh")
        cli.start(QStringLiteral("sh"),
                  {QStringLiteral("-c"), arguments.value(1), QStringLiteral(TESSARY_CLI)});
    else
        cli.start(QStringLiteral(TESSARY_CLI), arguments);
    if (!cli.waitForFinished(60'000))
        return {};
    return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
            QString::fromLocal8Bit(cli.readAllStandardOutput()),
            QString::fromLocal8Bit(cli.readAllStandardError())};
}

// What a row sets up in the folder before it runs tessary-cli there.
using Setup = std::function<void(const QString &folder)>;

// report.doc, 2500 bytes, split at 1000 into three pieces with its script and list.
void splitReport(const QString &folder) {
    writeTestFile(QDir(folder).filePath(QStringLiteral("report.doc")), patternBytes(2500));
    QCOMPARE(runCli(folder, {QStringLiteral("split"), QStringLiteral("-q"), QStringLiteral("-s"),
                             QStringLiteral("1000"), QStringLiteral("report.doc")})
                 .status,
             0);
}

} // namespace

Q_DECLARE_METATYPE(Setup)

void CliTest::initTestCase() {
    // wcswidth counts columns as a UTF-8 terminal does, whatever the tests run under.
    QVERIFY(std::setlocale(LC_CTYPE, "C.UTF-8"));
}

void CliTest::commands_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");       // the start of stdout
    QTest::addColumn<QString>("err");       // the start of stderr
    QTest::addColumn<QStringList>("files"); // the folder afterwards
    const auto args = [](const char *line) {
        return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
    };
    const auto report = [](const QString &folder) {
        writeTestFile(QDir(folder).filePath(QStringLiteral("report.doc")), patternBytes(2500));
    };
    const QStringList split{QStringLiteral("report.doc"),       QStringLiteral("report.doc.1"),
                            QStringLiteral("report.doc.2"),     QStringLiteral("report.doc.3"),
                            QStringLiteral("report.doc.bat"),   QStringLiteral("report.doc.sh"),
                            QStringLiteral("report.doc.sha256")};

    QTest::addRow("split") << Setup(report) << args("split -s 1000 report.doc") << 0
                           << QStringLiteral("I am done splitting all of the files\n") << QString()
                           << split;
    QTest::addRow("split, a size of the window's list, into a folder")
        << Setup([=](const QString &folder) {
               report(folder);
               QDir(folder).mkdir(QStringLiteral("out"));
           })
        << args("split -q -s 100k -o out report.doc") << 0 << QString() << QString()
        << QStringList{QStringLiteral("out"), QStringLiteral("report.doc")};
    QTest::addRow("split into a number of pieces")
        << Setup(report) << args("split -q -n 3 report.doc") << 0 << QString() << QString()
        << split;
    QTest::addRow("recovery files without the list that names them")
        << Setup(report) << args("split -q -r 1 --no-checksums -s 1000 report.doc") << 1
        << QString()
        << QStringLiteral("The files could not be split.\n\nrecovery files are "
                          "written only with the checksum list")
        << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("split without the script for macOS and Linux")
        << Setup(report) << args("split -q --no-sh -s 1000 report.doc") << 0 << QString()
        << QString() << split.mid(0, 5) + split.mid(6); // all but report.doc.sh
    QTest::addRow("more pieces than bytes")
        << Setup(report) << args("split -n 3000 report.doc") << 1 << QString()
        << QStringLiteral("The split was not started:\n\n\u2022 %1/report.doc: it holds 2,500 "
                          "bytes, fewer than the 3,000 pieces asked for\n")
        << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("a size and a number of pieces")
        << Setup(report) << args("split -s 1000 -n 3 report.doc") << 2 << QString()
        << QStringLiteral("tessary-cli split: give a size (-s) or a number of pieces (-n)")
        << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("aligned, and told")
        << Setup(report) << args("split --aligned -s 9000 report.doc") << 0
        << QStringLiteral("I am done splitting all of the files\n\nEvery piece but the last")
        << QString() << split.mid(0, 2) + split.mid(4);
    QTest::addRow("aligned, to a remote")
        << Setup(report) << args("split --aligned -s 9000 -o box:out report.doc") << 2 << QString()
        << QStringLiteral("tessary-cli split: --aligned rounds to the blocks of a folder's")
        << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("aligned, a number of pieces")
        << Setup(report) << args("split --aligned -n 3 report.doc") << 2 << QString()
        << QStringLiteral("tessary-cli split: --aligned rounds a size (-s) down")
        << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("split refused")
        << Setup(report) << args("split -s 1000 report.doc gone.doc") << 1 << QString()
        << QStringLiteral("The split was not started:\n\n\u2022 ")
        << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("no size") << Setup(report) << args("split report.doc") << 2 << QString()
                             << QStringLiteral("tessary-cli split: No output file size "
                                               "selected.  You need to select the Output File "
                                               "Size you want\n")
                             << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("a size that is no number")
        << Setup(report) << args("split -s big report.doc") << 2 << QString()
        << QStringLiteral("tessary-cli split: \"big\" is not a size: give a whole number of bytes")
        << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("a size below 2 bytes")
        << Setup(report) << args("split -s 1 report.doc") << 2 << QString()
        << QStringLiteral("tessary-cli split: a size of 1 byte gives no pieces")
        << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("the current folder")
        << Setup(report) << args("split -s 100 .") << 1 << QString()
        << QStringLiteral("The split was not started:\n\n\u2022 %1: it is a folder, not a "
                          "regular file\n")
        << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("an empty argument")
        << Setup(report) << QStringList{QStringLiteral("split"), QStringLiteral("-s100"), QString()}
        << 2 << QString()
        << QStringLiteral("tessary-cli split: an empty argument: no file name given\n")
        << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("an option that is an escape sequence")
        << Setup(report) << QStringList{QStringLiteral("split"), QStringLiteral("--\x1b[2J")} << 2
        << QString() << QStringLiteral("tessary-cli split: Unknown option 'U+001B[2J'.\n")
        << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("an argument that is no text, beside a file its decoding would name")
        << Setup([=](const QString &folder) {
               report(folder);
               writeTestFile(QDir(folder).filePath(QStringLiteral("a\ufffd")), "another file");
           })
        << QStringList{QStringLiteral("sh"),
                       QStringLiteral("exec \"$0\" split -s 10 \"$(printf 'a\\377')\"")}
        << 2 << QString()
        << QStringLiteral("tessary-cli: a\\xff: not text in this system's encoding (UTF-8)")
        << QStringList{QStringLiteral("a\ufffd"), QStringLiteral("report.doc")};
    QTest::addRow("standard output on a full disk")
        << Setup(report)
        << QStringList{QStringLiteral("sh"),
                       QStringLiteral("exec \"$0\" split -s 1000 report.doc >/dev/full")}
        << 1 << QString()
        << QStringLiteral("tessary-cli: standard output: No space left on device\n") << split;
    QTest::addRow("no command") << Setup(report) << QStringList() << 2 << QString()
                                << QStringLiteral("tessary-cli: which command")
                                << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("a command's help, of that command alone")
        << Setup(report) << args("join --help") << 0
        << QStringLiteral("Usage: tessary-cli join [-y] [-o DIR] [-q] FILE | REMOTE:path/FILE\n\n"
                          "Join the pieces of FILE")
        << QString() << QStringList{QStringLiteral("report.doc")};
    QTest::addRow("join answers No to every question")
        << Setup(splitReport) << args("join report.doc.bat") << 1 << QString()
        << QDir::toNativeSeparators(QStringLiteral("%1/report.doc exists already.")) << split;
    QTest::addRow("join -y replaces")
        << Setup(splitReport) << args("join -y report.doc.bat") << 0
        << QStringLiteral("report.doc has been restored\n\nAll 3 pieces matched their "
                          "checksums.\n")
        << QStringLiteral("%1/report.doc exists already.") << split;
    QTest::addRow("join from the script for macOS and Linux")
        << Setup(splitReport) << args("join -y report.doc.sh") << 0
        << QStringLiteral("report.doc has been restored\n\nAll 3 pieces matched")
        << QStringLiteral("%1/report.doc exists already.") << split;
    QTest::addRow("join fails on a piece that is a link")
        << Setup([](const QString &folder) {
               splitReport(folder);
               const QDir dir(folder);
               QFile::rename(dir.filePath(QStringLiteral("report.doc.2")),
                             dir.filePath(QStringLiteral("other")));
               QFile::link(QStringLiteral("other"), dir.filePath(QStringLiteral("report.doc.2")));
           })
        << args("join -y report.doc.bat") << 1 << QString()
        << QStringLiteral("The pieces were not joined, and nothing was written.\n\n%1/"
                          "report.doc.2: it is a symbolic link; Tessary joins only the pieces "
                          "themselves\n")
        << QStringList{QStringLiteral("other")} + split;
    QTest::addRow("join of a missing piece without a list tells of the piece")
        << Setup([](const QString &folder) {
               splitReport(folder);
               QFile::remove(QDir(folder).filePath(QStringLiteral("report.doc.sha256")));
               QFile::remove(QDir(folder).filePath(QStringLiteral("report.doc.2")));
           })
        << args("join -y report.doc.bat") << 1 << QString()
        << QStringLiteral("The pieces were not joined, and nothing was written.\n\n%1/"
                          "report.doc.2: this piece is missing\n")
        << QStringList{QStringLiteral("report.doc"), QStringLiteral("report.doc.1"),
                       QStringLiteral("report.doc.3"), QStringLiteral("report.doc.bat"),
                       QStringLiteral("report.doc.sh")};
    QTest::addRow("verify fails without a list")
        << Setup([](const QString &folder) {
               splitReport(folder);
               for (const char *name : {"report.doc.sha256", "report.doc.sh"})
                   QFile::remove(QDir(folder).filePath(QString::fromLatin1(name)));
           })
        << args("verify report.doc.bat") << 1 << QString()
        << QStringLiteral("The pieces could not be checked.\n\nreport.doc.bat: no checksum list "
                          "(report.doc.sha256) stands beside it, so there is nothing to check "
                          "the pieces against\n")
        << split.first(5);
    QTest::addRow("verify") << Setup(splitReport) << args("verify report.doc.sha256") << 0
                            << QStringLiteral(
                                   "All 3 pieces match report.doc.sha256, and joined they make "
                                   "report.doc. So does report.doc, joined beside them.\n")
                            << QString() << split;
    QTest::addRow("verify a damaged piece")
        << Setup([](const QString &folder) {
               splitReport(folder);
               writeTestFile(QDir(folder).filePath(QStringLiteral("report.doc.2")), "damaged");
           })
        << args("verify report.doc.bat") << 1 << QString()
        << QStringLiteral("2 of the 3 pieces in report.doc.sha256 match. So does report.doc, "
                          "joined beside them.\n\n\u2022 report.doc.1: matches\n\u2022 "
                          "report.doc.2: damaged\n")
        << split;
    QTest::addRow("verify -q tells only what is wrong")
        << Setup([](const QString &folder) {
               splitReport(folder);
               QFile::remove(QDir(folder).filePath(QStringLiteral("report.doc.2")));
           })
        << args("verify -q report.doc.bat") << 1 << QString()
        << QStringLiteral("2 of the 3 pieces in report.doc.sha256 match. So does report.doc, "
                          "joined beside them.\n\n\u2022 report.doc.2: missing\n")
        << split.mid(0, 2) + split.mid(3);
    QTest::addRow("verify -q of pieces that match says nothing")
        << Setup(splitReport) << args("verify -q report.doc.sha256") << 0 << QString() << QString()
        << split;
    QTest::addRow("one byte, fewer than the pieces asked for")
        << Setup([](const QString &folder) {
               writeTestFile(QDir(folder).filePath(QStringLiteral("report.doc")), "x");
           })
        << args("split -n 2 report.doc") << 1 << QString()
        << QStringLiteral("The split was not started:\n\n\u2022 %1/report.doc: it holds 1 byte, "
                          "fewer than the 2 pieces asked for\n")
        << QStringList{QStringLiteral("report.doc")};
}

void CliTest::commands() {
    QFETCH(Setup, setup);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QStringList, files);
    QTemporaryDir folder;
    setup(folder.path());
    const QByteArray reportBefore = readTestFile(folder.filePath(QStringLiteral("report.doc")));

    const Outcome outcome = runCli(folder.path(), arguments);

    QCOMPARE(outcome.status, status);
    QVERIFY2(outcome.out.startsWith(out), qPrintable(outcome.out));
    QVERIFY2(outcome.out.isEmpty() == out.isEmpty(), qPrintable(outcome.out));
    // %1 stands for the folder where the error names it.
    const QString errStart = err.contains(QStringLiteral("%1")) ? err.arg(folder.path()) : err;
    QVERIFY2(outcome.err.startsWith(errStart), qPrintable(outcome.err));
    QVERIFY2(outcome.err.isEmpty() == err.isEmpty(), qPrintable(outcome.err));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
             files);
    // Nothing touches the user's file, whatever the command.
    QCOMPARE(readTestFile(folder.filePath(QStringLiteral("report.doc"))), reportBefore);
}

void CliTest::sizeLabelsAreTheWindowsList_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<qint64>("pieceLength");
    // As the window's list names them: every piece a byte less than the size.
    QTest::addRow("100k") << QStringLiteral("100k") << qint64(99'999);
    QTest::addRow("1.4M") << QStringLiteral("1.4M") << qint64(1'399'999);
    QTest::addRow("1.4M in lower case") << QStringLiteral("1.4m") << qint64(1'399'999);
    QTest::addRow("450M") << QStringLiteral("450M") << qint64(449'999'999);
    QTest::addRow("the custom entry is no size") << QStringLiteral("Custom Size") << qint64(-1);
    // The same under every locale: no group separators, exponents or decimal commas.
    QTest::addRow("bytes") << QStringLiteral("1000") << qint64(999);
    QTest::addRow("decimal kilobytes") << QStringLiteral("1.5k") << qint64(1499);
    QTest::addRow("decimal gigabytes") << QStringLiteral("1G") << qint64(999'999'999);
    QTest::addRow("binary mebibytes") << QStringLiteral("64MiB") << qint64(64 * 1024 * 1024 - 1);
    QTest::addRow("a unit that leaves part of a byte") << QStringLiteral("1.0001k") << qint64(-1);
    QTest::addRow("a fraction of a byte") << QStringLiteral("0.5") << qint64(-1);
    QTest::addRow("a group separator, or a decimal point") << QStringLiteral("1.000") << qint64(-1);
    QTest::addRow("an exponent") << QStringLiteral("2.5e3") << qint64(-1);
    QTest::addRow("nothing") << QStringLiteral("0") << qint64(-1);
    QTest::addRow("a negative size") << QStringLiteral("-1") << qint64(-1);
    QTest::addRow("one byte, which gives no piece") << QStringLiteral("1") << qint64(-1);
    QTest::addRow("beyond any file")
        << QStringLiteral("99999999999999999999999G") << std::numeric_limits<qint64>::max() - 1;
    QTest::addRow("the custom entry's label is no size")
        << QStringLiteral("Custom Size") << qint64(-1);
    // By what a piece must fit: at most that many bytes, in whole blocks of 4,096.
    QTest::addRow("a FAT32 stick") << QStringLiteral("fat32") << qint64(4'294'963'200);
    QTest::addRow("a DVD, in capitals") << QStringLiteral("DVD") << qint64(4'700'372'992);
    QTest::addRow("an e-mail") << QStringLiteral("email") << qint64(17'997'824);
    QTest::addRow("a GitHub release asset") << QStringLiteral("github") << qint64(1'999'998'976);
    QTest::addRow("a Discord attachment") << QStringLiteral("discord") << qint64(9'998'336);
}

void CliTest::sizeLabelsAreTheWindowsList() {
    QFETCH(QString, label);
    QFETCH(qint64, pieceLength);
    QCOMPARE(Cli::pieceLength(label).value_or(-1), pieceLength);
}

namespace {

// What bash's completion of tessary-cli offers where line is typed in folder, its last word
// the one completed; bash breaks "--size=1." at the "=".
QStringList completed(const QString &folder, QString line) {
    QProcess bash;
    bash.setWorkingDirectory(folder);
    bash.start(QStringLiteral("bash"),
               QStringList{QStringLiteral("-c"),
                           QStringLiteral("source \"$1\"; shift; COMP_WORDS=(\"$@\"); "
                                          "COMP_CWORD=$(($# - 1)); _tessary_cli; "
                                          "printf '%s\\n' \"${COMPREPLY[@]}\""),
                           QStringLiteral("bash"), QStringLiteral(TESSARY_COMPLETION),
                           QStringLiteral("tessary-cli")} +
                   line.replace(u'=', QStringLiteral(" = ")).split(u' '));
    if (!bash.waitForFinished(30'000))
        return {QStringLiteral("(bash did not finish)")};
    QStringList offered =
        QString::fromUtf8(bash.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    offered.sort();
    return offered;
}

// The options the help of command lists, as each entry's head line names them.
QStringList optionsInHelp(const QString &command) {
    static const QRegularExpression head(QStringLiteral("^  (-.*)$"),
                                         QRegularExpression::MultilineOption);
    static const QRegularExpression name(QStringLiteral("--?[a-z][a-z0-9-]*"));
    QStringList names;
    const QString help = runCli(QDir::tempPath(), {command, QStringLiteral("--help")}).out;
    for (const QRegularExpressionMatch &line : head.globalMatch(help)) {
        for (const QRegularExpressionMatch &option : name.globalMatch(line.captured(1)))
            names << option.captured();
    }
    names.sort();
    return names;
}

using Taken = std::function<bool(const QString &word)>;

// Whether the command line takes the option: it does where, followed by a value and --help, it
// gives the help.
Taken optionOf(const QStringList &command) {
    return [command](const QString &option) {
        return runCli(QDir::tempPath(),
                      command + QStringList{option, QStringLiteral("x"), QStringLiteral("--help")})
                   .status == 0;
    };
}

} // namespace

Q_DECLARE_METATYPE(Taken)

void CliTest::completionOffersWhatIsTaken_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<Taken>("taken");
    QTest::addColumn<QString>("helpOf"); // the command whose help lists what is offered
    QTest::addRow("a command or the program's options") << QString() << optionOf({}) << QString();
    for (const char *command : {"split", "join", "verify"})
        QTest::addRow("the options of %s", command)
            << QStringLiteral("%1 -").arg(QLatin1StringView(command))
            << optionOf({QString::fromLatin1(command)}) << QString::fromLatin1(command);
    QTest::addRow("the sizes after -s")
        << QStringLiteral("split -s ")
        << Taken([](const QString &size) { return Cli::pieceLength(size).has_value(); })
        << QString();
}

void CliTest::completionOffersWhatIsTaken() {
    QFETCH(QString, line);
    QFETCH(Taken, taken);
    QFETCH(QString, helpOf);
    const QStringList offered = completed(QDir::tempPath(), line);

    QVERIFY(!offered.isEmpty());
    for (const QString &word : offered)
        QVERIFY2(taken(word), qPrintable(word));
    if (!helpOf.isEmpty())
        QCOMPARE(offered, optionsInHelp(helpOf));
}

void CliTest::completionOfValues_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("offered"); // in a folder of report.doc and the folder out
    const QStringList files{QStringLiteral("out"), QStringLiteral("report.doc")};
    QTest::addRow("a size") << QStringLiteral("split -s 1.") << QStringList{QStringLiteral("1.4M")};
    QTest::addRow("a size after =")
        << QStringLiteral("split --size=fa") << QStringList{QStringLiteral("fat32")};
    QTest::addRow("the output folder") << QStringLiteral("split -o ") << files.first(1);
    QTest::addRow("nothing for a number of pieces") << QStringLiteral("split -n ") << QStringList();
    QTest::addRow("files after a switch") << QStringLiteral("split -q rep") << files.mid(1);
    QTest::addRow("files after what another command takes") << QStringLiteral("join -s ") << files;
    QTest::addRow("no option of another command") << QStringLiteral("verify --y") << QStringList();
}

void CliTest::completionOfValues() {
    QFETCH(QString, line);
    QFETCH(QStringList, offered);
    QTemporaryDir folder;
    writeTestFile(folder.filePath(QStringLiteral("report.doc")), patternBytes(10));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("out")));

    QCOMPARE(completed(folder.path(), line), offered);
}

void CliTest::progressBarEndsWithTheRun_data() {
    QTest::addColumn<qint64>("done"); // of 1000 bytes, when the run ends
    QTest::addColumn<QByteArray>("end");
    QTest::addRow("every byte written: a full bar")
        << qint64(1000) << QByteArray("[####################] 100%");
    QTest::addRow("stopped halfway: no bar, and no time left") << qint64(500) << QByteArray();
}

namespace {

// What a run's progress draws on a terminal (a file here) while it lives, once it has drawn a
// frame; nothing where it drew none.
QByteArray drawnOnTerminal(const ProgressCounter &counter) {
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> terminal(std::tmpfile(), &std::fclose);
    {
        const TerminalProgress shown(counter, terminal.get(), TerminalProgress::Style::Redrawn,
                                     std::chrono::milliseconds(1));
        if (!QTest::qWaitFor([&] { return std::ftell(terminal.get()) > 0; }))
            return {};
    }
    std::rewind(terminal.get());
    QByteArray written(1 << 16, '\0');
    written.truncate(qsizetype(std::fread(written.data(), 1, written.size(), terminal.get())));
    return written;
}

// The columns a terminal gives text, as the C library counts them.
int terminalColumns(const QString &text) {
    const std::wstring wide = text.toStdWString();
    return ::wcswidth(wide.c_str(), wide.size());
}

} // namespace

void CliTest::progressBarEndsWithTheRun() {
    QFETCH(qint64, done);
    QFETCH(QByteArray, end);
    ProgressCounter counter;
    counter.runStarted(1, 1000);
    counter.fileStarted(0, QStringLiteral("report.doc"), 1000);
    counter.bytesCopied(done);

    const QByteArray written = drawnOnTerminal(counter);

    QVERIFY(!written.isEmpty());
    const QByteArray last = written.mid(written.lastIndexOf('\r') + 1);
    QCOMPARE(last.startsWith(end) && !last.contains("left"), true);
    QCOMPARE(last.endsWith('\n'), !end.isEmpty());
}

void CliTest::progressFitsTheTerminal_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("shown"); // what the frame holds whole
    const QString done = QStringLiteral(": 1.2 GB");
    const std::pair<const char *, QString> names[] = {
        {"a short name", QStringLiteral("report.doc")},
        {"a long name", QStringLiteral("holiday-photos-of-the-whole-family-").repeated(5)},
        {"a name of wide characters", QStringLiteral("\u5831\u544a\u66f8").repeated(30)},
        {"a name of combining marks", QStringLiteral("e\u0301").repeated(90)},
        {"a name of emoji", QStringLiteral("\U0001F600").repeated(50)}};
    for (const auto &[what, name] : names) {
        for (const int columns : {10, 30, 80})
            QTest::addRow("%s, %d columns", what, columns)
                << name << columns << (columns >= 30 ? done : QString());
    }
    QTest::addRow("all of it where it fits")
        << names[0].second << 80
        << names[0].second + QStringLiteral(" (2 of 5): 1.2 GB of 4.0 GB, about 1 min left");
}

void CliTest::progressFitsTheTerminal() {
    QFETCH(QString, name);
    QFETCH(int, columns);
    QFETCH(QString, shown);
    const ProgressText::Parts parts{name, QStringLiteral(" (2 of 5)"), QStringLiteral(": 1.2 GB"),
                                    QStringLiteral(" of 4.0 GB"),
                                    QStringLiteral(", about 1 min left")};

    const QString frame = progressFrame(500, parts, columns);

    // Short of the last column, where many terminals wrap at once.
    QVERIFY2(terminalColumns(frame) < columns, qPrintable(frame));
    QVERIFY2(frame.contains(shown), qPrintable(frame));
}

void CliTest::progressEscapesOnlyWhereTheTerminalTakesThem_data() {
    QTest::addColumn<QByteArray>("term"); // empty: unset
    QTest::addColumn<bool>("escapes");
    QTest::addRow("xterm") << QByteArray("xterm-256color") << true;
    QTest::addRow("a dumb terminal") << QByteArray("dumb") << false;
    QTest::addRow("no TERM") << QByteArray() << false;
}

void CliTest::progressEscapesOnlyWhereTheTerminalTakesThem() {
    QFETCH(QByteArray, term);
    QFETCH(bool, escapes);
    const QByteArray termBefore = qgetenv("TERM");
    const QByteArray columnsBefore = qgetenv("COLUMNS");
    const auto restore = qScopeGuard([&] {
        qputenv("TERM", termBefore);
        qputenv("COLUMNS", columnsBefore);
    });
    if (term.isEmpty())
        qunsetenv("TERM");
    else
        qputenv("TERM", term);
    qputenv("COLUMNS", "30"); // where the stream is no terminal that could tell
    ProgressCounter counter;
    counter.runStarted(2, 2000);
    counter.fileStarted(0, QStringLiteral("holiday-photos-of-the-whole-family.iso"), 1000);
    counter.bytesCopied(500);

    const QByteArray written = drawnOnTerminal(counter);

    QVERIFY(!written.isEmpty());
    QCOMPARE(written.contains('\x1b'), escapes);
    for (const QByteArray &frame : written.split('\r')) {
        const QString text = QString::fromUtf8(frame).remove(QStringLiteral("\x1b[K"));
        QVERIFY2(terminalColumns(text) < 30, frame.constData());
    }
}

void CliTest::ctrlCLeavesWhatCancelLeaves() {
    QTemporaryDir folder;
    writeTestFile(folder.filePath(QStringLiteral("first.bin")), patternBytes(3000));
    // A file that takes long to split: it reports 2 GB and takes no room.
    QFile sparse(folder.filePath(QStringLiteral("second.bin")));
    QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(qint64(2) << 30));
    sparse.close();
    QDir(folder.path()).mkdir(QStringLiteral("out"));
    QProcess cli;
    cli.setWorkingDirectory(folder.path());
    cli.start(QStringLiteral(TESSARY_CLI),
              {QStringLiteral("split"), QStringLiteral("-s"), QStringLiteral("1M"),
               QStringLiteral("-o"), QStringLiteral("out"), QStringLiteral("first.bin"),
               QStringLiteral("second.bin")});
    QVERIFY(cli.waitForStarted());
    // Once the second file is under way.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath(QStringLiteral("out/second.bin.2"))),
                             30'000);

    ::kill(pid_t(cli.processId()), SIGINT);

    QVERIFY(cli.waitForFinished(30'000));
    QCOMPARE(cli.exitCode(), 130);
    QCOMPARE(QDir(folder.filePath(QStringLiteral("out"))).entryList(QDir::Files, QDir::Name),
             (QStringList{QStringLiteral("first.bin.1"), QStringLiteral("first.bin.bat"),
                          QStringLiteral("first.bin.sh"), QStringLiteral("first.bin.sha256")}));
    QVERIFY(QString::fromLocal8Bit(cli.readAllStandardError())
                .contains(QStringLiteral("The split was stopped. first.bin was split; second.bin "
                                         "was not, and its pieces were removed.")));
}

void CliTest::removedCurrentFolderIsRefused() {
    QTemporaryDir folder;
    writeTestFile(folder.filePath(QStringLiteral("report.doc")), patternBytes(30));
    QDir(folder.path()).mkdir(QStringLiteral("gone"));
    // The output folder is the current one, which is removed before tessary-cli starts.
    QProcess shell;
    shell.start(QStringLiteral("sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("cd \"$1/gone\" && rmdir \"$1/gone\" && exec \"$2\" split -s 10 "
                                "\"$1/report.doc\""),
                 QStringLiteral("sh"), folder.path(), QStringLiteral(TESSARY_CLI)});
    QVERIFY(shell.waitForFinished(30'000));

    QCOMPARE(shell.exitCode(), 1);
    QVERIFY2(QString::fromLocal8Bit(shell.readAllStandardError())
                 .contains(QStringLiteral(": this folder has been removed")),
             "no refusal");
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("report.doc")});
    QVERIFY(!QFile::exists(QStringLiteral("/report.doc.1")));
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
