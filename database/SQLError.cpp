#include "database/SQLError.h"

#include <sqlext.h>

#include <vector>

std::string SQLResultName(SQLRETURN code)
{
    switch (code) {
    case SQL_SUCCESS: return "SQL_SUCCESS";
    case SQL_SUCCESS_WITH_INFO: return "SQL_SUCCESS_WITH_INFO";
    case SQL_STILL_EXECUTING: return "SQL_STILL_EXECUTING";
    case SQL_NEED_DATA: return "SQL_NEED_DATA";
    case SQL_NO_DATA: return "SQL_NO_DATA";
    case SQL_ERROR: return "SQL_ERROR";
    case SQL_INVALID_HANDLE: return "SQL_INVALID_HANDLE";
    default: return "unknown SQL result" + std::to_string(code);
    }
}

namespace {

struct DiagRecord {
    std::string state;
    SQLINTEGER native = 0;
    std::string text;
};

// One record, its message whole: a text longer than the first buffer is read
// again with the length the driver reported.
SQLRETURN readRecord(SQLSMALLINT handleType, SQLHANDLE handle, SQLSMALLINT number, DiagRecord& record)
{
    SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
    std::vector<SQLCHAR> text(255);
    SQLSMALLINT length = 0;
    SQLRETURN rc = SQLGetDiagRec(handleType, handle, number, state, &record.native, text.data(),
                                 static_cast<SQLSMALLINT>(text.size()), &length);
    if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(text.size())) {
        text.assign(static_cast<size_t>(length) + 1, 0);
        rc = SQLGetDiagRec(handleType, handle, number, state, &record.native, text.data(),
                           static_cast<SQLSMALLINT>(text.size()), &length);
    }
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO)
        return rc;
    record.state = reinterpret_cast<const char*>(state);
    size_t n = length < 0 ? 0 : static_cast<size_t>(length);
    if (n >= text.size())
        n = text.size() - 1;
    record.text.assign(reinterpret_cast<const char*>(text.data()), n);
    return SQL_SUCCESS;
}

} // namespace

ESQLerror::ESQLerror(const std::string& message) : Exception(message), message_(message) {}

ESQLerror::ESQLerror(SQLSMALLINT handleType, SQLRETURN code, SQLHANDLE handle)
    : Exception(SQLResultName(code)), message_(SQLResultName(code)), nativeError_(code), returnCode_(code)
{
    if (code != SQL_ERROR && code != SQL_SUCCESS_WITH_INFO && code != SQL_INVALID_HANDLE)
        return;
    for (SQLSMALLINT number = 1; number > 0; ++number) {
        DiagRecord record;
        if (readRecord(handleType, handle, number, record) != SQL_SUCCESS)
            break;
        nativeError_ = record.native;
        std::string line = record.state + ":" + record.text;
        if (number == 1) {
            sqlState_ = record.state;
            message_ = line;
        }
        errors_.Add(line);
    }
    withoutDetail_ = errors_.Count() == 0;
}

std::unique_ptr<ESQLerror> StatementError(SQLRETURN code, SQLHSTMT statement)
{
    switch (code) {
    case SQL_SUCCESS: return nullptr;
    case SQL_SUCCESS_WITH_INFO:
    case SQL_ERROR: return std::make_unique<ESQLerror>(SQL_HANDLE_STMT, code, statement);
    case SQL_INVALID_HANDLE: return std::make_unique<ESQLerror>(": SQL_INVALID_HANDLE");
    case SQL_STILL_EXECUTING:
    case SQL_NEED_DATA:
    case SQL_NO_DATA: return std::make_unique<ESQLerror>(SQLResultName(code));
    default: return std::make_unique<ESQLerror>("unknown SQL result");
    }
}

void CheckStatementResult(SQLRETURN code, SQLHSTMT statement)
{
    if (std::unique_ptr<ESQLerror> error = StatementError(code, statement))
        throw *error;
}
