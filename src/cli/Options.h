#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

// tessary-cli's commands and options, each declared once: its help is built from them, and a
// test holds the manual page and the shell completion to the same list.
namespace Cli {

struct CommandSpec {
    QString name;      // "split"
    QString arguments; // what follows the name in the usage line
    QString help;
};

struct OptionSpec {
    QStringList names;    // "s", "size": one letter for -s, more for --size
    QString value;        // "SIZE"; empty for a switch
    QString help;
    QStringList commands; // those that take it; empty for the program itself, before a command
};

const QList<CommandSpec> &commandSpecs();
const QList<OptionSpec> &optionSpecs();

// The options command takes, as its parser takes them; with the name given ("size"), one.
QList<QCommandLineOption> parserOptions(const QString &command);
QCommandLineOption parserOption(const QString &name);

// The whole help, from the declarations.
QString helpText();

} // namespace Cli
