// SHA-256: a digest that tells texts apart whatever they hold, fed in pieces
// so that a large file need not be in memory at once.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vx {

class TSha256 {
public:
    TSha256();
    void Add(std::string_view bytes);
    // The digest of what was added, as 64 lower-case hexadecimal digits. The
    // object is spent afterwards.
    std::string HexDigest();

private:
    void Compress(const unsigned char* block);

    std::array<std::uint32_t, 8> state_;
    std::array<unsigned char, 64> pending_{};
    std::size_t pendingSize_ = 0;
    std::uint64_t total_ = 0;
};

std::string Sha256Hex(std::string_view bytes);

} // namespace vx
