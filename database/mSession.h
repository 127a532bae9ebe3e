// The ODBC session (environment handle) and the database connection with its
// data-source, driver and table listings and the installer's data-source calls.
#pragma once

#include "platform/TStringList.h"

#include <sql.h>

#include <functional>
#include <string>
#include <vector>

enum TmDriverCompletion { sdPrompt, sdComplete, sdCompleteReq, sdNoPrompt };
enum TmOdbcCursors { ocUSE_IF_NEEDED, ocUSE_ODBC, ocUSE_DRIVER };
enum TmIsolationLevels { TxnDefault, TxnDirtyRead, TxnReadCommitted, TxnRepeatableRead, TxnSerializable };

class TmSession {
public:
    TmSession() = default;
    TmSession(const TmSession&) = delete;
    TmSession& operator=(const TmSession&) = delete;
    ~TmSession();

    // Allocated on first use (ODBC 3 behaviour).
    SQLHENV Environment();

    // The session of databases without one of their own.
    static TmSession& Default();

private:
    SQLHENV env_ = SQL_NULL_HENV;
};

// What a database asks of the datasets registered with it.
class TmDataBaseClient {
public:
    virtual void FreeStatement() = 0;
    // The database is going away: forget it.
    virtual void DataBaseDestroyed() = 0;

protected:
    ~TmDataBaseClient() = default;
};

class TmDataBase {
public:
    using TmLoginEvent = std::function<void(TmDataBase* database)>;

    TmDataBase();
    TmDataBase(const TmDataBase&) = delete;
    TmDataBase& operator=(const TmDataBase&) = delete;
    ~TmDataBase();

    std::string DataBaseName() const { return params_.Values("DSN"); }
    void SetDataBaseName(const std::string& name) { params_.SetValue("DSN", name); }
    TStringList& Params() { return params_; }
    void SetParams(const TStringList& params) { params_.Assign(params); }
    TmSession* Session() const { return session_; }
    void SetSession(TmSession* session);

    TmDriverCompletion DriverCompletion = sdCompleteReq;
    TmOdbcCursors OdbcCursors = ocUSE_DRIVER;
    TmIsolationLevels TransIsolation = TxnDefault;
    TmLoginEvent OnConnect;

    bool Connected() const { return hdbc_ != SQL_NULL_HDBC; }
    SQLHDBC Handle() const { return hdbc_; }
    // The driver's completed connection string of the last successful connect.
    const std::string& ConnectionString() const { return completed_; }

    void Connect();
    void Disconnect();
    // Raises ESQLerror for every code but SQL_SUCCESS.
    void CheckResult(SQLRETURN code);
    void GetInfo(SQLUSMALLINT infoType, SQLPOINTER buffer, SQLSMALLINT bufferLength, SQLSMALLINT* lengthOut);

    // Transactions of the connection: manual commit from StartTransaction to Commit or Rollback.
    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return inTransaction_; }

    void GetDataSourceNames(TStringList& list);
    void GetDriverNames(TStringList& list);
    void GetTableNames(TStringList& list);
    std::string GetDataSourceDriver(const std::string& name);
    // mode 0..5: add, configure, remove a user data source, then the same for a system one.
    void ConfigDataSource(int mode, const std::string& name, const TStringList* attributes, std::string driver);

    void RegisterClient(TmDataBaseClient* client);
    void UnregisterClient(TmDataBaseClient* client);

private:
    SQLHENV environment();
    void endTransaction(SQLSMALLINT completion);

    std::string completed_;
    std::vector<TmDataBaseClient*> clients_;
    SQLHDBC hdbc_ = SQL_NULL_HDBC;
    TStringList params_;
    TmSession* session_ = nullptr;
    bool inTransaction_ = false;
};

// The connection string of a parameter list: its lines joined by ";".
std::string ConnectionStringOf(const TStringList& params);
// The installer's attribute block: "DSN=name", then each attribute line, each
// ending in a NUL, the block ending in a second NUL.
std::string InstallerAttributes(const std::string& name, const TStringList* attributes);
