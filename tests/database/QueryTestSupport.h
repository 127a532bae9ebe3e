// A database of its own for each test: a new data source on a new SQLite file.
#pragma once

#include "database/mQuery.h"
#include "tests/database/OdbcTestEnv.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vx::test {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static int serial = 0;
        std::string name = "test" + std::to_string(++serial);
        OdbcTestEnv::Get().AddDsn(name);
        db.SetDataBaseName(name);
        db.DriverCompletion = sdNoPrompt;
    }

    void Exec(const std::string& statements) { OdbcTestEnv::Exec(db, statements); }

    // An open query on db; live when asked.
    std::unique_ptr<TmQuery> Open(const std::string& sql, bool live = false)
    {
        auto query = std::make_unique<TmQuery>();
        query->SetDataBase(&db);
        query->RequestLive = live;
        query->SetSQLText(sql);
        query->Open();
        return query;
    }

    // The one value a query gives, as text ("NULL" for null).
    std::string Scalar(const std::string& sql)
    {
        auto query = Open(sql);
        return query->IsEmpty() ? "<none>" : query->Fields(0).IsNull() ? "NULL" : query->Fields(0).AsString();
    }

    TmDataBase db;
};

} // namespace vx::test
