#pragma once

#include "Digest.h"

// The SHA-256 of the bytes added, Tessary's own digest of every file it writes.
class Sha256 : public Digest {
public:
    Sha256()
        : Digest(Algorithm::Sha256) {}
};
