// The tag parser behind the main window's document lists (tags used, images
// referred to): a page held as lines cut into tags with their parameters and
// text runs with their character entities decoded. It reports no errors: any
// text gives some sequence of tags and texts. (The link checker's tokenizer,
// which reads streams and reports errors, is ::THTMLParser in internet/.)
#pragma once

#include "platform/TStringList.h"

#include <string>
#include <variant>
#include <vector>

namespace HTMLPars {

// One word of a tag: NAME=value, NAME=\"quoted value\" or a bare NAME.
struct THTMLParam {
    std::string Raw;
    std::string Name;  // upper case
    std::string Value; // without enclosing double quotes; empty for a bare name
};

struct THTMLTag {
    std::string Name; // upper case; "/B" for an end tag, "!--" for a comment
    std::string Raw;  // everything between "<" and ">"
    std::vector<THTMLParam> Params;
};

struct THTMLText {
    std::string Text; // blanks collapsed, line ends as blanks, entities decoded
    std::string Raw;
};

using THTMLElement = std::variant<THTMLTag, THTMLText>;

class THTMLParser {
public:
    // The input, one line per item; filled by the caller before Execute.
    TStringList& Lines() { return lines_; }
    const TStringList& Lines() const { return lines_; }

    // Parses Lines anew; the previous result is replaced.
    void Execute();
    // Tags and texts in document order.
    const std::vector<THTMLElement>& Parsed() const { return parsed_; }

private:
    void FlushText();
    void FlushTag();

    TStringList lines_;
    std::vector<THTMLElement> parsed_;
    std::string textBuffer_;
    std::string tagBuffer_;
    bool inTag_ = false;
};

} // namespace HTMLPars
