#pragma once

#include <QString>

#include <variant>

// The piece size as the window hands it over (text from the size table or the custom-size
// box) or as the piece writer has turned it (a number of bytes); empty until the first split.
using PieceSize = std::variant<std::monostate, QString, double>;

// The working values of a split, shared by the main window and the engine. Nothing resets them
// between runs: after a run each keeps the last value written to it.
struct SplitState {
    qint64 fileCount = 0;      // queued files when the run started
    QString sourcePath;        // file being split, as queued
    QString piecePath;         // piece being written
    QString fileName;          // bare name of the file being split
    QString outputDir;         // output folder; ends in a separator during a run
    PieceSize pieceSize;       // bytes a piece may not reach
    qint64 pieceByteCount = 0; // bytes in the current piece
    qint64 pieceNumber = 0;    // current piece, from 1
    QString selectedPath;      // file being added to the queue
    QString restoreCommand;    // copy command(s) of the restore script, lines joined by CR LF
    QString batchPath;         // restore script being written
};
