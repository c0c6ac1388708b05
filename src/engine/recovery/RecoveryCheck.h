#pragma once

#include "Par2Program.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <optional>

class OutputFolder;
struct ChecksumList;

// What the recovery files beside a set of pieces can do for it, as the par2 program finds.
struct RecoveryVerdict {
    enum class State { Whole, CanRebuild, CannotRebuild };
    State state = State::Whole;
    qint64 morePieces = 0; // when it cannot: how many more pieces it would take
};

// The recovery file that par2 is given for the set: the first that list names and that stands
// in folder as a file of its own, the index before the volumes; nothing when none does.
std::optional<QByteArray> recoveryFileBeside(const OutputFolder &folder, const ChecksumList &list);

// The verdict of par2 on what it printed and how it ended, for a set of pieces pieces. Throws
// a Failure, naming recoveryPath, where par2 could make nothing of the recovery files.
RecoveryVerdict verdictOf(const Par2Program::Outcome &outcome, qint64 pieces,
                          const QString &recoveryPath);

// Asks par2, reading the pieces and recovery files in folder and writing nothing, what they can
// do; tells progress how far it is (0 to 1) and asks keepGoing. Throws a Failure where par2 is
// missing, fails or is stopped.
RecoveryVerdict assessRecovery(const OutputFolder &folder, const QByteArray &recoveryFile,
                               qint64 pieces, const std::function<void(double)> &progress,
                               const std::function<bool()> &keepGoing);
