#pragma once

#include "FileFacts.h"

#include <QByteArray>
#include <QSet>

#include <chrono>

class OutputFolder;

// The hidden names under which Tessary's own files and folders exist before they are put in
// place, ".tessary-<13 base-36 digits>.tmp", and the sweep of those that runs killed meanwhile
// left behind.

// A name of that form, unlikely to be taken.
QByteArray freshHiddenName();

// An empty file each private folder holds from its start: only a folder holding it is swept.
inline const QByteArray kPrivateFolderMark = QByteArrayLiteral("tessary-private-folder");

// A name in a private folder for a file of the user's that a run keeps aside there while it
// works: a folder that holds one is never swept, so that a killed run loses nothing of the
// user's.
QByteArray keptAsideName(qint64 number);

// Removes from folder what earlier processes, killed while they wrote, left under such names,
// and only what it can prove is such a leftover: named exactly so, a regular file of one name,
// none of the files in keep (queued sources, say), unlocked, and not written for longer than
// any run leaves its file unwritten; or a folder so named, itself and every entry in it that old,
// which holds the private folder's mark and nothing but files of one name and symbolic links,
// and no file kept aside. A run that
// is still writing holds its file's lock, and on a second mount that does not share locks (NFS)
// its file is still young, from the moment it is made; a private folder has no lock, and is
// swept only once it and all it holds are older than any run leaves them untouched.
void removeLeftovers(const OutputFolder &folder, const QSet<FileIdentity> &keep = {});

// No leftover is younger than this.
inline constexpr std::chrono::hours kLeftoverAge{24};
