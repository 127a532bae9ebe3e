// The Create Table statement the SQL table dialog builds field by field.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace vx::tools {

class TSqlTable {
public:
    // The column types in the order the dialog lists them.
    static const std::array<const char*, 15> Types;
    // Types that take a number of characters.
    static bool TakesLength(const std::string& type);

    explicit TSqlTable(std::string name = "My_New_SQL_Table") : name_(std::move(name)) {}

    // Changes the first line only; the fields stay.
    void SetName(const std::string& name) { name_ = name; }
    void Clear() { fields_.clear(); }
    // Adds a column; an empty name adds nothing. "Primary Key" makes an
    // Integer column with the primary key constraint. length counts only
    // for the types that take one; value is "", "Not Null" or "Null".
    void AddField(const std::string& name, const std::string& type, const std::string& length,
                  const std::string& value);

    // The statement: the table line, one line per field with a comma
    // between fields, the closing line.
    std::vector<std::string> Lines() const;

private:
    std::string name_;
    std::vector<std::string> fields_;
};

} // namespace vx::tools
