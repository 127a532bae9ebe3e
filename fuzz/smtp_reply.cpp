// Fuzz target: the SMTP reply reader. Bytes arrive in chunks of a size the
// input chooses; every line taken is whole, within the limit and free of line
// breaks, the only error is ELineTooLong, and replies keep their bounds.
#include "fuzz/FuzzCheck.h"
#include "internet/LineBuffer.h"
#include "internet/SmtpReply.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    constexpr std::size_t kLimit = 64;
    const std::size_t chunk = 1 + data[0] % 32;
    std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    TLineBuffer buffer(kLimit);
    TSmtpReply reply;
    std::size_t lineBytes = 0;
    try {
        for (std::size_t at = 0; at < input.size(); at += chunk) {
            buffer.Append(input.substr(at, chunk));
            while (auto line = buffer.TakeLine()) {
                VX_FUZZ_CHECK(line->size() <= kLimit);
                VX_FUZZ_CHECK(line->find('\n') == std::string::npos);
                lineBytes += line->size();
                reply.AddLine(*line);
                VX_FUZZ_CHECK(reply.Code().size() <= 3);
                VX_FUZZ_CHECK(reply.Text().size() <= 64);
                const int code = SmtpCodeNumber(reply.Code());
                VX_FUZZ_CHECK(code >= 0 && code <= 999);
            }
            VX_FUZZ_CHECK(buffer.Pending().find('\n') == std::string::npos);
        }
        VX_FUZZ_CHECK(lineBytes + buffer.Pending().size() <= input.size());
    } catch (const ELineTooLong&) {
    }
    return 0;
}
