// The texts of the Perl generators: the sendmail routine, the selected text
// as print statements, and the selected text as a Perl sub. Texts inside
// Perl strings are escaped so that Perl reads them back as written.
#pragma once

#include <string>
#include <vector>

namespace vx::tools {

using TLines = std::vector<std::string>;

struct TPerlMailFields {
    std::string To;
    std::string From;
    std::string Subject = "Subject";
    std::string Letter = "Message text goes here"; // the whole message, line breaks included
};
TLines PerlMailLines(const TPerlMailFields& fields);

// print "<line>\n"; for each line.
TLines PerlPrintLines(const TLines& lines);
TLines PerlFunctionLines(const std::string& name, const TLines& lines, bool demoCall);

} // namespace vx::tools
