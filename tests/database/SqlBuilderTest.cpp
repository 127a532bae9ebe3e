#include "database/SqlBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

} // namespace

TEST(SqlBuilder, SelectListsTheChosenFieldsOrAll)
{
    EXPECT_EQ(BuilderSelect({"NAME"}, "T", "\""), "Select NAME from T");
    EXPECT_EQ(BuilderSelect({"ID", "NAME"}, "T", "\""), "Select ID,NAME from T");
    EXPECT_EQ(BuilderSelect({}, "T", "\""), "Select * from T");
    EXPECT_EQ(BuilderSelect({"first name", "select"}, "order details", "\""),
              "Select \"first name\",\"select\" from \"order details\"");
}

TEST(SqlBuilder, ConditionTakesTheValueAsTextOrAsItStands)
{
    EXPECT_EQ(BuilderCondition("Select NAME from T", "NAME", "=", "car", true, "\""),
              "Select NAME from T where NAME = 'car'");
    EXPECT_EQ(BuilderCondition("Select * from T", "ID", ">=", "3", false, "\""), "Select * from T where ID >= 3");
    EXPECT_EQ(BuilderCondition("Select * from T", "first name", "=", "O'Brien", true, "\""),
              "Select * from T where \"first name\" = 'O''Brien'");
    EXPECT_EQ(BuilderOperators(), (std::vector<std::string>{"<", "<>", "=", "<=", ">", ">=", "is"}));
}

TEST(SqlBuilder, AspFunctionMatchesTheGoldenFiles)
{
    struct Case {
        const char* golden;
        std::string statement, dsn, user;
    } cases[] = {
        {"asp_plain.txt", "Select NAME from T where NAME = 'car'", "My_dsn_name", "Db_sample_value"},
        {"asp_quotes.txt", "Select \"first name\" from \"order details\"", "dsn \"x\"", "O'Brien"},
    };
    for (const Case& c : cases) {
        std::string expected = vx::test::readFile(std::string(VX_SOURCE_DIR) + "/tests/database/golden/" + c.golden);
        EXPECT_EQ(joined(BuilderAspFunction(c.statement, c.dsn, c.user)), expected) << c.golden;
    }
}
