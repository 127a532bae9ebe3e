#include "tests/database/OdbcTestEnv.h"

#include "database/mQuery.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <stdlib.h>

namespace vx::test {

namespace {

// The driver manager reads where its configuration is on its first call: the
// private one is in place before any test runs.
class PrivateConfiguration : public ::testing::Environment {
public:
    void SetUp() override { OdbcTestEnv::Get(); }
};
const auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new PrivateConfiguration);

} // namespace

OdbcTestEnv& OdbcTestEnv::Get()
{
    static OdbcTestEnv env;
    return env;
}

OdbcTestEnv::OdbcTestEnv() : folder_(dir_.path().string())
{
    std::ofstream drivers(folder_ + "/odbcinst.ini");
    auto driver = [&](const char* name, const std::string& library, const std::string& setup = VX_ODBC_SETUP_LIBRARY) {
        drivers << "[" << name << "]\nDriver=" << library << "\nSetup=" << setup << "\n";
    };
    driver(kDriver, VX_SQLITE_ODBC_DRIVER);
    driver(kQuirkDriver, VX_QUIRK_ODBC_DRIVER);
    driver(kMissingDriver, folder_ + "/no-such-driver.so");
    driver(kNoSetupDriver, VX_SQLITE_ODBC_DRIVER, folder_ + "/no-such-setup.so");
    drivers.close();
    std::ofstream(folder_ + "/odbc.ini") << "";
    std::ofstream(folder_ + "/user.ini") << "";
    setenv("ODBCSYSINI", folder_.c_str(), 1);
    setenv("ODBCINI", (folder_ + "/user.ini").c_str(), 1);
}

std::string OdbcTestEnv::AddDsn(const std::string& name, const std::string& driver)
{
    std::string database = folder_ + "/" + name + ".db";
    std::remove(database.c_str());
    TmDataBase db;
    TStringList attributes;
    attributes.Add("Database=" + database);
    db.ConfigDataSource(0, name, &attributes, driver);
    return database;
}

void OdbcTestEnv::Exec(TmDataBase& db, const std::string& statements)
{
    std::istringstream in(statements);
    std::string statement;
    while (std::getline(in, statement, ';')) {
        if (statement.find_first_not_of(" \n\r\t") == std::string::npos)
            continue;
        TmQuery query;
        query.SetDataBase(&db);
        query.ParamCheck = false;
        query.SetSQLText(statement);
        query.ExecSQL();
    }
}

} // namespace vx::test
