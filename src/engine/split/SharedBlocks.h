#pragma once

#include <QtGlobal>

class OutputFolder;
class SourceFile;

// Whether the kernel's copy of the source into pieces of pieceLength bytes in folder shares the
// source's blocks rather than writing them again: every piece but the last of whole blocks, and
// the folder's file system one that lets its files share the source's (btrfs, XFS with reflink),
// as a trial finds. There a cut that lists the pieces'
// digests copies first and reads the pieces back, since writing them from memory would cost the
// space and the writes that the sharing saves.
bool piecesShareSourceBlocks(const SourceFile &source, const OutputFolder &folder,
                             qint64 pieceLength);
