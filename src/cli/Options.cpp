#include "Options.h"
#include "CliText.h"

#include "names/OutputKinds.h"
#include "sizes/SizeTable.h"
#include "sizes/SizeTargets.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace Cli {

namespace {

QStringList windowSizes() {
    QStringList sizes;
    for (const SizeRow &row : kSizeTable) {
        if (&row != &kSizeTable.front())
            sizes << QString::fromLatin1(row.label);
    }
    return sizes;
}

QStringList targetNames() {
    QStringList names;
    for (const SizeTarget &target : kSizeTargets)
        names << QString::fromUtf16(target.name);
    return names;
}

// "fat32 (4,294,967,295), cd (737,280,000), ...": each with the most bytes a piece may hold.
QString targetsWithBytes() {
    const QLocale locale;
    QStringList targets;
    for (const SizeTarget &target : kSizeTargets)
        targets << QStringLiteral("%1 (%2)").arg(QString::fromUtf16(target.name),
                                                 locale.toString(target.pieceBytes));
    return targets.join(QStringLiteral(", "));
}

// "[--no-checksums] [--no-sh]": the outputs a split may leave out.
QString leaveOutUsage() {
    QStringList switches;
    for (const OutputKind &output : kOutputKinds) {
        if (output.mayBeLeftOut())
            switches << QStringLiteral("[--%1]").arg(QString::fromUtf16(output.leaveOutSwitch));
    }
    return switches.join(u' ');
}

// --no-checksums, --no-sh: one for each output a split may leave out.
QList<OptionDeclaration> leaveOutSwitches() {
    QList<OptionDeclaration> switches;
    for (const OutputKind &output : kOutputKinds) {
        if (output.mayBeLeftOut())
            switches.append({.names = {QString::fromUtf16(output.leaveOutSwitch)},
                             .help = QCoreApplication::translate("Outputs", output.leaveOutHelp),
                             .commands = {QStringLiteral("split")}});
    }
    return switches;
}

// The options, with those that leave outputs out after --recovery.
QList<OptionDeclaration> withLeaveOutSwitches(QList<OptionDeclaration> options) {
    const auto recovery =
        std::find_if(options.cbegin(), options.cend(), [](const OptionDeclaration &option) {
            return option.names.contains(QStringLiteral("recovery"));
        });
    const qsizetype at =
        recovery == options.cend() ? options.size() : recovery - options.cbegin() + 1;
    const QList<OptionDeclaration> switches = leaveOutSwitches();
    for (qsizetype i = 0; i < switches.size(); ++i)
        options.insert(at + i, switches[i]);
    return options;
}

} // namespace

const QList<CommandDeclaration> &commandDeclarations() {
    static const QList<CommandDeclaration> commands{
        {QStringLiteral("split"),
         QStringLiteral("(-s SIZE [--aligned] | -n N) [-o DIR | -o REMOTE:path [--mkdir] "
                        "[--resume]] [-r N|N%] %1 [-q] FILE...")
             .arg(leaveOutUsage()),
         CliText::tr("cut each FILE into pieces of SIZE, or into N pieces, in DIR (by default the "
                     "current folder), with restore scripts for Windows (FILE.bat) and for macOS, "
                     "Linux and the BSDs (FILE.sh) and a SHA-256 list (FILE.sha256) beside them; "
                     "or onto a remote of rclone's, REMOTE:path, each piece sent as it is read, "
                     "none written to the local disk.")},
        {QStringLiteral("join"), QStringLiteral("[-y] [-o DIR] [-q] FILE | REMOTE:path/FILE"),
         CliText::tr(
             "join the pieces of FILE, a restore script, a SHA-256 list or a first piece "
             "(name.1), into the file they were split from, beside them, checked against the "
             "list when there is one, lost or damaged pieces rebuilt from recovery files; or "
             "those on a remote of rclone's, which must have their list, into DIR (by default "
             "the current folder), each piece checked as it comes.")},
        {QStringLiteral("verify"), QStringLiteral("[-q] FILE | REMOTE:path/FILE"),
         CliText::tr("check the pieces of FILE, a SHA-256 list, a restore script or a first piece, "
                     "here or on a remote of rclone's, against the list, writing nothing.")},
    };
    return commands;
}

