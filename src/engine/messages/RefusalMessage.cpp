#include "messages/RefusalMessage.h"

#include "words/FailureText.h"
#include "words/MessageText.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

namespace {

class RefusalText {
    Q_DECLARE_TR_FUNCTIONS(Refusal)
};

} // namespace

QString refusalMessage(const std::vector<Failure> &refusals, qsizetype shownAtMost) {
    QStringList lines;
    for (const Failure &refusal : refusals)
        lines << printable(
            QStringLiteral("\u2022 ") +
            QDir::toNativeSeparators(QDir::cleanPath(QDir::fromNativeSeparators(refusal.path()))) +
            QStringLiteral(": ") + failureReason(refusal));
    return RefusalText::tr("The split was not started:\n\n%1\n\nNothing was written.")
        .arg(listedAtMost(lines, shownAtMost));
}
