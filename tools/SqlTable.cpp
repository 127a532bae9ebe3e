// The Create Table statement.
#include "tools/SqlTable.h"

namespace vx::tools {

const std::array<const char*, 15> TSqlTable::Types = {
    "Bit",  "Char", "Date",      "Double Precision",    "Float",     "Integer",                  "Numeric", "Primary Key",
    "Real", "Smallint", "Time", "Time With Time Zone", "TimeStamp", "TimeStamp With Time Zone", "VarChar"};

bool TSqlTable::TakesLength(const std::string& type)
{
    return type == "Char" || type == "VarChar";
}

void TSqlTable::AddField(const std::string& name, const std::string& type, const std::string& length,
                         const std::string& value)
{
    if (name.empty())
        return;
    std::string line = " " + name + "\t ";
    line += type == "Primary Key" ? "Integer Primary Key" : type;
    if (TakesLength(type))
        line += " (" + length + ") ";
    if (!value.empty())
        line += " " + value;
    fields_.push_back(line);
}

std::vector<std::string> TSqlTable::Lines() const
{
    std::vector<std::string> lines{"Create Table " + name_ + "( "};
    for (std::size_t i = 0; i < fields_.size(); ++i)
        lines.push_back(fields_[i] + (i + 1 < fields_.size() ? "," : ""));
    lines.push_back(" ); ");
    return lines;
}

} // namespace vx::tools
