#include "ManualPage.h"

#include "Options.h"

#include <QRegularExpression>
#include <QSet>

#include <utility>

namespace Cli {

namespace {

// The words that stand for what the user gives: SIZE, N, DIR, FILE.
QSet<QString> placeholders() {
    static const QRegularExpression word(QStringLiteral("\\b[A-Z]+\\b"));
    QSet<QString> found;
    for (const CommandDeclaration &command : commandDeclarations()) {
        for (const QRegularExpressionMatch &match : word.globalMatch(command.arguments))
            found.insert(match.captured());
    }
    return found;
}

QSet<QString> optionNames() {
    QSet<QString> names;
    for (const OptionDeclaration &option : optionDeclarations()) {
        for (const QString &name : typedNames(option))
            names.insert(name);
    }
    return names;
}

// Plain text as scdoc shows it: its marks escaped, the options and words in bold (the sizes
// that -s offers, in its help), placeholders underlined.
QString marked(const QString &text, const QStringList &words = {}) {
    QStringList escapedWords;
    for (const QString &word : words)
        escapedWords << QRegularExpression::escape(word);
    const QRegularExpression token(
        QStringLiteral("(?<![\\w-])(--?[a-z][a-z0-9-]*|[A-Z]+)(?![\\w-])") +
        (words.isEmpty()
             ? QString()
             : QStringLiteral("|(?<![\\w.-])(%1)(?![\\w.-])").arg(escapedWords.join(u'|'))));
    static const QSet<QString> options = optionNames();
    static const QSet<QString> given = placeholders();
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'*', QStringLiteral("\\*"))
        .replace(u'_', QStringLiteral("\\_"));
    QString out;
    qsizetype done = 0;
    for (const QRegularExpressionMatch &match : token.globalMatch(escaped)) {
        const QString word = match.captured();
        const QString mark = options.contains(word) || match.hasCaptured(2) ? QStringLiteral("*")
                             : given.contains(word)                         ? QStringLiteral("_")
                                                                            : QString();
        out += escaped.mid(done, match.capturedStart() - done) + mark + word + mark;
        done = match.capturedEnd();
    }
    return out + escaped.mid(done);
}

// "(*split*)" after an option that some commands take and others not.
QString takenBy(const OptionDeclaration &option) {
    QStringList commands;
    for (const CommandDeclaration &command : commandDeclarations()) {
        if (option.commands.contains(command.name))
            commands << u'*' + command.name + u'*';
    }
    if (commands.isEmpty() || commands.size() == commandDeclarations().size())
        return {};
    return QStringLiteral(" (%1)").arg(commands.join(QStringLiteral(", ")));
}

} // namespace

QString manualSynopsis() {
    QStringList paragraphs;
    for (const CommandDeclaration &command : commandDeclarations())
        paragraphs << QStringLiteral("*tessary-cli %1* ").arg(command.name) +
                          marked(command.arguments);
    return paragraphs.join(QStringLiteral("\n\n"));
}

QString manualOptions() {
    QStringList entries;
    for (const OptionDeclaration &option : optionDeclarations()) {
        QString help = marked(option.help, option.offered);
        if (!help.isEmpty())
            help[0] = help[0].toUpper();
        entries << marked(typedNames(option).join(QStringLiteral(", ")) +
                          (option.value.isEmpty() ? QString() : u' ' + option.value)) +
                       takenBy(option) + QStringLiteral("\n\t") + help;
    }
    return entries.join(QStringLiteral("\n\n"));
}

FilledPage filledManualPage(const QString &templateText) {
    const std::pair<QString, QString> filled[] = {
        {QStringLiteral("@SYNOPSIS@"), manualSynopsis()},
        {QStringLiteral("@OPTIONS@"), manualOptions()},
    };
    FilledPage page{templateText, {}};
    for (const auto &[name, text] : filled) {
        const QRegularExpression line(QStringLiteral("^%1$").arg(name),
                                      QRegularExpression::MultilineOption);
        const QRegularExpressionMatch match = line.match(page.text);
        if (match.hasMatch())
            page.text.replace(match.capturedStart(), match.capturedLength(), text);
        else
            page.missing << name;
    }
    return page;
}

} // namespace Cli
