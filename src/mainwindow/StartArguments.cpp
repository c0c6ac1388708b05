#include "StartArguments.h"

#include <QCoreApplication>

namespace {

class StartText {
    Q_DECLARE_TR_FUNCTIONS(Start)
};

} // namespace

StartArguments StartArguments::parse(const QStringList &arguments) {
    StartArguments start;
    bool optionsEnd = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (optionsEnd || !argument.startsWith(u'-') || argument == u"-") {
            start.files << argument;
            continue;
        }
        Action action = Action::Wrong;
        if (argument == u"--")
            optionsEnd = true;
        else if (argument == u"--join")
            action = Action::Join;
        else if (argument == u"--verify")
            action = Action::Verify;
        else if (argument == u"--help" || argument == u"-h")
            return {Action::Help, {}, {}};
        else if (argument == u"--version")
            return {Action::Version, {}, {}};
        else
            return {Action::Wrong, {}, StartText::tr("unknown option %1").arg(argument)};
        if (optionsEnd)
            continue;
        if (start.action != Action::Queue)
            return {Action::Wrong, {}, StartText::tr("--join and --verify go one at a time")};
        start.action = action;
    }
    if (start.action != Action::Queue && start.files.size() > 1)
        return {Action::Wrong,
                {},
                StartText::tr("%1 takes one file")
                    .arg(start.action == Action::Join ? QStringLiteral("--join")
                                                      : QStringLiteral("--verify"))};
    return start;
}

QString StartArguments::helpText() {
    return StartText::tr(
        "Usage: tessary [FILE...]\n"
        "       tessary --join [FILE]\n"
        "       tessary --verify [FILE]\n"
        "\n"
        "Tessary cuts files into numbered pieces of a chosen size, with a restore script and a\n"
        "SHA-256 list beside them, and joins them again.\n"
        "\n"
        "  FILE...          open the window with the FILEs queued to be split\n"
        "  --join [FILE]    join the pieces of FILE, a restore script or a first piece\n"
        "  --verify [FILE]  check the pieces of FILE against their checksum list\n"
        "  -h, --help       show this help\n"
        "  --version        show the version\n"
        "\n"
        "Without FILE, --join and --verify ask for it. tessary-cli does the same without a\n"
        "window.\n");
}
