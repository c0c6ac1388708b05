#include "BashCompletion.h"

#include "Options.h"

#include <QStringList>

namespace Cli {

namespace {

// The words as one argument of the shell's, single-quoted.
QString quoted(const QStringList &words) {
    QString joined = words.join(u' ');
    joined.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + joined + u'\'';
}

QString reply(const QString &compgenArguments) {
    return QStringLiteral("mapfile -t COMPREPLY < <(compgen %1 -- \"$current\")")
        .arg(compgenArguments);
}

// The lines of the case of command: what follows each of its options that takes a value,
// then the options it offers.
QStringList commandCase(const QString &command) {
    QStringList values;
    QStringList options;
    for (const OptionDeclaration &option : optionDeclarations()) {
        if (!option.commands.contains(command))
            continue;
        options += typedNames(option);
        if (option.value.isEmpty())
            continue;
        values << QStringLiteral("        %1)").arg(typedNames(option).join(QStringLiteral(" | ")));
        if (!option.offered.isEmpty())
            values << QStringLiteral("            ") +
                          reply(QStringLiteral("-W ") + quoted(option.offered));
        else if (option.offersFolders)
            values << QStringLiteral("            ") + reply(QStringLiteral("-d"));
        else
            values << QStringLiteral("            COMPREPLY=()");
        values << QStringLiteral("            return") << QStringLiteral("            ;;");
    }
    QStringList lines{QStringLiteral("    %1)").arg(command)};
    if (!values.isEmpty())
        lines << QStringLiteral("        case $previous in") << values
              << QStringLiteral("        esac");
    lines << QStringLiteral("        options=%1").arg(quoted(options))
          << QStringLiteral("        ;;");
    return lines;
}

} // namespace

QString bashCompletion() {
    QStringList first;
    for (const CommandDeclaration &command : commandDeclarations())
        first << command.name;
    for (const OptionDeclaration &option : optionDeclarations()) {
        if (option.commands.contains(kProgramItself))
            first += typedNames(option);
    }
    QStringList lines{
        QStringLiteral("# bash completion for tessary-cli, written from its declarations of "
                       "commands and options"),
        QStringLiteral("# when it was built: each command's options, after an option what its "
                       "value may be, and files."),
        QStringLiteral("_tessary_cli() {"),
        QStringLiteral("    local current=${COMP_WORDS[COMP_CWORD]} "
                       "previous=${COMP_WORDS[COMP_CWORD - 1]} options"),
        QStringLiteral("    # bash breaks --size=1. into \"--size\" \"=\" \"1.\": the value is "
                       "completed as after --size."),
        QStringLiteral("    if [[ $current == = ]]; then"),
        QStringLiteral("        current="),
        QStringLiteral("    elif [[ $previous == = ]]; then"),
        QStringLiteral("        previous=${COMP_WORDS[COMP_CWORD - 2]}"),
        QStringLiteral("    fi"),
        QStringLiteral("    if ((COMP_CWORD == 1)); then"),
        QStringLiteral("        ") + reply(QStringLiteral("-W ") + quoted(first)),
        QStringLiteral("        return"),
        QStringLiteral("    fi"),
        QStringLiteral("    case ${COMP_WORDS[1]} in"),
    };
    for (const CommandDeclaration &command : commandDeclarations())
        lines += commandCase(command.name);
    lines << QStringLiteral("    *)") << QStringLiteral("        return")
          << QStringLiteral("        ;;") << QStringLiteral("    esac")
          << QStringLiteral("    if [[ $current == -* ]]; then")
          << QStringLiteral("        mapfile -t COMPREPLY < <(compgen -W \"$options\" -- "
                            "\"$current\")")
          << QStringLiteral("        return") << QStringLiteral("    fi")
          << QStringLiteral("    ") + reply(QStringLiteral("-f")) << QStringLiteral("}")
          << QStringLiteral("complete -o filenames -F _tessary_cli tessary-cli");
    return lines.join(u'\n') + u'\n';
}

} // namespace Cli
