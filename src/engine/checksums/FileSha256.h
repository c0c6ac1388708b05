#pragma once

#include <QByteArray>

#include <functional>

class OutputFolder;

// The SHA-256 of the file at name in folder, itself and never a link, from its start to where a
// read returns nothing, through a DigestPipeline; onRead hears how many bytes each read gave.
// Throws a Failure where it cannot be read, and one of kind Stopped once keepGoing says no.
QByteArray sha256Of(const OutputFolder &folder, const QByteArray &name,
                    const std::function<bool()> &keepGoing,
                    const std::function<void(qint64)> &onRead = {});
