// The elements open at a place in a page, as a browser builds them: an end
// tag closes the element it names within its scope, and a start tag first ends
// the elements HTML lets a page leave open (p, li, dt, dd, tr, td, th, option,
// thead, tbody, tfoot). The beautifier's HTML level is the number of open
// elements whose start tag matches an "Indent HTML" entry.
#pragma once

#include "tools/PageScanner.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vx::tools {

class THtmlNesting {
public:
    // Word keys of the "Indent HTML" and "Outdent HTML" lists.
    THtmlNesting(const std::vector<std::string>& indentKeys, const std::vector<std::string>& outdentKeys);

    int Level() const { return level_; }

    // The start tag text at name's element; returns the level once the
    // elements it ends are closed, before its own element opens.
    int Start(std::string_view tag, const TTagName& name, unsigned flags);
    // The end tag text; returns whether the element's closing line stands at
    // the outer level (the tag matches an "Outdent HTML" entry).
    bool End(std::string_view tag, const TTagName& name, unsigned flags);

private:
    struct TOpen {
        TTagName Name;
        unsigned Flags;
        bool Indents;
    };

    // Whether an entry of the list is in the tag's key. An entry that is a
    // mark, "<" or "</" and letters (as the shipped ones are) matches the tags
    // whose name starts with the letters; for the others the tag's key is
    // made, and as pages repeat their tags the answers are kept (up to a
    // bound) by tag text.
    class TTagMatcher {
    public:
        explicit TTagMatcher(const std::vector<std::string>& keys);
        bool operator()(std::string_view tag);

    private:
        struct TNameEntry {
            bool Closing;
            std::string Letters;
        };
        struct THash {
            using is_transparent = void;
            std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
        };
        std::vector<TNameEntry> names_;
        std::vector<std::string> others_;
        std::unordered_map<std::string, bool, THash, std::equal_to<>> known_;
        std::string key_;
    };

    void PopTo(std::size_t size);
    // The innermost open element named name, not looking past an element
    // with any of the stop flags or named stopName; npos when there is none.
    std::size_t Find(const TTagName& name, unsigned stopFlags, const TTagName& stopName = {}) const;
    void CloseOpen(const TTagName& name, unsigned stopFlags);
    // Closes the elements inside the innermost open table part named by keep.
    void CloseInsideTable(std::initializer_list<const TTagName*> keep);
    bool TopIs(const TTagName& name) const { return !open_.empty() && open_.back().Name == name; }

    TTagMatcher indents_;
    TTagMatcher outdents_;
    std::vector<TOpen> open_;
    int level_ = 0;
    int tables_ = 0;
};

} // namespace vx::tools
