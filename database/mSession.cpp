#include "database/mSession.h"

#include "database/Catalogue.h"
#include "database/OdbcText.h"
#include "database/SQLError.h"
#include "platform/WindowHandle.h"

#include <sqlext.h>
#include <odbcinst.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

const TWording NoEnvironment{"Can`t allocate enviroument handle"};
const TWording NoEnvironmentAttribute{"Can`t set enviroument attribute"};
const TWording NoConnectionHandle{"Can`t allocate HDBC handle"};
const TWording NotOpened{"Database not opened"};
// What the installer refused to do with a data source; its own words follow.
const TWording InstallerDidNotAdd{"The ODBC installer did not add the data source \"%1\" of the driver \"%2\":\r\n%3"};
const TWording InstallerDidNotConfigure{"The ODBC installer did not configure the data source \"%1\":\r\n%2"};
const TWording InstallerDidNotRemove{"The ODBC installer did not remove the data source \"%1\":\r\n%2"};
const TWording InstallerGaveNoReason{"the installer gave no reason"};

} // namespace

TmSession::~TmSession()
{
    if (env_ != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

SQLHENV TmSession::Environment()
{
    if (env_ != SQL_NULL_HENV)
        return env_;
    SQLHENV env = SQL_NULL_HENV;
    if (SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env) != SQL_SUCCESS)
        throw Exception(TMessage(NoEnvironment, {}));
    SQLRETURN rc = SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (static_cast<SQLUSMALLINT>(rc) >= 2) {
        SQLFreeHandle(SQL_HANDLE_ENV, env);
        throw Exception(TMessage(NoEnvironmentAttribute, {}));
    }
    env_ = env;
    return env_;
}

TmSession& TmSession::Default()
{
    static TmSession session;
    return session;
}

std::string ConnectionStringOf(const TStringList& params)
{
    std::string text;
    for (int i = 0; i < params.Count(); ++i) {
        if (!text.empty())
            text += ';';
        text += params[i];
    }
    return text;
}

std::string InstallerAttributes(const std::string& name, const TStringList* attributes)
{
    std::string block = "DSN=" + name;
    block += '\0';
    if (attributes) {
        for (int i = 0; i < attributes->Count(); ++i) {
            block += (*attributes)[i];
            block += '\0';
        }
    }
    block += '\0';
    return block;
}

namespace {

SQLUINTEGER cursorsValue(TmOdbcCursors cursors)
{
    switch (cursors) {
    case ocUSE_IF_NEEDED: return SQL_CUR_USE_IF_NEEDED;
    case ocUSE_ODBC: return SQL_CUR_USE_ODBC;
    default: return SQL_CUR_USE_DRIVER;
    }
}

SQLUSMALLINT completionValue(TmDriverCompletion completion)
{
    switch (completion) {
    case sdPrompt: return SQL_DRIVER_PROMPT;
    case sdComplete: return SQL_DRIVER_COMPLETE;
    case sdNoPrompt: return SQL_DRIVER_NOPROMPT;
    default: return SQL_DRIVER_COMPLETE_REQUIRED;
    }
}

SQLINTEGER isolationValue(TmIsolationLevels level)
{
    switch (level) {
    case TxnDirtyRead: return SQL_TXN_READ_UNCOMMITTED;
    case TxnReadCommitted: return SQL_TXN_READ_COMMITTED;
    case TxnRepeatableRead: return SQL_TXN_REPEATABLE_READ;
    case TxnSerializable: return SQL_TXN_SERIALIZABLE;
    default: return 0;
    }
}

bool succeeded(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// Why the installer's last call failed, in its own words, a line for each of
// its records (eight at most).
TMessage InstallerReason()
{
    std::string reason;
    for (WORD record = 1; record <= 8; ++record) {
        DWORD code = 0;
        // The most the installer takes; a longer message comes cut, zero-ended.
        char message[SQL_MAX_MESSAGE_LENGTH] = {};
        WORD length = 0;
        if (!succeeded(SQLInstallerError(record, &code, message, sizeof message, &length)))
            break;
        reason += (reason.empty() ? "" : "\r\n") + std::string(message, std::find(message, std::end(message), '\0'));
    }
    return reason.empty() ? TMessage(InstallerGaveNoReason, {}) : TMessage(reason);
}

// The application's main window as the driver manager takes a parent window:
// its own structure with the window and no particular dialog library (the
// configured one is used). Without a main window, none: no dialog can be shown.
SQLHWND parentWindow(ODBCINSTWND& parent)
{
    vx::TWindowHandle window = vx::ApplicationWindowHandle();
    if (window == 0)
        return nullptr;
    parent.szUI[0] = '\0';
    parent.hWnd = reinterpret_cast<HWND>(window);
    return reinterpret_cast<SQLHWND>(&parent);
}

// Walks the data sources from the first; visit returns false to stop.
template <typename Visit>
void walkDataSources(SQLHENV env, Visit visit)
{
    // The longest names ODBC allows, with their terminating zero.
    SQLCHAR name[OdbcTextBytes(SQL_MAX_DSN_LENGTH)];
    SQLCHAR description[OdbcTextBytes(255)];
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        SQLSMALLINT nameLength = 0, descriptionLength = 0;
        SQLRETURN rc = SQLDataSources(env, direction, name, sizeof name, &nameLength, description,
                                      sizeof description, &descriptionLength);
        if (!succeeded(rc))
            return;
        if (!visit(std::string(reinterpret_cast<const char*>(name)),
                   std::string(reinterpret_cast<const char*>(description))))
            return;
        direction = SQL_FETCH_NEXT;
    }
}

} // namespace

TmDataBase::TmDataBase() = default;

TmDataBase::~TmDataBase()
{
    Disconnect();
    for (TmDataBaseClient* client : std::vector<TmDataBaseClient*>(clients_))
        client->DataBaseDestroyed();
}

SQLHENV TmDataBase::environment()
{
    return (session_ ? *session_ : TmSession::Default()).Environment();
}

void TmDataBase::SetSession(TmSession* session)
{
    Disconnect();
    session_ = session;
}

void TmDataBase::CheckResult(SQLRETURN code)
{
    if (code != SQL_SUCCESS)
        throw ESQLerror(SQL_HANDLE_DBC, code, hdbc_);
}

void TmDataBase::Connect()
{
    if (Connected())
        return;
    SQLHENV env = environment();
    SQLHDBC hdbc = SQL_NULL_HDBC;
    if (SQLAllocHandle(SQL_HANDLE_DBC, env, &hdbc) != SQL_SUCCESS)
        throw Exception(TMessage(NoConnectionHandle, {}));
    hdbc_ = hdbc;
    bool opened = false;
    try {
        CheckResult(SQLSetConnectAttr(hdbc_, SQL_ATTR_ODBC_CURSORS,
                                      reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(cursorsValue(OdbcCursors))),
                                      SQL_IS_UINTEGER));
        if (OnConnect)
            OnConnect(this);
        std::string in = ConnectionStringOf(params_);
        SQLCHAR out[1024] = {};
        SQLSMALLINT outLength = 0;
        ODBCINSTWND parent{};
        SQLRETURN rc = SQLDriverConnect(hdbc_, parentWindow(parent), reinterpret_cast<SQLCHAR*>(in.data()), SQL_NTS,
                                        out, sizeof out, &outLength, completionValue(DriverCompletion));
        // Connected is connected, whatever the driver had to say on the way; a failure
        // carries the driver manager's or the driver's own message.
        opened = succeeded(rc);
        if (!opened) {
            ESQLerror failure(SQL_HANDLE_DBC, rc, hdbc_);
            if (rc == SQL_NO_DATA)
                throw ESQLerror(TMessage(NotOpened, {}), failure);
            throw failure;
        }
        completed_ = reinterpret_cast<const char*>(out);
        if (TransIsolation != TxnDefault)
            CheckResult(SQLSetConnectAttr(hdbc_, SQL_ATTR_TXN_ISOLATION,
                                          reinterpret_cast<SQLPOINTER>(static_cast<SQLLEN>(isolationValue(TransIsolation))),
                                          SQL_IS_INTEGER));
    } catch (...) {
        // A connection that was opened is closed before its handle goes.
        if (opened)
            SQLDisconnect(hdbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, hdbc_);
        hdbc_ = SQL_NULL_HDBC;
        throw;
    }
}

