// The texts of a structured file (settings, language files) that earlier
// versions wrote in Windows-1252. A file is UTF-8 when every one of its texts
// is well-formed UTF-8; otherwise every text of it is Windows-1252. The file
// is read once, and read again when a text turned out not to be UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace vx {

class TFileTexts {
public:
    explicit TFileTexts(bool windows1252 = false) : windows1252_(windows1252) {}
    // A text of the file as this reading takes it.
    std::string operator()(std::string_view bytes);
    // Whether every text so far was UTF-8 (always, when reading as Windows-1252).
    bool AllUtf8() const { return allUtf8_; }

private:
    bool windows1252_;
    bool allUtf8_ = true;
};

// read(TFileTexts&) parses the file, passing each of its texts through the
// TFileTexts; what it returns from the reading that fits is returned.
template <class Read> auto ReadFileTexts(Read&& read)
{
    TFileTexts texts;
    auto result = read(texts);
    if (texts.AllUtf8())
        return result;
    TFileTexts legacy(true);
    return read(legacy);
}

} // namespace vx
