#pragma once

#include "FileFacts.h"
#include "checksums/ChecksumList.h"
#include "recovery/RecoveryLayout.h"

#include <QByteArray>
#include <QList>

#include <functional>

class OutputFolder;
class OutputNames;

// Makes the recovery files of one file's pieces through the par2 program, in a private folder
// inside the output folder, and puts each in place without replacing anything. What it put in
// place goes again when the object goes, unless the split kept it: a failure or a stop after
// leaves nothing of them.
class RecoveryWriter {
public:
    RecoveryWriter(const OutputFolder &folder, const OutputNames &names, qint64 pieces,
                   const RecoveryLayout &layout);
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter &) = delete;
    RecoveryWriter &operator=(const RecoveryWriter &) = delete;

    // Makes and places them, telling progress how far par2 is (0 to 1), and asking keepGoing;
    // each flushed to the disk first where flushEach. Returns their names and SHA-256 digests,
    // for the checksum list. Throws a Failure.
    QList<ChecksumList::Listed> write(const std::function<void(double)> &progress,
                                      const std::function<bool()> &keepGoing, bool flushEach);
    // The split is done: what was put in place stays.
    void keep() { m_placed.clear(); }

private:
    QStringList arguments(const QByteArray &privateFolder) const;

    const OutputFolder &m_folder;
    const OutputNames &m_names;
    const qint64 m_pieces;
    const RecoveryLayout m_layout;
    QList<QPair<QByteArray, FileIdentity>> m_placed;
};
