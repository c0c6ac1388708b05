#pragma once

#include "RangeCopier.h"

#include <QByteArray>

#include <chrono>
#include <functional>

class OutputFolder;
class SourceFile;
class WorkerPool;

// One source file to cut into the pieces prefix1, prefix2, ... of pieceLength bytes.
struct CutPlan {
    const SourceFile &source;
    const OutputFolder &folder;
    QByteArray namePrefix; // "name." in the file system's encoding
    qint64 pieceLength = 1;
    qint64 plannedPieces = 1; // from the size the source reports; started several at a time
    qint64 checkedPieces = 1; // piece names already checked as safe to write
    // Throws FileError when a piece beyond checkedPieces may not be written at its name.
    std::function<void(const QByteArray &name)> checkLatePiece;
};

struct CutResult {
    qint64 pieces = 0;
    qint64 lastPieceBytes = 0;
};

// Cuts a source into consecutive pieces on the threads of a pool, several pieces at a time.
// Pieces are created in number order. The source is read until a read returns nothing, so a
// file longer than it reports is cut whole, and no empty piece is made past its end (only an
// empty source gets one, empty piece).
class PieceCutter {
public:
    PieceCutter(WorkerPool &pool, CopyMethod firstMethod);

    // Returns the number of pieces and the length of the last. On the first failure no further
    // piece is started; the pieces under way are finished, and the failure of the
    // lowest-numbered failing piece is thrown (FileError).
    CutResult cut(const CutPlan &plan, const std::function<void()> &whileWaiting,
                  std::chrono::milliseconds interval);

private:
    WorkerPool &m_pool;
    const CopyMethod m_firstMethod;
};
