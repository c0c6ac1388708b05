#pragma once

#include "Failure.h"
#include "names/OutputNames.h"
#include "names/PortableName.h"
#include "split/OutputProblem.h"

#include <QString>

#include <vector>

// Tells the user that the split was not started, why (each refusal's path and reason), and that
// nothing was written. Lists at most shownAtMost refusals (all when negative) and counts the
// rest.
QString refusalMessage(const std::vector<Failure> &refusals, qsizetype shownAtMost = -1);

// The words of every refusal, as the user reads them after the path it concerns.
namespace RefusalReason {

QString name(const NameProblem &problem);
QString nameNotUtf8();
QString sameNamesAs(const QString &earlierPath);
// "its piece /out/x.1 is a symbolic link, which ..."
QString output(OutputNames::Kind kind, const QString &path, const OutputProblem &problem);
// The same for a piece found past those checked, which the run meets on its way.
QString latePiece(const OutputProblem &problem);
QString outputNotExamined(const QString &path, const QString &reason);
// "its checksum list /out/x.sha256 is not a checksum list of x's pieces; ..."
QString notOurs(OutputNames::Kind kind, const QString &path, const QString &fileName);
// A file at a piece's name that no earlier split's script or list beside it names.
QString unnamedPiece(const QString &path, const OutputNames &names);
QString anotherRun(const QString &fileName);
QString nameTooLong(const QString &name, qint64 bytes, qint64 nameMax);
QString pathTooLong(const QString &name, qint64 bytes, qint64 pathMax);
QString folderNotWritable();
QString folderRemoved();
QString notEnoughSpace(qint64 needed, qint64 free);
QString notEnoughFiles(qint64 needed, qint64 free);
QString pieceTooLarge(qint64 largestFile, qint64 piece);
// "it holds 9 bytes, which cannot be cut into 4 pieces ..."
QString notInPieces(qint64 bytes, qint64 pieces);

} // namespace RefusalReason
