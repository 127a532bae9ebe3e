// Token text in whole characters for exporters. A highlighter may end a
// token inside a multi-byte UTF-8 character (most scan a byte above 0x7F as a
// symbol of its own); converted token by token, such a character would come
// out as several broken pieces. Its first bytes are held back and go out
// with the token that brings the rest.
#pragma once

#include <string>
#include <string_view>

class TmwWholeCharacters {
public:
    // The bytes held back from the tokens before, then the token, less a
    // character the token ends inside of, which is held back in turn. The
    // text lies in token or in this object: valid until the next call.
    std::string_view Take(std::string_view token);
    // What is held back, given up at a line's end where nothing can complete it.
    std::string Flush();
    void Clear() { held_.clear(); }

private:
    std::string held_;
    std::string joined_;
};

// Where a character that text ends inside of begins: the offset of a lead
// byte whose trail bytes are missing at the end, else text's length.
std::size_t CutCharacterStart(std::string_view text);
