#pragma once

#include <QByteArray>

#include <functional>

class DigestPipeline;
class OutputFolder;

// Feeds the file at name in folder, itself and never a link, to digests as one piece, from its
// start to where a read returns nothing; onRead hears how many bytes each read gave. Throws a
// Failure where it cannot be read, and one of kind Stopped once keepGoing says no.
void feedFile(DigestPipeline &digests, const OutputFolder &folder, const QByteArray &name,
              const std::function<bool()> &keepGoing,
              const std::function<void(qint64)> &onRead = {});

// The SHA-256 of the file at name in folder, fed so through a DigestPipeline of its own.
QByteArray sha256Of(const OutputFolder &folder, const QByteArray &name,
                    const std::function<bool()> &keepGoing,
                    const std::function<void(qint64)> &onRead = {});
