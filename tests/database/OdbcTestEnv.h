// The tests' private ODBC configuration: an odbcinst.ini naming the SQLite
// driver (and a setup library for the installer calls) and an odbc.ini in a
// temporary folder, reached through ODBCSYSINI and ODBCINI so that the
// machine's own configuration is never read or changed.
#pragma once

#include "tests/support/TempDir.h"

#include <string>

class TmDataBase;

namespace vx::test {

class OdbcTestEnv {
public:
    // The one configuration of the test process, made on first use.
    static OdbcTestEnv& Get();

    static constexpr const char* kDriver = "VellumixSQLite";
    // The SQLite driver with habits of other drivers (tests/database/setup/QuirkDriver.c).
    static constexpr const char* kQuirkDriver = "VellumixQuirk";
    // A driver whose library is not there.
    static constexpr const char* kMissingDriver = "VellumixMissing";
    // A driver whose setup library is not there: the installer refuses its data sources.
    static constexpr const char* kNoSetupDriver = "VellumixNoSetup";
    const std::string& Folder() const { return folder_; }
    // Adds a user data source of driver on a new, empty database file; returns the file's path.
    std::string AddDsn(const std::string& name, const std::string& driver = kDriver);
    // Runs statements that return no rows, one after another.
    static void Exec(TmDataBase& db, const std::string& statements);

private:
    OdbcTestEnv();
    TempDir dir_{"vellumix-odbc"};
    std::string folder_;
};

} // namespace vx::test
