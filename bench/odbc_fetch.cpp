// Fetching 1,000,000 rows of five columns forward through the query dataset,
// against a plain SQLFetch/SQLGetData loop over the same statement with the
// same cursor, on the SQLite ODBC driver in a private configuration. The
// "rss_growth_kb" counter shows what the process grew by from the 100,000th
// row to the last: fetching forward keeps no rows behind.
#include "bench/ResidentMemory.h"
#include "database/mQuery.h"

#include <benchmark/benchmark.h>
#include <sqlext.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kRows = 1000000;
const char* const kSelect = "select id, name, amount, big, code from t";

long residentKb()
{
    return static_cast<long>(vx::bench::ResidentBytes() / 1024);
}

// A private driver and data source on a database of kRows rows, made once.
class BenchDatabase {
public:
    BenchDatabase()
    {
        folder_ = std::filesystem::temp_directory_path() / ("vellumix-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        std::ofstream(folder_ / "odbcinst.ini") << "[BenchSQLite]\nDriver=" << VX_SQLITE_ODBC_DRIVER << "\n";
        std::ofstream(folder_ / "odbc.ini") << "[bench]\nDriver=BenchSQLite\nDatabase=" << (folder_ / "bench.db").string()
                                            << "\nSyncPragma=OFF\n";
        setenv("ODBCSYSINI", folder_.c_str(), 1);
        setenv("ODBCINI", (folder_ / "odbc.ini").c_str(), 1);
        db.SetDataBaseName("bench");
        db.DriverCompletion = sdNoPrompt;
        exec("create table t(id integer primary key, name varchar(20), amount double, big bigint, code varchar(8))");
        exec("insert into t with recursive c(x) as (select 1 union all select x + 1 from c where x < " +
             std::to_string(kRows) + ") select x, 'name ' || x, x * 1.5, x * 1000003, 'c' || (x % 97) from c");
    }
    ~BenchDatabase()
    {
        db.Disconnect();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    void exec(const std::string& sql)
    {
        TmQuery q;
        q.SetDataBase(&db);
        q.ParamCheck = false;
        q.SetSQLText(sql);
        q.ExecSQL();
    }

    TmDataBase db;

private:
    std::filesystem::path folder_;
};

BenchDatabase& database()
{
    static BenchDatabase instance;
    return instance;
}

void BM_DatasetFetch(benchmark::State& state)
{
    TmDataBase& db = database().db;
    for (auto _ : state) {
        long before = 0;
        TmQuery q;
        q.SetDataBase(&db);
        q.SetSQLText(kSelect);
        q.Open();
        TField& id = q.Fields(0);
        TField& name = q.Fields(1);
        TField& amount = q.Fields(2);
        TField& big = q.Fields(3);
        TField& code = q.Fields(4);
        std::int64_t sum = 0;
        int rows = 0;
        for (; !q.Eof(); q.Next()) {
            sum += id.AsInteger() + big.AsInteger() + static_cast<std::int64_t>(amount.AsFloat());
            sum += static_cast<std::int64_t>(name.AsString().size() + code.AsString().size());
            if (++rows == kRows / 10)
                before = residentKb();
        }
        state.counters["rss_growth_kb"] = static_cast<double>(residentKb() - before);
        if (rows != kRows)
            state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_DatasetFetch)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlainFetchLoop(benchmark::State& state)
{
    TmDataBase& db = database().db;
    db.Connect();
    for (auto _ : state) {
        long before = 0;
        SQLHSTMT stmt = SQL_NULL_HSTMT;
        SQLAllocHandle(SQL_HANDLE_STMT, db.Handle(), &stmt);
        SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(SQL_CURSOR_STATIC), SQL_IS_UINTEGER);
        SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(kSelect)), SQL_NTS);
        std::int64_t sum = 0;
        int rows = 0;
        while (SQLFetch(stmt) == SQL_SUCCESS) {
            SQLINTEGER id = 0;
            SQLBIGINT big = 0;
            double amount = 0;
            char name[21], code[9];
            SQLLEN ind = 0;
            SQLGetData(stmt, 1, SQL_C_SLONG, &id, 0, &ind);
            SQLGetData(stmt, 2, SQL_C_CHAR, name, sizeof name, &ind);
            std::size_t nameLength = ind > 0 ? static_cast<std::size_t>(ind) : 0;
            SQLGetData(stmt, 3, SQL_C_DOUBLE, &amount, 0, &ind);
            SQLGetData(stmt, 4, SQL_C_SBIGINT, &big, 0, &ind);
            SQLGetData(stmt, 5, SQL_C_CHAR, code, sizeof code, &ind);
            std::size_t codeLength = ind > 0 ? static_cast<std::size_t>(ind) : 0;
            sum += id + big + static_cast<std::int64_t>(amount);
            sum += static_cast<std::int64_t>(nameLength + codeLength);
            if (++rows == kRows / 10)
                before = residentKb();
        }
        state.counters["rss_growth_kb"] = static_cast<double>(residentKb() - before);
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        if (rows != kRows)
            state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_PlainFetchLoop)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
