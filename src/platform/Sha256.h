#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>

// A SHA-256 digest computed piece by piece, by OpenSSL's libcrypto, which uses the processor's
// SHA instructions where it has them.
class Sha256 {
public:
    Sha256();
    ~Sha256();

    void add(const char *data, qint64 size);
    // The digest of everything added, as 64 lower-case hex digits; starts over afterwards.
    QByteArray hexDigest();

private:
    struct Context;
    std::unique_ptr<Context> m_context;
};
