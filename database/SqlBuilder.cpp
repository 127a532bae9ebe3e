#include "database/SqlBuilder.h"

#include "database/SqlNames.h"

namespace {

// A VBScript string literal: in quotes, inner quotes doubled.
std::string vbString(const std::string& text)
{
    return QuotedText(text, '"');
}

} // namespace

std::string BuilderSelect(const std::vector<std::string>& fields, const std::string& table, const std::string& quote)
{
    std::string list;
    for (const std::string& field : fields) {
        list += ',';
        list += QuoteIdentifier(field, quote);
    }
    if (list.empty())
        list = " *";
    else
        list[0] = ' ';
    return "Select" + list + " from " + QuoteIdentifier(table, quote);
}

std::string BuilderCondition(const std::string& line, const std::string& field, const std::string& op,
                             const std::string& value, bool isString, const std::string& quote)
{
    return line + " where " + QuoteIdentifier(field, quote) + " " + op + " " +
           (isString ? SqlStringLiteral(value) : value);
}

const std::vector<std::string>& BuilderOperators()
{
    static const std::vector<std::string> operators = {"<", "<>", "=", "<=", ">", ">=", "is"};
    return operators;
}

std::vector<std::string> BuilderAspFunction(const std::string& statement, const std::string& dsn,
                                            const std::string& userId)
{
    return {
        "",
        // Page-level, so that the query function sees the connection the other one opened.
        "Dim Conn, Page",
        "Function Open_Connection_1(dsnname,userid)",
        " Set Conn = Server.CreateObject(\"ADODB.Connection\")",
        " Conn.ConnectionTimeout = 0",
        " Dummystr=\"dsn=\"&dsnname&\";UID=\"&userid",
        " Conn.Open dummystr",
        "End function",
        "",
        "Function Exec_Query (search_string)",
        " Set Page = Conn.execute(search_string)",
        "End function",
        "",
        "rem this is how you would use the functions.",
        "",
        "Call Open_Connection_1(" + vbString(dsn) + "," + vbString(userId) + ")",
        "Call Exec_Query(" + vbString(statement) + ")",
        "",
    };
}
