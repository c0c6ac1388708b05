#pragma once

#include <QString>
#include <QStringList>

struct RecoveryVerdict;
struct VerifyResult;

// What the user reads of recovery files: what they can rebuild, what they rebuilt.
namespace RecoveryMessages {

// After a check: what the recovery files can do for the pieces that are damaged or missing,
// and which of them do not match the list; empty when there is nothing to say.
QString afterCheck(const VerifyResult &result);
// After a join: the pieces rebuilt before it; empty when none was.
QString rebuilt(const QStringList &pieces);
// After a join that failed or was stopped once pieces were rebuilt: those pieces, which stay.
QString rebuiltAndKept(const QStringList &pieces);
} // namespace RecoveryMessages
