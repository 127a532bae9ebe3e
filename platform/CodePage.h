// Bytes in one of the Windows code pages, as RTF names them (\ansicpg1251),
// read as UTF-8. 1252 has its own table (every byte survives, the five the
// code page leaves unassigned as the control characters of the same number);
// 65001 is UTF-8 itself; the others go through the system's converter, and a
// code page it does not know is read as 1252.
#pragma once

#include <string>
#include <string_view>

namespace vx {

class TCodePageDecoder {
public:
    explicit TCodePageDecoder(int codePage = 1252);
    ~TCodePageDecoder();
    TCodePageDecoder(const TCodePageDecoder&) = delete;
    TCodePageDecoder& operator=(const TCodePageDecoder&) = delete;

    // The code page the bytes are read in (1252 for one the system does not know).
    int CodePage() const { return codePage_; }
    // The bytes as UTF-8; a sequence the code page does not hold, or one cut
    // short at the end, becomes U+FFFD for each of its bytes.
    std::string ToUtf8(std::string_view bytes);

private:
    int codePage_;
    void* converter_ = nullptr; // the system converter, for code pages other than 1252 and 65001
};

} // namespace vx