const QList<OptionDeclaration> &optionDeclarations() {
    const QStringList split{QStringLiteral("split")};
    const QStringList everyCommand{QStringLiteral("split"), QStringLiteral("join"),
                                   QStringLiteral("verify")};
    static const QList<OptionDeclaration> options = withLeaveOutSwitches({
        {.names = {QStringLiteral("s"), QStringLiteral("size")},
         .value = QStringLiteral("SIZE"),
         .help = CliText::tr(
                     "the piece size, which has no default: one of the window's sizes, %1; what "
                     "a piece must fit, %2, in pieces of at most that many bytes; a whole number "
                     "of bytes; or a number with k, M or G (1000s) or KiB, MiB or GiB (1024s) "
                     "that comes to whole bytes (1.5k, 64MiB), read the same under every locale. "
                     "Every piece but the last holds one byte less than SIZE (at 100k, 99,999 "
                     "bytes), so SIZE is 2 bytes at least.")
                     .arg(windowSizes().join(u' '), targetsWithBytes()),
         .commands = split,
         .offered = windowSizes() + targetNames()},
        {.names = {QStringLiteral("n"), QStringLiteral("pieces")},
         .value = QStringLiteral("N"),
         .help = CliText::tr("cut each file into N pieces of one length, the last no longer; a "
                             "file too short for that is refused."),
         .commands = split},
        {.names = {QStringLiteral("aligned")},
         .help = CliText::tr("round SIZE down to whole blocks of the output folder's file system "
                             "(4,096 bytes on most), and say so: on a volume that shares blocks "
                             "between files (btrfs, XFS), pieces cut from a source there can then "
                             "share its blocks."),
         .commands = split},
        {.names = {QStringLiteral("o"), QStringLiteral("output")},
         .value = QStringLiteral("DIR"),
         .help = CliText::tr(
             "the output folder, by default the current one; for a split, REMOTE:path too: a "
             "remote of rclone's configuration (rclone listremotes) or one made on the fly "
             "(:sftp,host=example.org:path). A local folder whose name holds a colon before any "
             "slash is given as ./NAME. A join takes it only from a remote."),
         .commands = {QStringLiteral("split"), QStringLiteral("join")},
         .offersFolders = true},
        {.names = {QStringLiteral("mkdir")},
         .help = CliText::tr("make the remote folder where it is missing; without it, a split "
                             "into a folder that is not there is refused."),
         .commands = split},
        {.names = {QStringLiteral("resume")},
         .help = CliText::tr("take up a split to a remote that was cut: the pieces there that "
                             "hold what this split sends are kept, the rest sent; run the same "
                             "command again with it."),
         .commands = split},
        {.names = {QStringLiteral("r"), QStringLiteral("recovery")},
         .value = QStringLiteral("N|N%"),
         .help = CliText::tr("write recovery files in PAR2 (FILE.par2 and its volumes) that "
                             "rebuild any N lost or damaged pieces, or N percent of them (rounded "
                             "up); they need the par2 program, and the SHA-256 list that names "
                             "them."),
         .commands = split},
        {.names = {QStringLiteral("y"), QStringLiteral("yes")},
         .help = CliText::tr(
             "answer Yes to every question: replace a file, join without a script or list, go "
             "on past a piece of odd length, rebuild pieces from recovery files. Without it, "
             "each is answered No."),
         .commands = {QStringLiteral("join")}},
        {.names = {QStringLiteral("q"), QStringLiteral("quiet")},
         .help = CliText::tr("no progress, and no message on success; of a check that fails, "
                             "only what is wrong."),
         .commands = everyCommand},
        {.names = {QStringLiteral("h"), QStringLiteral("help")},
         .help = CliText::tr("show this help."),
         .commands = QStringList{kProgramItself} + everyCommand},
        {.names = {QStringLiteral("version")},
         .help = CliText::tr("show the version."),
         .commands = {kProgramItself}},
    });
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

QStringList typedNames(const OptionDeclaration &option) {
    QStringList names;
    for (const QString &name : option.names)
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    return names;
}

} // namespace Cli
