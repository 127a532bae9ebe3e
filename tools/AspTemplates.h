// The texts of the ASP script generators: cookies, cookie detection, the
// page counter, Response statements, ADO connections with and without a DSN,
// the mail form, the mass-mail script and the ColdFusion mail tag. Field
// texts that stand inside VBScript string literals have their quotes doubled.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace vx::tools {

using TLines = std::vector<std::string>;

TLines CookieLines(const std::string& name, const std::string& expires, const std::string& path);
TLines CookieDetectLines(const std::string& function, bool sampleCall);
TLines CounterLines(const std::string& counterFile, const std::string& function, bool show);

// The Response members in the order the sorted list shows them.
extern const std::array<const char*, 17> ResponseItems;
std::string ResponseLine(const std::string& item);

struct TAdoFields {
    std::string Connection = "my_connection";
    std::string SqlName = "my_sql_string";
    std::string RecordSet = "my_record_set";
    std::string Dsn = "my_dsn_name";
    std::string Password = "db_sample_value";
    TLines Query; // the lines of the query memo
};
// The query memo's first line when the user moves on from the first page.
std::string AdoQueryStart(const std::string& sqlName);
TLines AdoLines(const TAdoFields& fields);

struct TDsnLessFields {
    std::string Database;
    std::string Connection = "my_connection";
    std::string SqlName = "my_sql_string";
    std::string RecordSet = "my_record";
    std::string Query = "my_sql_string";
};
TLines DsnLessLines(const TDsnLessFields& fields);

TLines MailFormLines(const std::string& recipient);

struct TMassMailFields {
    std::string Database; // file name only, lower case
    std::string Field = "My_Fieldname";
    std::string SenderAddress;
    std::string Table = "My_Email_table";
    std::string Subject;
    TLines Message;
};
TLines MassMailLines(const TMassMailFields& fields);
// A message line as the script's body holds it: ` "line"&VbCrLf&`, quotes doubled.
std::string MassMailBodyLine(const std::string& line);

TLines ColdMailLines(const std::string& to, const std::string& from, const std::string& subject,
                     const TLines& body);

} // namespace vx::tools
