#include "Options.h"
#include "CliText.h"

#include "sizes/SizeTable.h"
#include "sizes/SizeTargets.h"

#include <QCoreApplication>

namespace Cli {

namespace {

QString listedSizes() {
    QStringList sizes;
    for (const SizeRow &row : kSizeTable) {
        if (&row != &kSizeTable.front())
            sizes << QString::fromLatin1(row.label);
    }
    return sizes.join(u' ');
}

QString namedTargets() {
    QStringList targets;
    for (const SizeTarget &target : kSizeTargets)
        targets << QString::fromUtf16(target.name);
    return targets.join(u' ');
}

// The words, wrapped at width, each line after the first indented by indent.
QString wrapped(const QString &text, qsizetype indent, qsizetype width = 92) {
    QString out;
    qsizetype column = indent;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (column > indent && column + 1 + word.size() > width) {
            out += u'\n' + QString(indent, u' ');
            column = indent;
        } else if (column > indent) {
            out += u' ';
            ++column;
        }
        out += word;
        column += word.size();
    }
    return out;
}

QString optionHead(const OptionDeclaration &option) {
    QStringList names;
    for (const QString &name : option.names)
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    return names.join(QStringLiteral(", ")) +
           (option.value.isEmpty() ? QString() : u' ' + option.value);
}

} // namespace

const QList<CommandDeclaration> &commandDeclarations() {
    static const QList<CommandDeclaration> commands{
        {QStringLiteral("split"),
         QStringLiteral(
             "(-s SIZE | -n N) [-o DIR] [-r N|N%] [--no-checksums] [--no-sh] [-q] FILE..."),
         CliText::tr("cut each FILE into pieces of SIZE, or into N pieces, in DIR (by default the "
                     "current folder), with restore scripts for Windows (FILE.bat) and for macOS, "
                     "Linux and the BSDs (FILE.sh) and a SHA-256 list (FILE.sha256) beside them.")},
        {QStringLiteral("join"), QStringLiteral("[-y] [-q] FILE"),
         CliText::tr(
             "join the pieces of FILE, a restore script, a SHA-256 list or a first piece "
             "(name.1), into the file they were split from, beside them, checked against the "
             "list when there is one, lost or damaged pieces rebuilt from recovery files.")},
        {QStringLiteral("verify"), QStringLiteral("[-q] FILE"),
         CliText::tr("check the pieces of FILE, a SHA-256 list, a restore script or a first piece, "
                     "against the list, writing nothing.")},
    };
    return commands;
}

const QList<OptionDeclaration> &optionDeclarations() {
    const QStringList split{QStringLiteral("split")};
    static const QList<OptionDeclaration> options{
        {{QStringLiteral("s"), QStringLiteral("size")},
         QStringLiteral("SIZE"),
         CliText::tr(
             "the piece size: one of the window's sizes, %1; one to fit %2; a whole number of "
             "bytes; or a number with k, M or G (1000s) or KiB, MiB or GiB (1024s), the same "
             "under every locale. Every piece but the last holds one byte less than SIZE.")
             .arg(listedSizes(), namedTargets()),
         split},
        {{QStringLiteral("n"), QStringLiteral("pieces")},
         QStringLiteral("N"),
         CliText::tr("cut each file into N pieces of one length, the last no longer."),
         split},
        {{QStringLiteral("o"), QStringLiteral("output")},
         QStringLiteral("DIR"),
         CliText::tr("the output folder, by default the current one."),
         split},
        {{QStringLiteral("r"), QStringLiteral("recovery")},
         QStringLiteral("N|N%"),
         CliText::tr("write recovery files in PAR2 (FILE.par2 and its volumes) that rebuild any N "
                     "lost or damaged pieces, or N percent of them; they need the par2 program."),
         split},
        {{QStringLiteral("no-checksums")}, {}, CliText::tr("write no SHA-256 list."), split},
        {{QStringLiteral("no-sh")},
         {},
         CliText::tr("write no restore script for macOS, Linux and the BSDs."),
         split},
        {{QStringLiteral("y"), QStringLiteral("yes")},
         {},
         CliText::tr(
             "answer Yes to every question: replace a file, join without a script or list, go "
             "on past a piece of odd length, rebuild pieces from recovery files. Without it, "
             "each is answered No."),
         {QStringLiteral("join")}},
        {{QStringLiteral("q"), QStringLiteral("quiet")},
         {},
         CliText::tr("no progress, and no message on success."),
         {QStringLiteral("split"), QStringLiteral("join"), QStringLiteral("verify")}},
        {{QStringLiteral("h"), QStringLiteral("help")},
         {},
         CliText::tr("show this help."),
         {QStringLiteral("split"), QStringLiteral("join"), QStringLiteral("verify")}},
        {{QStringLiteral("version")}, {}, CliText::tr("show the version."), {}},
    };
    return options;
}

QList<QCommandLineOption> parserOptions(const QString &command) {
    QList<QCommandLineOption> options;
    for (const OptionDeclaration &option : optionDeclarations()) {
        if (option.commands.contains(command))
            options << QCommandLineOption(option.names, option.help, option.value);
    }
    return options;
}

QString helpText() {
    const QString usage = CliText::tr("Usage: ");
    QStringList lines;
    for (const CommandDeclaration &command : commandDeclarations())
        lines << (lines.isEmpty() ? usage : QString(usage.size(), u' ')) +
                     QStringLiteral("tessary-cli ") + command.name + u' ' + command.arguments;
    lines << QString()
          << wrapped(
                 CliText::tr("Tessary without windows: the same checks before writing, the same "
                             "pieces, restore scripts and SHA-256 lists, and the same messages as "
                             "its window."),
                 0)
          << QString();
    for (const CommandDeclaration &command : commandDeclarations())
        lines << QStringLiteral("  %1  ").arg(command.name, -6) + wrapped(command.help, 10);
    lines << QString();
    for (const OptionDeclaration &option : optionDeclarations()) {
        const QString where = option.commands.isEmpty() || option.commands.size() > 1
                                  ? QString()
                                  : QStringLiteral("(%1) ").arg(option.commands.first());
        lines << QStringLiteral("  ") + optionHead(option)
              << QStringLiteral("        ") + wrapped(where + option.help, 8);
    }
    lines << QString()
          << wrapped(CliText::tr(
                         "Progress shows on stderr when it is a terminal. Ctrl+C stops a run as "
                         "Cancel does in the window: the files finished keep their pieces, "
                         "nothing is left of the one under way."),
                     0)
          << QString()
          << wrapped(CliText::tr(
                         "Exit status: 0 done; 1 refused or failed (the reason on stderr, with "
                         "the path), or a piece damaged or missing; 2 usage; 128 + the signal's "
                         "number when one stopped it (130 Ctrl+C, 143 SIGTERM, 129 SIGHUP, 131 "
                         "SIGQUIT)."),
                     0);
    return lines.join(u'\n');
}

} // namespace Cli
