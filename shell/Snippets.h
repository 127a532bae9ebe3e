// Snippets: named blocks of text the user keeps, each in a file of its own in
// the snippets folder, listed in "snippets.dat" as pairs of lines (the name as
// the user typed it, then the file name).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::shell {

struct TSnippet {
    std::string Name;
    std::string File;
    bool operator==(const TSnippet&) const = default;
};

// The name with every blank turned into the digit "0", and ".snp".
std::string SnippetFileName(std::string_view name);
// Why the name cannot be stored; empty when it can. A name that is empty or
// all blanks, holds "..", a path separator, a reserved character or a control
// character is refused, so a snippet's file always lies in the snippets folder.
std::string SnippetNameProblem(std::string_view name);

// The pairs of the list text; a last name without a file is left out.
std::vector<TSnippet> ParseSnippetList(std::string_view text);

class TSnippetStore {
public:
    // The per-user snippets folder unless a folder is given.
    explicit TSnippetStore(std::string folder = {});

    std::string ListPath() const;
    // The listed snippets; none without a list file.
    std::vector<TSnippet> List() const;
    // The text of a listed file; empty when it is missing or not a plain name.
    std::string Text(const std::string& file) const;
    // Whether storing under the name would replace a snippet: its file exists
    // or the list names it already.
    bool Taken(std::string_view name) const;
    // Writes the snippet's file, then the list: any pair of the same file goes
    // and the new pair is added last, so no two names share a file. A missing
    // list is created. Raises EConvertError with SnippetNameProblem's text for
    // a name that cannot be stored; file errors raise as FileIO's do.
    void Save(std::string_view name, std::string_view text);

private:
    std::string folder_;
};

} // namespace vx::shell
