#include "Cli.h"

#include "Failure.h"
#include "SignalStop.h"
#include "SizeArgument.h"
#include "TerminalProgress.h"
#include "Version.h"
#include "checksums/Verify.h"
#include "join/JoinPlanner.h"
#include "join/JoinRun.h"
#include "run/ProgressCounter.h"
#include "split/SplitPlanner.h"
#include "text/MessageText.h"
#include "text/RunMessages.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <variant>

#include <unistd.h>

namespace Cli {

namespace {

const QString kProgram = QStringLiteral("tessary-cli");

void print(std::FILE *stream, const QString &text) {
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

// On a terminal the whole of a list is shown: a box shortens it, a terminal scrolls.
void print(std::FILE *stream, const RunMessage &message) {
    print(stream, message.details.isEmpty() ? message.text : message.details);
}

int usage(const QString &command, const QString &problem) {
    print(stderr,
          QStringLiteral("%1%2: %3\nTry '%1%2 --help'.")
              .arg(kProgram, command.isEmpty() ? QString() : u' ' + command, printable(problem)));
    return Usage;
}

// A file named on the command line, as the engine takes it: "." and ".." by the folders' own
// names, so that they are refused for what they are.
QueuedFile queuedFile(const QString &argument) {
    const QFileInfo info(QDir::cleanPath(QFileInfo(argument).absoluteFilePath()));
    return {QDir::toNativeSeparators(info.absoluteFilePath()), info.fileName()};
}

// Bytes that are no UTF-8 as \xHH, one by one; the rest as it reads.
QString escapedBytes(const QByteArray &bytes) {
    QString shown;
    for (qsizetype i = 0; i < bytes.size();) {
        QString character;
        qsizetype length = 1;
        for (; length <= 4 && i + length <= bytes.size() && character.isEmpty(); ++length) {
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString text = decoder.decode(bytes.mid(i, length));
            if (!decoder.hasError())
                character = text;
        }
        if (character.isEmpty()) {
            shown += QStringLiteral("\\x%1").arg(uchar(bytes[i]), 2, 16, QLatin1Char('0'));
            ++i;
        } else {
            shown += character;
            i += length - 1;
        }
    }
    return printable(shown);
}

QString helpText() {
    return QStringLiteral(
        "Usage: tessary-cli split -s SIZE [-o DIR] [--no-checksums] [-q] FILE...\n"
        "       tessary-cli join [-y] [-q] FILE\n"
        "       tessary-cli verify [-q] FILE\n"
        "\n"
        "Tessary without windows: the same checks before writing, the same pieces, restore\n"
        "scripts and SHA-256 lists, and the same messages as its window.\n"
        "\n"
        "  split   cut each FILE into pieces of SIZE in DIR (by default the current folder),\n"
        "          with a restore script and, unless --no-checksums, a SHA-256 list beside them.\n"
        "          SIZE is one of 100k 200k 1M 1.4M 25M 50M 75M 100M 150M 200M 250M 300M 350M\n"
        "          400M 450M, a whole number of bytes, or a number with k, M, G (1000s) or KiB,\n"
        "          MiB, GiB (1024s), the same under every locale; every piece but the last holds\n"
        "          one byte less than SIZE.\n"
        "  join    join the pieces of FILE, a restore script, a SHA-256 list or a first piece\n"
        "          (name.1), into the file they were split from, beside them, checked against\n"
        "          the list when there is one. It answers No to every question (replace a file,\n"
        "          join without a script or list, go on past a piece of odd length) unless -y.\n"
        "  verify  check the pieces of FILE, a SHA-256 list, a restore script or a first piece,\n"
        "          against the list, writing nothing.\n"
        "\n"
        "  -q, --quiet   no progress and no message on success\n"
        "  -h, --help    show this help; COMMAND --help shows the command's\n"
        "  --version     show the version\n"
        "\n"
        "Progress shows on stderr when it is a terminal. Ctrl+C stops a run as Cancel does in\n"
        "the window: the files finished keep their pieces, nothing is left of the one under way.\n"
        "\n"
        "Exit status: 0 done; 1 refused or failed (the reason on stderr, with the path), or a\n"
        "piece damaged or missing; 2 usage; 128 + the signal's number when one stopped it (130\n"
        "Ctrl+C, 143 SIGTERM, 129 SIGHUP, 131 SIGQUIT).\n");
}

// What the commands share: their options, the stop and the progress shown.
class Command {
public:
    Command(QString name, const Tuning &tuning)
        : m_name(std::move(name))
        , m_tuning(tuning) {
        m_parser.addOption(m_quiet);
        m_parser.addOption(m_help);
    }
    virtual ~Command() = default;

    int run(const QStringList &arguments) {
        if (!m_parser.parse(arguments))
            return usage(m_name, m_parser.errorText());
        if (m_parser.isSet(m_help)) {
            print(stdout, helpText());
            return Done;
        }
        const SignalStop signals(m_stop);
        try {
            return execute();
        } catch (...) {
            return failed(Failure::current());
        }
    }

protected:
    virtual int execute() = 0;
    // What the command says of a failure that ended it before it had a result.
    virtual RunMessage failure(const Failure &failure) const = 0;

    // Every failure's end on a terminal, by its kind: its words on stderr, and the status.
    int failed(const Failure &failure) const {
        if (failure.kind() == Failure::Kind::Stopped) { // before the run, while a list was read
            print(stderr, QStringLiteral("Stopped before anything was written."));
            return SignalStop::exitStatus();
        }
        print(stderr, this->failure(failure));
        return Failed;
    }

    bool quiet() const { return m_parser.isSet(m_quiet); }
    std::function<bool()> keepGoing() const {
        return [this] { return !m_stop.requested(); };
    }
    // Runs work, which tells the counter it is given how far it is, with its progress shown
    // where it may be; returns what work returns, once the progress is gone from the terminal.
    template <typename Work> auto showingProgress(const Work &work) const {
        ProgressCounter counter;
        const std::optional<TerminalProgress> shown = progressShown(counter);
        return work(counter);
    }
    // The end of a run: its message where it belongs, and the exit status.
    int finish(const RunMessage &message, RunOutcome outcome, bool done = true) const {
        if (outcome == RunOutcome::Stopped) {
            print(stderr, message);
            return SignalStop::exitStatus();
        }
        done = done && outcome == RunOutcome::Done;
        if (!done || !quiet())
            print(done ? stdout : stderr, message);
        return done ? Done : Failed;
    }

    QString m_name;
    const Tuning &m_tuning;
    QCommandLineParser m_parser;
    StopRequest m_stop;

private:
    std::optional<TerminalProgress> progressShown(const ProgressCounter &counter) const {
        if (m_tuning.progressLines)
            return std::optional<TerminalProgress>(std::in_place, counter, stderr,
                                                   TerminalProgress::Style::Lines,
                                                   std::chrono::seconds(1));
        if (quiet() || !::isatty(STDERR_FILENO))
            return std::nullopt;
        return std::optional<TerminalProgress>(std::in_place, counter, stderr,
                                               TerminalProgress::Style::Redrawn,
                                               std::chrono::milliseconds(200));
    }

    const QCommandLineOption m_quiet{{QStringLiteral("q"), QStringLiteral("quiet")}};
    const QCommandLineOption m_help{{QStringLiteral("h"), QStringLiteral("help")}};
};

class Split : public Command {
public:
    explicit Split(const Tuning &tuning)
        : Command(QStringLiteral("split"), tuning) {
        m_parser.addOptions({m_size, m_output, m_noChecksums});
    }

protected:
    int execute() override {
        const QStringList files = m_parser.positionalArguments();
        if (files.isEmpty())
            return usage(m_name, QStringLiteral("No files to be converted.  You need to add "
                                                "files to be converted"));
        if (files.contains(QString()))
            return usage(m_name, QStringLiteral("an empty argument: no file name given"));
        if (!m_parser.isSet(m_size))
            return usage(m_name, QStringLiteral("No output file size selected.  You need to "
                                                "select the Output File Size you want"));
        const auto length = SizeArgument::pieceLength(m_parser.value(m_size));
        if (const auto *problem = std::get_if<SizeArgument::Problem>(&length))
            return usage(m_name, problem->text);
        SplitRequest request;
        // "." rather than the current folder's path, which may have gone: the check then says
        // so of the folder itself.
        request.outputFolder = QDir::toNativeSeparators(
            m_parser.isSet(m_output) ? m_parser.value(m_output) : QStringLiteral("."));
        request.pieceLength = std::get<qint64>(length);
        request.writeChecksums = !m_parser.isSet(m_noChecksums);
        for (const QString &file : files)
            request.queue.append(queuedFile(file));
        const SplitPlan plan = planSplit(request);
        const SplitResult result = showingProgress([&](ProgressCounter &counter) {
            return SplitRun(plan, counter, m_stop, m_tuning.run).run();
        });
        return finish(RunMessages::split(plan, result), result.outcome);
    }

    RunMessage failure(const Failure &failure) const override {
        return RunMessages::splitFailure(failure);
    }

private:
    const QCommandLineOption m_size{
        {QStringLiteral("s"), QStringLiteral("size")}, {}, QStringLiteral("SIZE")};
    const QCommandLineOption m_output{
        {QStringLiteral("o"), QStringLiteral("output")}, {}, QStringLiteral("DIR")};
    const QCommandLineOption m_noChecksums{QStringLiteral("no-checksums")};
};

// Asks on the terminal: the question is printed, and answered as -y says.
class Answers : public JoinQuestions {
public:
    explicit Answers(bool yes)
        : m_yes(yes) {}
    bool askYesNo(const QString &question) override {
        print(stderr, question);
        print(stderr, m_yes ? QStringLiteral("Yes (-y).")
                            : QStringLiteral("No: tessary-cli answers No unless -y is given."));
        return m_yes;
    }

private:
    bool m_yes;
};

// A command on one file, a restore script, a first piece or a checksum list.
class OneFileCommand : public Command {
public:
    using Command::Command;

protected:
    int execute() override {
        const QStringList files = m_parser.positionalArguments();
        if (files.size() != 1)
            return usage(m_name, files.isEmpty() ? QStringLiteral("which file?")
                                                 : QStringLiteral("one file at a time"));
        if (files.first().isEmpty())
            return usage(m_name, QStringLiteral("an empty argument: no file name given"));
        return execute(files.first());
    }
    virtual int execute(const QString &file) = 0;
};

class Join : public OneFileCommand {
public:
    explicit Join(const Tuning &tuning)
        : OneFileCommand(QStringLiteral("join"), tuning) {
        m_parser.addOption(m_yes);
    }

protected:
    int execute(const QString &file) override {
        Answers answers(m_parser.isSet(m_yes));
        const JoinPlan plan = planJoin(file, answers, keepGoing());
        const JoinResult result = showingProgress([&](ProgressCounter &counter) {
            return JoinRun(plan, counter, m_stop, m_tuning.run.copyMethod).run();
        });
        return finish(RunMessages::join(plan, result), result.outcome);
    }

    RunMessage failure(const Failure &failure) const override {
        return RunMessages::joinFailure(failure);
    }

private:
    const QCommandLineOption m_yes{{QStringLiteral("y"), QStringLiteral("yes")}};
};

class Verify : public OneFileCommand {
public:
    explicit Verify(const Tuning &tuning)
        : OneFileCommand(QStringLiteral("verify"), tuning) {}

protected:
    int execute(const QString &file) override {
        const VerifyPlan plan = planVerify(file, keepGoing());
        const VerifyResult result = showingProgress(
            [&](ProgressCounter &counter) { return runVerify(plan, counter, m_stop); });
        return finish(RunMessages::verify(plan, result), result.outcome, result.allMatch());
    }

    RunMessage failure(const Failure &failure) const override {
        return RunMessages::verifyFailure(failure);
    }
};

} // namespace

std::optional<qint64> pieceLength(const QString &size) {
    const auto length = SizeArgument::pieceLength(size);
    if (const qint64 *bytes = std::get_if<qint64>(&length))
        return *bytes;
    return std::nullopt;
}

int runProcess(int argc, char *argv[], const QStringList &arguments, const Tuning &tuning) {
    int status = Done;
    for (int i = 1; i < argc && status == Done; ++i) {
        const QByteArray raw(argv[i]);
        // Decoded, it would name another file (its bad bytes replaced), or none.
        if (QString::fromLocal8Bit(raw).toLocal8Bit() != raw)
            status = usage({}, QStringLiteral("%1: not text in this system's encoding (UTF-8), "
                                              "so Tessary cannot tell which file it names")
                                   .arg(escapedBytes(raw)));
    }
    if (status == Done)
        status = run(arguments, tuning);
    // What could not be written (a full disk, a closed pipe) was not said: that is no success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "%s: standard output: %s\n", qPrintable(kProgram),
                     std::strerror(errno));
        status = status == Done ? int(Failed) : status;
    }
    if (std::fflush(stderr) != 0 || std::ferror(stderr))
        status = status == Done ? int(Failed) : status;
    return status;
}

int run(const QStringList &arguments, const Tuning &tuning) {
    const QString command = arguments.value(1);
    const QStringList rest = QStringList{kProgram + u' ' + command} + arguments.mid(2);
    if (command == u"split")
        return Split(tuning).run(rest);
    if (command == u"join")
        return Join(tuning).run(rest);
    if (command == u"verify")
        return Verify(tuning).run(rest);
    if (command == u"-h" || command == u"--help") {
        print(stdout, helpText());
        return Done;
    }
    if (command == u"--version") {
        print(stdout, QStringLiteral("tessary-cli %1").arg(QLatin1StringView(kTessaryVersion)));
        return Done;
    }
    return usage({}, command.isEmpty() ? QStringLiteral("which command: split, join or verify?")
                                       : QStringLiteral("unknown command %1").arg(command));
}

} // namespace Cli
