// ESQLerror: every failed ODBC call of the database components, with all the
// diagnostic records of the handle that failed.
#pragma once

#include "platform/Exception.h"
#include "platform/TStringList.h"

#include <sql.h>

#include <memory>
#include <string>

// What the checks raise for a code they do not know: "unknown SQL result".
extern const TWording UnknownResult;

// "SQL_SUCCESS", "SQL_ERROR", ... as they are; "unknown SQL result" followed
// by the code otherwise, a message the window words.
TMessage SQLResultName(SQLRETURN code);

class ESQLerror : public Exception {
public:
    // A text as it came and no records.
    explicit ESQLerror(const std::string& message);
    // A message of ours and no records.
    explicit ESQLerror(TMessage message);
    // From the diagnostic records of handle (SQL_HANDLE_DBC or SQL_HANDLE_STMT)
    // after a call returned code; the message is the first record as the
    // driver gave it, or the code's name without one.
    ESQLerror(SQLSMALLINT handleType, SQLRETURN code, SQLHANDLE handle);
    // The records and codes of detail, told by a message of ours.
    ESQLerror(TMessage message, const ESQLerror& detail);

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
    struct Records;
    static Records readRecords(SQLSMALLINT handleType, SQLRETURN code, SQLHANDLE handle);
    ESQLerror(Records records, SQLRETURN code);

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
