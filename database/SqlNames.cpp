#include "database/SqlNames.h"

#include "platform/TStringList.h"

#include <sqlext.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace {

// Words that cannot stand as names in the SQL the drivers take.
constexpr std::array<const char*, 56> kReserved = {
    "ADD",    "ALL",      "ALTER",  "AND",    "AS",      "ASC",     "BETWEEN", "BY",     "CASE",   "CHECK",
    "COLUMN", "CREATE",   "CROSS",  "DATE",   "DEFAULT", "DELETE",  "DESC",    "DISTINCT", "DROP", "ELSE",
    "END",    "EXISTS",   "FOR",    "FOREIGN", "FROM",   "FULL",    "GROUP",   "HAVING", "IN",     "INDEX",
    "INNER",  "INSERT",   "INTO",   "IS",     "JOIN",    "KEY",     "LEFT",    "LIKE",   "NOT",    "NULL",
    "ON",     "OR",       "ORDER",  "PRIMARY", "REFERENCES", "RIGHT", "SELECT", "SET",   "TABLE",  "THEN",
    "TO",     "UNION",    "UNIQUE", "UPDATE", "VALUES",  "WHERE",
};

bool plainIdentifier(const std::string& name)
{
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return std::none_of(kReserved.begin(), kReserved.end(), [&](const char* word) { return SameText(name, word); });
}

bool separator(char c)
{
    return c == ' ' || c == ',' || c == ';';
}

} // namespace

std::string IdentifierQuote(SQLHDBC connection)
{
    char quote[8] = {};
    SQLSMALLINT length = 0;
    SQLRETURN rc = SQLGetInfo(connection, SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &length);
    if ((rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) || std::string(quote) == " ")
        return {};
    return quote;
}

std::string QuoteIdentifier(const std::string& name, const std::string& quote)
{
    if (quote.size() != 1 || plainIdentifier(name))
        return name;
    return QuotedText(name, quote[0]);
}

std::string ParamMarker(const std::string& name)
{
    bool plain = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
    if (plain)
        return ":" + name;
    return name.find('"') == std::string::npos ? ":\"" + name + "\"" : ":'" + name + "'";
}

std::vector<std::string> SplitNameList(const std::string& list)
{
    std::vector<std::string> names;
    std::size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && separator(list[i]))
            ++i;
        std::size_t start = i;
        while (i < list.size() && !separator(list[i]))
            ++i;
        if (i > start)
            names.push_back(list.substr(start, i - start));
    }
    return names;
}

std::string NthName(const std::string& list, int n)
{
    std::vector<std::string> names = SplitNameList(list);
    return n >= 1 && n <= static_cast<int>(names.size()) ? names[static_cast<size_t>(n - 1)] : std::string{};
}

std::string QuotedText(const std::string& text, char quote)
{
    std::string out(1, quote);
    for (char c : text) {
        out += c;
        if (c == quote)
            out += quote;
    }
    return out + quote;
}

std::string SqlStringLiteral(const std::string& text)
{
    return QuotedText(text, '\'');
}
