#include "TerminalFront.h"
#include "CliText.h"

#include "Terminal.h"
#include "TerminalProgress.h"

#include <QCoreApplication>

void TerminalFront::ask(const Question &question, std::shared_ptr<PendingAnswer> answer) {
    const QString said = question.text + u'\n' +
                         (m_yes ? CliText::tr("Yes (-y).")
                                : CliText::tr("No: tessary-cli answers No unless -y is given."));
    if (m_progress)
        m_progress->interject(said);
    else
        Cli::print(stderr, said);
    answer->give(m_yes);
}
