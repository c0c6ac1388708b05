#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

// tessary-cli's commands and options, each declared once: its help is built from them, and a
// test holds the manual page and the shell completion to the same list.
namespace Cli {

struct CommandDeclaration {
    QString name;      // "split"
    QString arguments; // what follows the name in the usage line
    QString help;
};

struct OptionDeclaration {
    QStringList names; // "s", "size": one letter for -s, more for --size
    QString value;     // "SIZE"; empty for a switch
    QString help;
    QStringList commands; // those that take it; empty for the program itself, before a command
};

const QList<CommandDeclaration> &commandDeclarations();
const QList<OptionDeclaration> &optionDeclarations();

// The options command takes, as its parser takes them.
QList<QCommandLineOption> parserOptions(const QString &command);

// The whole help, from the declarations.
QString helpText();

} // namespace Cli