void TmDataBase::Disconnect()
{
    if (!Connected())
        return;
    for (TmDataBaseClient* client : std::vector<TmDataBaseClient*>(clients_))
        client->FreeStatement();
    if (inTransaction_) {
        // An open transaction is not kept past the connection.
        SQLEndTran(SQL_HANDLE_DBC, hdbc_, SQL_ROLLBACK);
        inTransaction_ = false;
    }
    SQLDisconnect(hdbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, hdbc_);
    hdbc_ = SQL_NULL_HDBC;
}

void TmDataBase::GetInfo(SQLUSMALLINT infoType, SQLPOINTER buffer, SQLSMALLINT bufferLength, SQLSMALLINT* lengthOut)
{
    SQLRETURN rc = SQLGetInfo(hdbc_, infoType, buffer, bufferLength, lengthOut);
    switch (rc) {
    case SQL_SUCCESS: return;
    case SQL_ERROR:
    case SQL_SUCCESS_WITH_INFO: throw ESQLerror(SQL_HANDLE_DBC, rc, hdbc_);
    case SQL_INVALID_HANDLE:
    case SQL_STILL_EXECUTING: throw ESQLerror(SQLResultName(rc));
    default: throw ESQLerror(TMessage(UnknownResult, {}));
    }
}

void TmDataBase::StartTransaction()
{
    Connect();
    CheckResult(SQLSetConnectAttr(hdbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                                  SQL_IS_UINTEGER));
    inTransaction_ = true;
}

