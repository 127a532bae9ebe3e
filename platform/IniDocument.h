// The text of a profile (INI) file as sections of lines, so that a change
// rewrites only the line it touches and comments and unknown lines survive.
// Section and key names match without regard to case; where a name occurs
// twice the first occurrence wins.
#pragma once

#include "platform/TStringList.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vx::ini {

class Document {
public:
    // Lines end at CR LF, CR or LF. Nothing is rejected: a line that is neither
    // a section, nor "key=value", is kept as it is and otherwise ignored.
    void Parse(std::string_view text);
    // Lines end in CR LF.
    std::string Format() const;

    // The value, trimmed, of the first such key in the first such section.
    const std::string* Find(std::string_view section, std::string_view key) const;
    // Sets the key, adding the section or the key (after the section's last key)
    // when missing. False when the value was already that.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes every section of that name; false when there was none.
    bool EraseSection(std::string_view section);
    // Removes every line of the key in the first such section.
    bool DeleteKey(std::string_view section, std::string_view key);

    // Each section name once, in file order.
    void SectionNames(TStrings& names) const;
    // Each key of the first such section once, in file order.
    void KeyNames(std::string_view section, TStrings& names) const;

private:
    struct Line {
        std::string text;
        std::string key; // empty for comments, blank and unknown lines
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };

    const Section* findSection(std::string_view name) const;
    Section* findSection(std::string_view name)
    {
        return const_cast<Section*>(std::as_const(*this).findSection(name));
    }

    std::vector<Line> preamble_;
    std::vector<Section> sections_;
};

} // namespace vx::ini
