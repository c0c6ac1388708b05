#pragma once

#include <QByteArray>

#include <functional>
#include <optional>

class SourceFile;

struct FileDigest {
    QByteArray hex; // the SHA-256, as 64 lower-case hex digits
    qint64 bytes = 0;
};

// The SHA-256 of file from its start to where a read returns nothing, so that a file longer
// than it reports is hashed whole. keepGoing is asked before every read, which is bounded, and
// the result is nothing once it says no; onRead hears how many bytes each read gave. Throws
// Failure where a read fails.
std::optional<FileDigest> digestOfFile(const SourceFile &file,
                                       const std::function<bool()> &keepGoing,
                                       const std::function<void(qint64)> &onRead = {});
