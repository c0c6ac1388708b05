#include "Digest.h"

#include <openssl/evp.h>

#include <new>

struct Digest::Context {
    explicit Context(const EVP_MD *algorithm)
        : algorithm(algorithm) {}
    ~Context() { EVP_MD_CTX_free(context); }
    Context(const Context &) = delete;
    Context &operator=(const Context &) = delete;

    void startOver() const {
        if (!context || EVP_DigestInit_ex(context, algorithm, nullptr) != 1)
            throw std::bad_alloc();
    }

    const EVP_MD *algorithm;
    EVP_MD_CTX *context = EVP_MD_CTX_new();
};

namespace {

const EVP_MD *evpOf(Digest::Algorithm algorithm) {
    switch (algorithm) {
    case Digest::Algorithm::Md5:
        return EVP_md5();
    case Digest::Algorithm::Sha1:
        return EVP_sha1();
    case Digest::Algorithm::Sha256:
        break;
    }
    return EVP_sha256();
}

} // namespace

Digest::Digest(Algorithm algorithm)
    : m_context(std::make_unique<Context>(evpOf(algorithm))) {
    m_context->startOver();
}

Digest::~Digest() = default;

void Digest::add(const char *data, qint64 size) {
    EVP_DigestUpdate(m_context->context, data, size_t(size));
}

QByteArray Digest::hexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(m_context->context, digest, &length);
    m_context->startOver();
    return QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex();
}
