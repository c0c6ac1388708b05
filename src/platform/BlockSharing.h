#pragma once

#include <QtGlobal>

class FileHandle;
class OutputFolder;
class SourceFile;

// Files that share blocks rather than copies of them, on file systems that allow it (btrfs, XFS
// made with reflink): a file made of another's blocks takes no room of its own until one of the
// two is written.

// Whether files of folder can share source's blocks, found by trying: source's first block
// (blockSize bytes, or all of a shorter source) shared with a file of folder's that has no name
// and goes at once, so that nothing is left at any path. False where the folder's file system
// makes no unnamed files or refuses to share, and for a source of no bytes; never throws.
bool canShareBlocks(const OutputFolder &folder, const SourceFile &source, qint64 blockSize);

// Makes the length bytes at the start of source target's bytes from offset at by sharing their
// blocks, nothing copied: at and length whole blocks of the file system, but for a last, partial
// block at source's end. SourceEnded where source ends before length; Refused where the file
// system will not share this source's blocks though it shares others' (one bound there from
// another volume, one marked never to be shared); throws a Failure naming target with the
// system's reason where it fails otherwise.
enum class Sharing { Shared, SourceEnded, Refused };
Sharing shareBlocks(const SourceFile &source, qint64 length, const FileHandle &target, qint64 at);

// Whether every byte of file, from its first to its length, lies in blocks it shares with another
// file, as the file system maps it now: then it takes no room of its own. False where the file
// system cannot tell, or for a file of no bytes; never throws.
bool sharesAllItsBlocks(const SourceFile &file);
