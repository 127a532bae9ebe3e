// Outside judges of generated scripts: Perl's own syntax check, SQLite for
// SQL statements, and the VBScript highlighter for strings left open.
#pragma once

#include <string>
#include <vector>

namespace vx::test {

// The lines joined with LF.
std::string Joined(const std::vector<std::string>& lines);
// Runs a command with text on its standard input; answers its exit status
// and puts what it printed (both streams) in output.
int RunWithInput(const std::string& command, const std::string& input, std::string& output);
// The VBScript lines between "<%" and "%>" whose string literals do not close.
std::vector<std::string> UnclosedVBStrings(const std::vector<std::string>& lines);

} // namespace vx::test
