// SHA-256 as FIPS 180-4 defines it.
#include "platform/Sha256.h"

#include <algorithm>

namespace vx {

namespace {

constexpr std::array<std::uint32_t, 64> RoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t Rotate(std::uint32_t x, int n)
{
    return (x >> n) | (x << (32 - n));
}

} // namespace

TSha256::TSha256()
    : state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19}
{
}

void TSha256::Compress(const unsigned char* block)
{
    std::array<std::uint32_t, 64> w{};
    for (int i = 0; i < 16; ++i)
        w[i] = std::uint32_t(block[4 * i]) << 24 | std::uint32_t(block[4 * i + 1]) << 16 |
               std::uint32_t(block[4 * i + 2]) << 8 | std::uint32_t(block[4 * i + 3]);
    for (int i = 16; i < 64; ++i) {
        const std::uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    auto [a, b, c, d, e, f, g, h] = state_;
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t t1 =
            h + (Rotate(e, 6) ^ Rotate(e, 11) ^ Rotate(e, 25)) + ((e & f) ^ (~e & g)) + RoundConstants[i] + w[i];
        const std::uint32_t t2 = (Rotate(a, 2) ^ Rotate(a, 13) ^ Rotate(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    const std::array<std::uint32_t, 8> mixed{a, b, c, d, e, f, g, h};
    for (int i = 0; i < 8; ++i)
        state_[i] += mixed[i];
}

void TSha256::Add(std::string_view bytes)
{
    total_ += bytes.size();
    const auto* next = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t left = bytes.size();
    if (pendingSize_ > 0) {
        const std::size_t taken = std::min(left, pending_.size() - pendingSize_);
        std::copy_n(next, taken, pending_.begin() + pendingSize_);
        pendingSize_ += taken;
        next += taken;
        left -= taken;
        if (pendingSize_ < pending_.size())
            return;
        Compress(pending_.data());
        pendingSize_ = 0;
    }
    for (; left >= pending_.size(); next += pending_.size(), left -= pending_.size())
        Compress(next);
    std::copy_n(next, left, pending_.begin());
    pendingSize_ = left;
}

std::string TSha256::HexDigest()
{
    const std::uint64_t bits = total_ * 8;
    const unsigned char one = 0x80;
    Add(std::string_view(reinterpret_cast<const char*>(&one), 1));
    const std::array<char, 64> zeros{};
    Add(std::string_view(zeros.data(), (pending_.size() + 56 - pendingSize_) % pending_.size()));
    std::array<char, 8> length{};
    for (int i = 0; i < 8; ++i)
        length[i] = static_cast<char>(bits >> (56 - 8 * i));
    Add(std::string_view(length.data(), length.size()));
    static constexpr char Digits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint32_t word : state_)
        for (int shift = 28; shift >= 0; shift -= 4)
            hex += Digits[(word >> shift) & 0xF];
    return hex;
}

std::string Sha256Hex(std::string_view bytes)
{
    TSha256 digest;
    digest.Add(bytes);
    return digest.HexDigest();
}

} // namespace vx
