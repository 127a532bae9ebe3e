#include "platform/CodePage.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"

#include <iconv.h>

#include <cerrno>

namespace vx {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

} // namespace

TCodePageDecoder::TCodePageDecoder(int codePage) : codePage_(codePage)
{
    if (codePage_ == 1252 || codePage_ == 65001)
        return;
    const iconv_t converter =
        codePage_ > 0 ? iconv_open("UTF-8", ("CP" + std::to_string(codePage_)).c_str()) : kNoConverter;
    if (converter == kNoConverter)
        codePage_ = 1252;
    else
        converter_ = converter;
}

TCodePageDecoder::~TCodePageDecoder()
{
    if (converter_)
        iconv_close(static_cast<iconv_t>(converter_));
}

std::string TCodePageDecoder::ToUtf8(std::string_view bytes)
{
    if (codePage_ == 1252)
        return Cp1252ToUtf8(bytes);
    std::string text;
    if (codePage_ == 65001) {
        for (std::size_t i = 0; i < bytes.size();) {
            std::size_t length = 0;
            utf8::Append(text, utf8::Decode(bytes, i, &length));
            i += length;
        }
        return text;
    }
    const auto converter = static_cast<iconv_t>(converter_);
    char out[256];
    char* in = const_cast<char*>(bytes.data()); // iconv reads through a pointer to non-const
    std::size_t inLeft = bytes.size();
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        char* to = out;
        std::size_t outLeft = sizeof out;
        const std::size_t done = iconv(converter, &in, &inLeft, &to, &outLeft);
        text.append(out, static_cast<std::size_t>(to - out));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A byte that begins no character of the code page, or a character cut short.
            utf8::Append(text, utf8::kReplacement);
            ++in;
            --inLeft;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return text;
}

} // namespace vx
