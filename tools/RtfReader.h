// The state machine behind RtfToHtml: one pass over the RTF text, groups
// keeping their character formatting, the font and colour tables read from
// their own groups, and every look-ahead bounded by the text's end. Text
// comes out in UTF-8: bytes (\'e9, or 8-bit bytes written as they are) are
// characters of the document's code page (\ansicpg, 1252 when none is given),
// and \uN is the character N, the fallback after it skipped.
#pragma once

#include "platform/CodePage.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vx::tools {

class TRtfReader {
public:
    explicit TRtfReader(std::string_view rtf) : rtf_(rtf) {}
    void Run();
    std::string TakeOutput() { return std::move(out_); }

private:
    enum class TKind { Normal, ListStart, ListItem, ItemEnd, ListEnd };
    enum class TAlign { Left, Right, Center };
    struct TFormat {
        bool Bold = false, Italic = false, Underline = false;
        int Font = 0, Colour = 0, Size = 0;
        int FallbackLength = 1; // \ucN: the characters of \uN's fallback
    };
    struct TWord {
        std::string_view Name;
        bool HasParameter = false;
        int Parameter = 0;
    };

    std::size_t ControlSequence(std::size_t at);
    TWord ReadWord(std::size_t& pos) const;
    void Word(const TWord& word, std::size_t& pos);
    std::size_t SkipGroup(std::size_t from) const;
    // Past the end of the group that holds from, which is closed.
    std::size_t SkipRestOfGroup(std::size_t from);
    std::size_t ReadFontTable(std::size_t from);
    std::size_t ReadColourTable(std::size_t from);
    void OpenGroup();
    void CloseGroup();
    void Emit(char c) { Emit(std::string_view(&c, 1)); }
    void Emit(std::string_view text);
    // One byte of UTF-8 text, as an entity where HTML needs one.
    void Text(char c);
    // The bytes of the code page read so far, as the characters they are.
    void FlushBytes();
    // \uN: the character, its fallback (the next characters) skipped.
    void Unicode(int parameter);
    // Where the control sequence at at ends, without acting on it.
    std::size_t SkipControl(std::size_t at) const;
    // The font table entry's name, as UTF-8: escaped bytes in the code page.
    std::string FontName(std::string_view written);
    void OpenParagraph();
    enum class TStyleStep { CloseAll, CloseUnwanted, OpenWanted };
    void WriteStyles(TStyleStep step);
    void Changed(bool font);

    std::string_view rtf_;
    std::string out_;
    std::unique_ptr<vx::TCodePageDecoder> codePage_ = std::make_unique<vx::TCodePageDecoder>();
    std::string bytes_;       // of the code page, not yet read as characters
    int fallbackLeft_ = 0;    // characters of a \uN's fallback still to skip
    char16_t highSurrogate_ = 0; // the first half of a \uN pair
    std::map<int, std::string> fonts_;
    std::vector<std::string> colours_;
    std::vector<TFormat> groups_;
    TFormat want_;
    // The style tags written and not yet closed.
    bool shownBold_ = false, shownItalic_ = false, shownUnderline_ = false;
    TKind kind_ = TKind::Normal;
    TAlign align_ = TAlign::Left;
    bool paragraphOpen_ = false;
    bool current_ = true;
    bool fontChanged_ = false;
    int defaultFont_ = 0;
    bool attribute_ = false;
};

} // namespace vx::tools
