#pragma once

#include <QCoreApplication>

// The context the checksum list's words are translated in.
class ChecksumsText {
    Q_DECLARE_TR_FUNCTIONS(Checksums)
};
