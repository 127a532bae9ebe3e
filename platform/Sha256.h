// SHA-256: a digest that tells texts apart whatever they hold, fed in pieces
// so that a large file need not be in memory at once. OpenSSL's libcrypto
// computes it, with the processor's SHA instructions where there are any.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vx {

class TSha256 {
public:
    TSha256();
    ~TSha256();
    TSha256(const TSha256&) = delete;
    TSha256& operator=(const TSha256&) = delete;

    void Add(std::string_view bytes);
    // The digest of what was added, as 64 lower-case hexadecimal digits;
    // empty, which matches no digest, where the library failed to compute
    // it. The object is spent afterwards.
    std::string HexDigest();

private:
    struct TContext;
    std::unique_ptr<TContext> context_;
    bool failed_ = false;
};

// The digest of bytes as HexDigest gives it.
std::string Sha256Hex(std::string_view bytes);

} // namespace vx
