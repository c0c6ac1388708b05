#include "HelpText.h"
#include "CliText.h"

#include "Options.h"

#include <QCoreApplication>
#include <QStringList>

namespace Cli {

namespace {

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
    return typedNames(option).join(QStringLiteral(", ")) +
           (option.value.isEmpty() ? QString() : u' ' + option.value);
}

// "(split) " before what only one command takes, in the whole program's help.
QString takenOnlyBy(const OptionDeclaration &option) {
    if (option.commands.size() != 1 || option.commands.first() == kProgramItself)
        return {};
    return QStringLiteral("(%1) ").arg(option.commands.first());
}

} // namespace

QString helpText(const QString &command) {
    const bool whole = command == kProgramItself;
    const QString usage = CliText::tr("Usage: ");
    QStringList lines;
    for (const CommandDeclaration &declared : commandDeclarations()) {
        if (whole || declared.name == command)
            lines << (lines.isEmpty() ? usage : QString(usage.size(), u' ')) +
                         QStringLiteral("tessary-cli ") + declared.name + u' ' + declared.arguments;
    }
    lines << QString();
    if (whole)
        lines << wrapped(CliText::tr("Tessary without windows: the same checks before writing, "
                                     "the same pieces, restore scripts and SHA-256 lists, and "
                                     "the same messages as its window."),
                         0)
              << QString();
    for (const CommandDeclaration &declared : commandDeclarations()) {
        if (whole)
            lines << QStringLiteral("  %1  ").arg(declared.name, -6) + wrapped(declared.help, 10);
        else if (declared.name == command) // a sentence of its own
            lines << wrapped(declared.help.left(1).toUpper() + declared.help.mid(1), 0);
    }
    lines << QString();
    for (const OptionDeclaration &option : optionDeclarations()) {
        if (whole || option.commands.contains(command))
            lines << QStringLiteral("  ") + optionHead(option)
                  << QStringLiteral("        ") +
                         wrapped((whole ? takenOnlyBy(option) : QString()) + option.help, 8);
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
