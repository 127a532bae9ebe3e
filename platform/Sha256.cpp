#include "platform/Sha256.h"

#include <openssl/evp.h>

#include <new>

namespace vx {

struct TSha256::TContext {
    TContext() : Digest(EVP_MD_CTX_new())
    {
        if (!Digest || EVP_DigestInit_ex(Digest, EVP_sha256(), nullptr) != 1)
            throw std::bad_alloc();
    }
    ~TContext() { EVP_MD_CTX_free(Digest); }
    TContext(const TContext&) = delete;
    TContext& operator=(const TContext&) = delete;

    EVP_MD_CTX* Digest;
};

TSha256::TSha256() : context_(std::make_unique<TContext>()) {}

TSha256::~TSha256() = default;

void TSha256::Add(std::string_view bytes)
{
    failed_ = failed_ || EVP_DigestUpdate(context_->Digest, bytes.data(), bytes.size()) != 1;
}

std::string TSha256::HexDigest()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context_->Digest, digest, &length) != 1 || failed_)
        return {};
    static constexpr char Hex[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * length);
    for (unsigned int i = 0; i < length; ++i) {
        text += Hex[digest[i] >> 4];
        text += Hex[digest[i] & 15];
    }
    return text;
}

std::string Sha256Hex(std::string_view bytes)
{
    TSha256 digest;
    digest.Add(bytes);
    return digest.HexDigest();
}

} // namespace vx
