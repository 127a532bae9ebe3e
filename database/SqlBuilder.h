// The texts of the SQL query builder: its SELECT statement, the condition it
// adds, and the ASP (VBScript) functions that open a connection and run the
// statement.
#pragma once

#include <string>
#include <vector>

// "Select a,b from T", or "Select * from T" without fields; names quoted with
// quote where they need it.
std::string BuilderSelect(const std::vector<std::string>& fields, const std::string& table, const std::string& quote);
// line + " where " + field + " " + op + " " + value; a string value becomes a
// literal with its apostrophes doubled.
std::string BuilderCondition(const std::string& line, const std::string& field, const std::string& op,
                             const std::string& value, bool isString, const std::string& quote);
// The operators the condition offers.
const std::vector<std::string>& BuilderOperators();
// The ASP text for statement, connecting to dsn as userId.
std::vector<std::string> BuilderAspFunction(const std::string& statement, const std::string& dsn,
                                            const std::string& userId);
