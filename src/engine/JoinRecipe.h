#pragma once

#include <QString>

// What a join makes: the pieces name.1 ... name.N, in order, joined into name, all in one
// folder.
struct JoinRecipe {
    QString script;      // the file it was read from: a restore script or the first piece
    QString folder;      // native separators
    QString destination; // bare name
    qint64 pieceCount = 0;
    bool fromFirstPiece = false; // no script stood beside it to tell how many pieces there are
};

// The recipe of the file the user chose: the restore script of a split, or the first piece
// name.1, which stands for the script beside it, or where there is none for the pieces up to
// the first number that does not exist. A script is read the way the command shell reads the
// scripts Tessary writes, and only such a script is accepted: any other command, a name with a
// folder part, a destination that is not the name its pieces share, or a piece out of order is
// refused with a FileError that quotes the line. Nothing in a script is ever run.
JoinRecipe joinRecipeFor(const QString &path);
