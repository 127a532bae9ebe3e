// The CSV import: a comma-separated file as an HTML page with one table row
// per non-empty line and one cell per field.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::shell {

// The fields of one line, split at commas outside double quotes; a quoted
// field loses its quotes and "" inside it stands for one quote.
std::vector<std::string> SplitCsvLine(std::string_view line);

// "&", "<" and ">" as entities.
std::string EscapeHtml(std::string_view text);

// The page's lines, in the program's text (UTF-8), which the page declares.
// title is the input file's name, generator the product and version, dateTime
// the moment of the import as text.
std::vector<std::string> CsvToHtml(const std::vector<std::string>& lines, std::string_view title,
                                   std::string_view generator, std::string_view dateTime);

} // namespace vx::shell
