#include "recovery/RecoveryCheck.h"

#include "Failure.h"
#include "OutputFolder.h"
#include "Par2Program.h"
#include "checksums/ChecksumList.h"
#include "recovery/Par2Progress.h"

#include <QRegularExpression>

namespace {

// par2's exit statuses: the set is whole, can be repaired, cannot be.
constexpr int kWhole = 0;
constexpr int kRepairable = 1;
constexpr int kNotRepairable = 2;

qint64 numberAfter(const QString &output, const QString &pattern) {
    const QRegularExpressionMatch match = QRegularExpression(pattern).match(output);
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

} // namespace

std::optional<QByteArray> recoveryFileBeside(const OutputFolder &folder, const ChecksumList &list) {
    for (const ChecksumList::Listed &listed : list.recovery) {
        const QByteArray name = fileSystemName(listed.name);
        if (folder.facts(name).kind == FileKind::Regular)
            return name;
    }
    return std::nullopt;
}

RecoveryVerdict verdictOf(const Par2Program::Outcome &outcome, qint64 pieces,
                          const QString &recoveryPath) {
    const QString &output = outcome.output;
    switch (outcome.exitCode) {
    case kWhole:
        return {RecoveryVerdict::State::Whole, 0};
    case kRepairable:
        return {RecoveryVerdict::State::CanRebuild, 0};
    case kNotRepairable: {
        // par2 counts blocks; a piece found again brings as many as a piece holds.
        const qint64 blocks = numberAfter(output, QStringLiteral("out of ([0-9]+) data blocks"));
        const qint64 needed = numberAfter(output, QStringLiteral("You need ([0-9]+) more"));
        if (needed > 0) {
            const qint64 perPiece = std::max<qint64>(1, (blocks + pieces - 1) / pieces);
            return {RecoveryVerdict::State::CannotRebuild, (needed + perPiece - 1) / perPiece};
        }
        break;
    }
    default:
        break;
    }
    throw Failure(Failure::Code::Par2CouldNotRead, recoveryPath,
                  {FailureArg::text(outcome.lastLine())});
}

RecoveryVerdict assessRecovery(const OutputFolder &folder, const QByteArray &recoveryFile,
                               qint64 pieces, const std::function<void(double)> &progress,
                               const std::function<bool()> &keepGoing) {
    const Par2Program::Outcome outcome = Par2Program::run(
        {QStringLiteral("verify"), QStringLiteral("--"), fromFileSystemName(recoveryFile)},
        folder.pathForChild(), folder.filePath(recoveryFile),
        Par2Progress(Par2Progress::Work::Verify, pieces, progress), keepGoing);
    return verdictOf(outcome, pieces, folder.filePath(recoveryFile));
}
