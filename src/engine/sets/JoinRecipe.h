#pragma once

#include "Failure.h"
#include "FileSystem.h"
#include "checksums/ChecksumList.h"
#include "names/PosixRestoreScript.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class OutputFolder;
class OutputNames;

// What a join makes: the pieces name.1 ... name.N, in order, joined into name, all in one
// folder.
struct JoinRecipe {
    QString chosen;      // the file the user chose: a restore script, a first piece or a list
    QString script;      // the restore script that says how many pieces there are, when one does
    QString folder;      // native separators
    QString destination; // bare name
    qint64 pieceCount = 0;
    // name.sh, when it stands beside the pieces, and its manifest where it is ours.
    QString posixScript;
    std::optional<PosixRestoreScript::Manifest> manifest;
};

// The recipe of the file the user chose: the restore script of a split; the first piece name.1
// or the checksum list name.sha256, which stand for the script beside them, or where there is
// none for the pieces up to the first number that does not exist (the list, read later, may
// say otherwise). A script is read the way the command shell reads the scripts Tessary writes,
// and only such a script is accepted: any other command, a name with a folder part, a
// destination that is not the name its pieces share, or a piece out of order is refused with a
// Failure that quotes the line. Nothing in a script is ever run.
JoinRecipe joinRecipeFor(const QString &path, const FileSystem &files);

// The recipe of the pieces of names in folder: their restore script's, when it stands beside
// them (it must restore names' file); where only a restore script for macOS and Linux of ours
// does, its count; or one without a script or a count.
JoinRecipe recipeBeside(const OutputFolder &folder, const OutputNames &names);

// The name of the lowest-numbered piece of names past count in folder, when one stands there.
std::optional<QString> pieceBeyond(const OutputFolder &folder, const OutputNames &names,
                                   qint64 count);

// The checksum list beside recipe's pieces, held to the recipe: it must list as many pieces as
// the script joins, and no piece may stand past the last it lists; where no script gave a
// count, the list gives it. Where no list stands there, the manifest of the restore script for
// macOS and Linux stands for it when it holds the pieces' digests. An empty list (no path)
// when there is neither. Throws Failure, and Stopped once keepGoing says no.
ChecksumList checksumListFor(const OutputFolder &folder, JoinRecipe &recipe,
                             const std::function<bool()> &keepGoing);

// The checksum list that the manifest of recipe's restore script for macOS and Linux stands
// for, where it holds the pieces' digests; an empty list (no path) where it does not.
ChecksumList manifestList(const JoinRecipe &recipe);

// What is wrong with the restore script for macOS and Linux beside recipe's pieces: it is not
// ours, or its manifest gives other pieces than list (when there is one); nothing when it is
// sound or none stands there.
std::optional<Failure> posixScriptFault(const JoinRecipe &recipe, const ChecksumList &list);
