// Fuzz target: the CSV import. Every line gives one table row with one cell per
// field; no cell holds a bare "<" or ">"; a field with neither quotes nor
// commas in it comes back as it was.
#include "fuzz/FuzzCheck.h"
#include "shell/CsvHtml.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= input.size()) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        lines.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    std::size_t rows = 0, cells = 0;
    for (const std::string& line : lines) {
        if (line.empty())
            continue;
        ++rows;
        const std::vector<std::string> fields = vx::shell::SplitCsvLine(line);
        VX_FUZZ_CHECK(!fields.empty());
        if (line.find_first_of("\",") == std::string::npos)
            VX_FUZZ_CHECK(fields.size() == 1 && fields[0] == line);
        cells += fields.size();
    }
    const std::vector<std::string> page = vx::shell::CsvToHtml(lines, "in.csv", "generator", "now");
    std::size_t rowsSeen = 0, cellsSeen = 0;
    for (std::size_t i = 12; i < page.size(); ++i) {
        rowsSeen += page[i] == "    <Tr>";
        cellsSeen += page[i] == "      <td>";
        if (page[i].starts_with("      ") && page[i] != "      <td>" && page[i] != "      </td>")
            VX_FUZZ_CHECK(page[i].find_first_of("<>") == std::string::npos);
    }
    VX_FUZZ_CHECK(rowsSeen == rows);
    VX_FUZZ_CHECK(cellsSeen == cells);
    return 0;
}
