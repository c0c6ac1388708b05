#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>

// A digest computed piece by piece, by OpenSSL's libcrypto, which uses the processor's own
// instructions where it has them. SHA-256 is Tessary's own; MD5 and SHA-1 are what remotes
// compute of the files they hold, to be compared with what was sent.
class Digest {
public:
    enum class Algorithm { Md5, Sha1, Sha256 };

    explicit Digest(Algorithm algorithm);
    ~Digest();
    Digest(const Digest &) = delete;
    Digest &operator=(const Digest &) = delete;

    void add(const char *data, qint64 size);
    // The digest of everything added, as lower-case hex digits; starts over afterwards.
    QByteArray hexDigest();

private:
    struct Context;
    std::unique_ptr<Context> m_context;
};
