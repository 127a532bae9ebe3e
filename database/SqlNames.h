// Names inside generated SQL: identifiers quoted with the driver's quote
// character where they need it, and the name lists of a table's index and
// master fields.
#pragma once

#include <sql.h>

#include <string>
#include <vector>

// The driver's identifier quote character, or "" when it has none.
std::string IdentifierQuote(SQLHDBC connection);
// name as it stands when it is a plain identifier and no reserved word, else
// quoted with quote (inner quotes doubled); unchanged when quote is empty.
std::string QuoteIdentifier(const std::string& name, const std::string& quote);
// A parameter marker for name that the statement parser reads back as name.
std::string ParamMarker(const std::string& name);
// The names of a list separated by runs of blanks, "," and ";".
std::vector<std::string> SplitNameList(const std::string& list);
// The n-th name (from 1); empty beyond the last.
std::string NthName(const std::string& list, int n);
// text between two quote characters, the quote character inside doubled.
std::string QuotedText(const std::string& text, char quote);
// A text as an SQL string literal: in apostrophes, inner apostrophes doubled.
std::string SqlStringLiteral(const std::string& text);
