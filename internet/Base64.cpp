// Base64 encoding.
#include "internet/Base64.h"

namespace vx::net {

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

std::string Base64Encode(std::string_view bytes)
{
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8
                   | static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[v >> 18 & 63];
        out += kAlphabet[v >> 12 & 63];
        out += kAlphabet[v >> 6 & 63];
        out += kAlphabet[v & 63];
    }
    std::size_t rest = bytes.size() - i;
    if (rest) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2)
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += kAlphabet[v >> 18 & 63];
        out += kAlphabet[v >> 12 & 63];
        out += rest == 2 ? kAlphabet[v >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}

std::vector<std::string> Base64Lines(std::string_view bytes, const std::function<void(std::size_t)>& progress)
{
    std::vector<std::string> lines;
    for (std::size_t done = 0; done < bytes.size();) {
        std::size_t n = std::min(kBase64LineBytes, bytes.size() - done);
        lines.push_back(Base64Encode(bytes.substr(done, n)));
        done += n;
        if (progress)
            progress(done);
    }
    return lines;
}

} // namespace vx::net
