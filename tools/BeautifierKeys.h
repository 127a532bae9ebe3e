// The beautifier's matching of its word lists, shared by its script and page
// engines: line keys, block keywords of VBScript statements, indentation runs.
#pragma once

#include "tools/SourceBeautifier.h"

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vx::tools {

// Where the line's comment starts outside string literals: an apostrophe, or
// REM as the first word of a statement; the line's end when it has none.
std::size_t CommentStart(std::string_view line);

// The line key written into key, whose room is kept from line to line.
void MakeLineKeyIn(std::string& key, std::string_view line);
// The same for a text already without its comment.
void MakeCodeKeyIn(std::string& key, std::string_view code);

// The longest entry the key starts with, or null: a statement holds one block keyword.
const std::string* BlockKeyword(const std::string& key, const std::vector<std::string>& entries);

// The bytes a line key holds, to pass over entries that cannot be in it.
using TKeyBytes = std::bitset<256>;
TKeyBytes KeyBytes(const std::string& key);
int CountMatches(const std::string& key, const TKeyBytes& present, const std::vector<std::string>& entries);

// How many of which character indent a level.
std::pair<std::size_t, char> IndentRun(int level, TIndentUnit unit);

bool EndsWithContinuation(std::string_view line);

// What a VBScript statement does to the script level.
struct TStatementStep {
    // The statement stands one level left of the lines before it.
    bool Outdents;
    // The lines after it stand one level right.
    bool Indents;
    // "If ... Then" with a statement after "Then".
    bool OneLineIf;
    bool HoldsEndIf;
};

// key is room for the statement's line key, kept from call to call.
TStatementStep ClassifyStatement(std::string& key, std::string_view statement, const TBeautifyOptions& options);
// The same for a statement already without its comment.
TStatementStep ClassifyCode(std::string& key, std::string_view code, const TBeautifyOptions& options);

} // namespace vx::tools