void TmDataBase::endTransaction(SQLSMALLINT completion)
{
    if (!Connected() || !inTransaction_)
        return;
    inTransaction_ = false;
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, hdbc_, completion);
    SQLRETURN back = SQLSetConnectAttr(hdbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                                       SQL_IS_UINTEGER);
    if (!succeeded(rc))
        CheckResult(rc);
    if (!succeeded(back))
        CheckResult(back);
}

void TmDataBase::Commit()
{
    endTransaction(SQL_COMMIT);
}

void TmDataBase::Rollback()
{
    endTransaction(SQL_ROLLBACK);
}

void TmDataBase::GetDataSourceNames(TStringList& list)
{
    list.Clear();
    walkDataSources(environment(), [&](const std::string& name, const std::string&) {
        list.Add(name);
        return true;
    });
}

void TmDataBase::GetDriverNames(TStringList& list)
{
    list.Clear();
    SQLHENV env = environment();
    SQLCHAR description[OdbcTextBytes(255)];
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        SQLSMALLINT length = 0, attributesLength = 0;
        SQLRETURN rc = SQLDrivers(env, direction, description, sizeof description, &length, nullptr, 0,
                                  &attributesLength);
        if (!succeeded(rc))
            return;
        list.Add(reinterpret_cast<const char*>(description));
        direction = SQL_FETCH_NEXT;
    }
}

void TmDataBase::GetTableNames(TStringList& list)
{
    list.Clear();
    Connect();
    ReadCatalogue(
        hdbc_, {3, 4}, [](SQLHSTMT stmt) { return SQLTables(stmt, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0); },
        [&](const TCatalogueRow& row) {
            if (row[0] && row[1].value_or("") != "SYSTEM TABLE")
                list.Add(*row[0]);
        });
}

std::string TmDataBase::GetDataSourceDriver(const std::string& name)
{
    std::string driver;
    walkDataSources(environment(), [&](const std::string& entry, const std::string& description) {
        if (entry != name)
            return true;
        driver = description;
        return false;
    });
    return driver;
}

void TmDataBase::ConfigDataSource(int mode, const std::string& name, const TStringList* attributes, std::string driver)
{
    if (mode < 0 || mode > 5)
        return;
    WORD request = static_cast<WORD>(mode + 1);
    std::string block = InstallerAttributes(name, attributes);
    if (driver.empty() && mode != 0 && mode != 3)
        driver = GetDataSourceDriver(name);
    if (SQLConfigDataSource(nullptr, request, driver.c_str(), block.c_str()))
        return;
    if (mode % 3 == 0)
        throw ESQLerror(TMessage(InstallerDidNotAdd, {name, driver, InstallerReason()}));
    throw ESQLerror(
        TMessage(mode % 3 == 1 ? InstallerDidNotConfigure : InstallerDidNotRemove, {name, InstallerReason()}));
}

void TmDataBase::RegisterClient(TmDataBaseClient* client)
{
    if (std::find(clients_.begin(), clients_.end(), client) == clients_.end())
        clients_.push_back(client);
}

void TmDataBase::UnregisterClient(TmDataBaseClient* client)
{
    clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}
