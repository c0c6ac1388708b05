#pragma once

#include <QtGlobal>

// Asks the system to start writing length bytes of fd from offset to the disk, without waiting
// for it, so that a later flush has less left to wait for. Where the system offers no such
// thing it does nothing.
void startWriteback(int fd, qint64 offset, qint64 length);
