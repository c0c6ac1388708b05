#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

// tessary-cli's commands and options, each declared once: its help is built from them, and so,
// when the program is built, are its manual page's synopsis and options and its bash completion
// (src/cli/docs/).
namespace Cli {

// Stands in an option's commands for the program itself, before any command: --version.
inline const QString kProgramItself;

struct CommandDeclaration {
    QString name;      // "split"
    QString arguments; // what follows the name in the usage line
    QString help;
};

// Each member has a default, so that a declaration names only those it sets.
struct OptionDeclaration {
    QStringList names = {}; // "s", "size": one letter for -s, more for --size
    QString value = {};     // "SIZE"; empty for a switch
    QString help = {};
    QStringList commands = {}; // those that take it, kProgramItself among them for its own
    // What the shell offers to complete the value with: these words (the sizes after -s), or
    // folders; nothing where neither (a number).
    QStringList offered = {};
    bool offersFolders = false;
};

const QList<CommandDeclaration> &commandDeclarations();
const QList<OptionDeclaration> &optionDeclarations();

// The options command takes, as its parser takes them.
QList<QCommandLineOption> parserOptions(const QString &command);

// "-s, --size": the names as they are typed.
QStringList typedNames(const OptionDeclaration &option);

} // namespace Cli
