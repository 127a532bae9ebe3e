// The list files of the data folder: plain text, one entry per line, and the
// tree-text form in which leading blanks and tabs give a node's depth.
#pragma once

#include "platform/TStringList.h"

#include <string>
#include <string_view>
#include <vector>

namespace vx::shell {

// "<program folder>/data/<name>": a list the program ships, only ever read.
std::string DataFile(std::string_view name);

// "<user data folder>/data/<name>": the user's own copy of a list the user
// changes, seeded from the program's list of that name (vx::UserDataPath).
std::string UserDataFile(std::string_view name);

// Reads the file whole into list, replacing what it held: one entry per line
// (CR LF, lone LF or lone CR), empty lines included. The file is UTF-8, or
// Windows-1252 as earlier versions wrote it (vx::TextFromFileBytes). A missing
// file leaves the list as it was and answers false.
bool LoadListFile(const std::string& path, TStrings& list);

struct TTreeTextNode {
    int Level = 0;
    std::string Caption;
    bool operator==(const TTreeTextNode&) const = default;
};

// One node per line; the count of leading blanks and tabs is the depth. A line
// never lies more than one level below the line before it (the first line is
// at level 0): a deeper indent is taken as one level deeper.
std::vector<TTreeTextNode> ParseTreeText(std::string_view text);

} // namespace vx::shell
