#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

// Every name one file's split writes beside it, and a join reads: the pieces name.1, name.2,
// ..., the restore scripts name.bat (Windows) and name.sh (macOS, Linux, the BSDs) and the
// checksum list name.sha256. As text (for scripts, lists and messages) and as the bytes the
// file system stores.
class OutputNames {
public:
    explicit OutputNames(QString fileName);

    // The file the outputs belong to: what a join makes.
    const QString &fileName() const noexcept { return m_fileName; }
    QString piece(qint64 number) const;
    QString script() const;
    QString posixScript() const;
    QString checksums() const;

    QByteArray pieceOnDisk(qint64 number) const;
    QByteArray scriptOnDisk() const;
    QByteArray checksumsOnDisk() const;
    // Sets buffer to the name of the piece on disk, reusing its storage: the names of thousands
    // of pieces cost no allocation each.
    void setPieceOnDisk(QByteArray &buffer, qint64 number) const;

    // The recovery files of a split, in PAR2's format: the index name.par2, and the volumes
    // name.volNN+1.par2 that hold one recovery block each, numbered from 0 in as many digits as
    // the count of volumes has (as the par2 program names them).
    QString recoveryIndex() const;
    QString recoveryVolume(qint64 number, qint64 volumes) const;

    // Every kind of output, told apart in names/OutputKinds.h.
    enum class Kind { Piece, Script, PosixScript, Checksums, Recovery };
    // The name of the output of kind (the first piece's for a piece, the index for recovery).
    QString beside(Kind kind) const;
    QByteArray besideOnDisk(Kind kind) const;
    // What an entry of a folder is among the outputs of any file: the file it belongs to and
    // which output, with the piece's number (for a recovery volume, its number plus one; 0 for
    // the index). Nothing for a name no split writes.
    struct Entry {
        QString fileName;
        Kind kind = Kind::Piece;
        qint64 piece = 0;
    };
    static std::optional<Entry> parse(const QString &name);

private:
    QString m_fileName;
    QByteArray m_piecePrefix; // "name." on disk
};
