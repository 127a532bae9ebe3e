// ESQLerror: every failed ODBC call of the database components, with all the
// diagnostic records of the handle that failed.
#pragma once

#include "platform/Exception.h"
#include "platform/TStringList.h"

#include <sql.h>

#include <memory>
#include <string>

// "SQL_SUCCESS", "SQL_ERROR", ...; "unknown SQL result" followed by the code otherwise.
std::string SQLResultName(SQLRETURN code);

class ESQLerror : public Exception {
public:
    // A fixed text and no records.
    explicit ESQLerror(const std::string& message);
    // From the diagnostic records of handle (SQL_HANDLE_DBC or SQL_HANDLE_STMT)
    // after a call returned code.
    ESQLerror(SQLSMALLINT handleType, SQLRETURN code, SQLHANDLE handle);

    const char* what() const noexcept override { return message_.c_str(); }
    void SetMessage(const std::string& message) { message_ = message; }

    // One line per record: SQLSTATE ":" message text.
    const TStringList& Errors() const { return errors_; }
    // The SQLSTATE of the first record, empty without records.
    const std::string& SQLState() const { return sqlState_; }
    // The native error of the last record read, or the return code without records.
    SQLINTEGER NativeError() const { return nativeError_; }
    // The return code of the failed call; SQL_ERROR for a fixed text.
    SQLRETURN ReturnCode() const { return returnCode_; }
    // Built from a handle that held no diagnostic record: the message is only the code's name.
    bool WithoutDetail() const { return withoutDetail_; }

private:
    std::string message_;
    TStringList errors_;
    std::string sqlState_;
    SQLINTEGER nativeError_ = 0;
    SQLRETURN returnCode_ = SQL_ERROR;
    bool withoutDetail_ = false;
};

// The statement check of the datasets: SQL_SUCCESS returns, every other code raises.
void CheckStatementResult(SQLRETURN code, SQLHSTMT statement);
// What the statement check raises for code, read from the statement's records
// now (before a later call on the statement clears them); null for SQL_SUCCESS.
std::unique_ptr<ESQLerror> StatementError(SQLRETURN code, SQLHSTMT statement);
