#include "Cli.h"
#include "CliText.h"

#include "Commands.h"
#include "HelpText.h"
#include "Options.h"
#include "SizeArgument.h"
#include "Terminal.h"
#include "Version.h"

#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <variant>

namespace Cli {

namespace {

// An argument that is no text in the system's encoding: decoded, it would name another file
// (its bad bytes replaced), or none. Refused, by name; Done when every argument is text.
int refuseUndecodable(int argc, char *argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        if (QString::fromLocal8Bit(raw).toLocal8Bit() != raw)
            return usage({}, CliText::tr("%1: not text in this system's encoding (UTF-8), so "
                                         "Tessary cannot tell which file it names")
                                 .arg(escapedBytes(raw)));
    }
    return Done;
}

} // namespace

std::optional<qint64> pieceLength(const QString &size) {
    const auto length = SizeArgument::pieceLength(size);
    if (const qint64 *bytes = std::get_if<qint64>(&length))
        return *bytes;
    return std::nullopt;
}

int runProcess(int argc, char *argv[], const QStringList &arguments, const Tuning &tuning) {
    // A reader that went away (| head) makes a write fail, told below, rather than end the
    // program with no word at all.
    std::signal(SIGPIPE, SIG_IGN);
    int status = refuseUndecodable(argc, argv);
    if (status == Done)
        status = run(arguments, tuning);
    // What could not be written (a full disk, a closed pipe) was not said: that is no success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno;
        print(stderr, CliText::tr("%1: standard output: %2")
                          .arg(kProgram, QString::fromLocal8Bit(std::strerror(error))));
        status = status == Done ? int(Failed) : status;
    }
    if (std::fflush(stderr) != 0 || std::ferror(stderr))
        status = status == Done ? int(Failed) : status;
    return status;
}

int run(const QStringList &arguments, const Tuning &tuning) {
    const QString name = arguments.value(1);
    if (const std::unique_ptr<Command> command = commandNamed(name, tuning))
        return command->run(QStringList{kProgram + u' ' + name} + arguments.mid(2));
    if (name == u"-h" || name == u"--help") {
        print(stdout, helpText(kProgramItself));
        return Done;
    }
    if (name == u"--version") {
        print(stdout, QStringLiteral("tessary-cli %1").arg(QLatin1StringView(kTessaryVersion)));
        return Done;
    }
    return usage({}, name.isEmpty() ? CliText::tr("which command: split, join or verify?")
                                    : CliText::tr("unknown command %1").arg(name));
}

} // namespace Cli
