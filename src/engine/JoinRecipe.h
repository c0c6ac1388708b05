#pragma once

#include <QString>

// What a join makes: the pieces name.1 ... name.N, in order, joined into name, all in one
// folder, and the words that tell the user it is done.
struct JoinRecipe {
    QString script;      // the file it was read from: a restore script or the first piece
    QString folder;      // native separators
    QString destination; // bare name
    qint64 pieceCount = 0;
    QString restoredMessage; // "name has been restored"
};

// The recipe of the file the user chose: the restore script of a split, or, where the script
// is missing, the first piece name.1, whose pieces then run up to the first number that does
// not exist. A script is read the way the command shell reads the scripts Tessary writes, and
// only such a script is accepted: any other command, a name with a folder part, a destination
// that is not the name its pieces share, or a piece out of order is refused with a FileError
// that quotes the line. Nothing in a script is ever run.
JoinRecipe joinRecipeFor(const QString &path);
