// The Perl and SQL table generators, checked by Perl itself and by SQLite.
#include "tests/tools/ScriptCheck.h"
#include "tools/PerlTemplates.h"
#include "tools/SqlTable.h"

#include <gtest/gtest.h>

using namespace vx::tools;

namespace {

void ExpectPerlCompiles(const TLines& lines)
{
    std::string output;
    EXPECT_EQ(vx::test::RunWithInput("perl -c -", vx::test::Joined(lines), output), 0)
        << output << vx::test::Joined(lines);
}

} // namespace

TEST(PerlTemplates, PrintStatementsEscapeTheText)
{
    EXPECT_EQ(PerlPrintLines({"\"hi\""}), TLines{"print \"\\\"hi\\\"\\n\";"});
    EXPECT_EQ(PerlPrintLines({"a\\b $x @y"}), TLines{"print \"a\\\\b \\$x \\@y\\n\";"});
    const TLines odd{"\"hi\"", "cost: $5 @ \\home", "", "<a href=\"x\">"};
    ExpectPerlCompiles(PerlPrintLines(odd));
    std::string output;
    ASSERT_EQ(vx::test::RunWithInput("perl -", vx::test::Joined(PerlPrintLines(odd)), output), 0);
    EXPECT_EQ(output, vx::test::Joined(odd)) << "Perl prints the text as it was";
}

TEST(PerlTemplates, FunctionWithItsDemoCall)
{
    const TLines lines = PerlFunctionLines("My_Perl_Function", {"say \"hi\""}, true);
    EXPECT_EQ(lines[6], " sub My_Perl_Function {");
    EXPECT_EQ(lines[7], "  print \"say \\\"hi\\\"\\n\";");
    EXPECT_EQ(TLines(lines.end() - 5, lines.end()),
              (TLines{" }", "# End of function", "# Calling of routine / function", " & My_Perl_Function", ""}));
    ExpectPerlCompiles(lines);
    std::string output;
    ASSERT_EQ(vx::test::RunWithInput("perl -", vx::test::Joined(lines), output), 0);
    EXPECT_EQ(output, "say \"hi\"\n");
    ExpectPerlCompiles(PerlFunctionLines("f", {}, false));
}

TEST(PerlTemplates, MailRoutineCompilesWithAnyFields)
{
    const TLines lines = PerlMailLines({"someone\\@example.com", "me\\@x.org", "it's", "line 1\r\nit's $5 \"ok\""});
    EXPECT_EQ(lines[3], "sub email {");
    EXPECT_EQ(lines[18], " $to      = 'someone\\\\@example.com';");
    EXPECT_EQ(lines[20], " $subject = 'it\\'s';");
    ExpectPerlCompiles(lines);
}

TEST(SqlTable, FieldsAreSeparatedNotEnded)
{
    TSqlTable table("Users");
    EXPECT_EQ(table.Lines(), (TLines{"Create Table Users( ", " ); "}));
    table.AddField("Name", "VarChar", "30", "Not Null");
    EXPECT_EQ(table.Lines(), (TLines{"Create Table Users( ", " Name\t VarChar (30)  Not Null", " ); "}));
    table.AddField("", "Integer", "", "");
    table.AddField("Id", "Primary Key", "255", "");
    table.AddField("Born", "Date", "255", "Null");
    table.SetName("People");
    EXPECT_EQ(table.Lines(), (TLines{"Create Table People( ", " Name\t VarChar (30)  Not Null,",
                                     " Id\t Integer Primary Key,", " Born\t Date Null", " ); "}));
}

TEST(SqlTable, EveryTypeRunsInSQLite)
{
    TSqlTable table("Every_Type");
    int n = 0;
    for (const char* type : TSqlTable::Types) {
        table.AddField("f" + std::to_string(n), type, "12", n % 2 ? "Not Null" : "");
        ++n;
    }
    TSqlTable second("Second");
    second.AddField("Only", "Char", "1", "Null");
    const std::string script = vx::test::Joined(table.Lines()) + vx::test::Joined(second.Lines()) +
                               "insert into Second values ('x');\nselect count(*) from Second;\n"
                               "select count(*) from pragma_table_info('Every_Type');\n";
    std::string output;
    ASSERT_EQ(vx::test::RunWithInput("sqlite3 -bail :memory:", script, output), 0) << output << script;
    EXPECT_EQ(output, "1\n15\n");
}
