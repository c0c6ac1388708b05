#pragma once

#include "names/ChecksumListText.h"

#include <QByteArray>
#include <QList>

class OutputNames;

// The files a split writes beside the pieces, whole, as a test compares or plants them.

// The restore script for Windows that joins pieceCount pieces.
QByteArray restoreScriptText(const OutputNames &names, qint64 pieceCount);
// The restore script for macOS and Linux of pieces of pieceLengths (all full but the last), with
// their digests where wholeDigest is one.
QByteArray posixScriptText(const OutputNames &names, const QList<qint64> &pieceLengths,
                           const QByteArray &wholeDigest = {},
                           const QList<QByteArray> &pieceDigests = {});
// The checksum list.
QByteArray checksumListText(const OutputNames &names, const QByteArray &whole,
                            const QList<QByteArray> &pieces,
                            const QList<ListedFile> &recovery = {});
