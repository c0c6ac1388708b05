#include "Sha256.h"

#include <openssl/evp.h>

#include <new>

struct Sha256::Context {
    EVP_MD_CTX *context = EVP_MD_CTX_new();
    ~Context() { EVP_MD_CTX_free(context); }
};

namespace {

void startOver(EVP_MD_CTX *context) {
    if (!context || EVP_DigestInit_ex(context, EVP_sha256(), nullptr) != 1)
        throw std::bad_alloc();
}

} // namespace

Sha256::Sha256()
    : m_context(std::make_unique<Context>()) {
    startOver(m_context->context);
}

Sha256::~Sha256() = default;

void Sha256::add(const char *data, qint64 size) {
    EVP_DigestUpdate(m_context->context, data, size_t(size));
}

QByteArray Sha256::hexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(m_context->context, digest, &length);
    startOver(m_context->context);
    return QByteArray(reinterpret_cast<const char *>(digest), int(length)).toHex();
}
