#include "messages/RecoveryMessages.h"

#include "Failure.h"
#include "verify/Verify.h"
#include "words/FailureText.h"
#include "words/MessageText.h"

#include "PluralCount.h"

#include <QCoreApplication>

#include <algorithm>

namespace RecoveryMessages {

namespace {

class RecoveryMessagesText {
    Q_DECLARE_TR_FUNCTIONS(RecoveryMessages)
};

qint64 notMatching(const QList<VerifyResult::Entry> &entries) {
    return std::count_if(entries.cbegin(), entries.cend(), [](const VerifyResult::Entry &entry) {
        return entry.status != VerifyResult::Status::Matches;
    });
}

QString verdict(const VerifyResult &result) {
    const qint64 damaged = notMatching(result.pieces);
    const qint64 pieces = result.pieces.size();
    if (result.rebuildUnknown)
        return RecoveryMessagesText::tr(
                   "Whether the recovery files can rebuild the pieces could not be "
                   "told: %1.")
            .arg(failureReason(*result.rebuildUnknown));
    if (!result.rebuild || damaged == 0)
        return {};
    switch (result.rebuild->state) {
    case RecoveryVerdict::State::CanRebuild:
        return RecoveryMessagesText::tr("%1 of the %2 are damaged or missing; the recovery "
                                        "files can rebuild them.",
                                        nullptr, pluralCount(damaged))
            .arg(QString::number(damaged), piecesText(pieces));
    case RecoveryVerdict::State::CannotRebuild:
        return failureReason(Failure(Failure::Code::CannotRebuild, {},
                                     {FailureArg::count(damaged), FailureArg::count(pieces),
                                      FailureArg::count(result.rebuild->morePieces)}));
    case RecoveryVerdict::State::Whole:
        break;
    }
    return RecoveryMessagesText::tr(
        "The recovery files find every piece whole, though the checksum list "
        "does not.");
}

} // namespace

QString afterCheck(const VerifyResult &result) {
    QStringList sentences;
    if (const QString told = verdict(result); !told.isEmpty())
        sentences << told;
    if (const qint64 bad = notMatching(result.recovery); bad > 0)
        sentences << RecoveryMessagesText::tr("%1 of the %2 recovery files are damaged or "
                                              "missing, so fewer pieces can be rebuilt.",
                                              nullptr, pluralCount(bad))
                         .arg(bad)
                         .arg(result.recovery.size());
    return sentences.join(u' ');
}

QString rebuilt(const QStringList &pieces) {
    if (pieces.isEmpty())
        return {};
    return pieces.size() == 1
               ? RecoveryMessagesText::tr("%1 was rebuilt from the recovery files first.")
                     .arg(printable(pieces.first()))
               : RecoveryMessagesText::tr(
                     "%1 pieces were rebuilt from the recovery files first: %2.", nullptr,
                     pluralCount(pieces.size()))
                     .arg(pieces.size())
                     .arg(printable(pieces.join(QStringLiteral(", "))));
}

QString rebuiltAndKept(const QStringList &pieces) {
    return pieces.size() == 1
               ? RecoveryMessagesText::tr("%1 was rebuilt from the recovery files before that, "
                                          "and stays beside the other pieces.")
                     .arg(printable(pieces.first()))
               : RecoveryMessagesText::tr("%1 pieces were rebuilt from the recovery files "
                                          "before that, and stay beside the others: %2.",
                                          nullptr, pluralCount(pieces.size()))
                     .arg(pieces.size())
                     .arg(printable(pieces.join(QStringLiteral(", "))));
}

} // namespace RecoveryMessages
