// The table wizard's text: an HTML table, or a VBScript function that writes it.
#pragma once

#include <string>
#include <vector>

namespace vx::tools {

struct TTableFields {
    int Rows = 1;
    int Columns = 1;
    int Width = 100; // percent
    int Padding = 0;
    int Spacing = 0;
    std::string Alignment = "Absbottom";
    int Border = 0;
    std::string Caption = "my_caption";
    bool AsFunction = false;
    std::string FunctionName = "my_table_function";
};

std::vector<std::string> TableLines(const TTableFields& fields);

} // namespace vx::tools
