#pragma once

#include <QString>
#include <QStringList>

namespace Cli {

// The lines of tessary-cli's manual page (scdoc's form) that its declarations (Options.h) give:
// the synopsis, a paragraph a command; and the options, each with who takes it and its help.
QString manualSynopsis();
QString manualOptions();

// The page from its template, each line "@NAME@" of names replaced by what names gives; the
// placeholders the template lacks, when it lacks any.
struct FilledPage {
    QString text;
    QStringList missing;
};
FilledPage filledManualPage(const QString &templateText);

} // namespace Cli
