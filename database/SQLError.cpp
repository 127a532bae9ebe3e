#include "database/SQLError.h"

#include <sqlext.h>

#include <vector>

const TWording UnknownResult{"unknown SQL result"};

namespace {

const TWording UnknownResultCode{"unknown SQL result%1"};

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

TMessage SQLResultName(SQLRETURN code)
{
    switch (code) {
    case SQL_SUCCESS: return std::string("SQL_SUCCESS");
    case SQL_SUCCESS_WITH_INFO: return std::string("SQL_SUCCESS_WITH_INFO");
    case SQL_STILL_EXECUTING: return std::string("SQL_STILL_EXECUTING");
    case SQL_NEED_DATA: return std::string("SQL_NEED_DATA");
    case SQL_NO_DATA: return std::string("SQL_NO_DATA");
    case SQL_ERROR: return std::string("SQL_ERROR");
    case SQL_INVALID_HANDLE: return std::string("SQL_INVALID_HANDLE");
    default: return TMessage(UnknownResultCode, {std::to_string(code)});
    }
}

struct ESQLerror::Records {
    TStringList lines;
    std::string state;
    SQLINTEGER native = 0;
};

// Every record of the handle, read once the call returned code; none for a
// code that leaves none.
ESQLerror::Records ESQLerror::readRecords(SQLSMALLINT handleType, SQLRETURN code, SQLHANDLE handle)
{
    Records records;
    records.native = code;
    if (code != SQL_ERROR && code != SQL_SUCCESS_WITH_INFO && code != SQL_INVALID_HANDLE)
        return records;
    for (SQLSMALLINT number = 1; number > 0; ++number) {
        DiagRecord record;
        if (readRecord(handleType, handle, number, record) != SQL_SUCCESS)
            break;
        records.native = record.native;
        if (number == 1)
            records.state = record.state;
        records.lines.Add(record.state + ":" + record.text);
    }
    return records;
}

ESQLerror::ESQLerror(const std::string& message) : Exception(message) {}

ESQLerror::ESQLerror(TMessage message) : Exception(std::move(message)) {}

ESQLerror::ESQLerror(SQLSMALLINT handleType, SQLRETURN code, SQLHANDLE handle)
    : ESQLerror(readRecords(handleType, code, handle), code)
{
}

// The driver's first record is the message, as it gave it.
ESQLerror::ESQLerror(Records records, SQLRETURN code)
    : Exception(records.lines.Count() > 0 ? TMessage(records.lines[0]) : SQLResultName(code)),
      errors_(records.lines), sqlState_(std::move(records.state)), nativeError_(records.native), returnCode_(code),
      withoutDetail_(records.lines.Count() == 0)
{
}

ESQLerror::ESQLerror(TMessage message, const ESQLerror& detail)
    : Exception(std::move(message)), errors_(detail.errors_), sqlState_(detail.sqlState_),
      nativeError_(detail.nativeError_), returnCode_(detail.returnCode_), withoutDetail_(detail.withoutDetail_)
{
}

std::unique_ptr<ESQLerror> StatementError(SQLRETURN code, SQLHSTMT statement)
{
    switch (code) {
    case SQL_SUCCESS: return nullptr;
    case SQL_SUCCESS_WITH_INFO:
    case SQL_ERROR: return std::make_unique<ESQLerror>(SQL_HANDLE_STMT, code, statement);
    case SQL_INVALID_HANDLE: return std::make_unique<ESQLerror>(std::string(": SQL_INVALID_HANDLE"));
    case SQL_STILL_EXECUTING:
    case SQL_NEED_DATA:
    case SQL_NO_DATA: return std::make_unique<ESQLerror>(SQLResultName(code));
    default: return std::make_unique<ESQLerror>(TMessage(UnknownResult, {}));
    }
}

void CheckStatementResult(SQLRETURN code, SQLHSTMT statement)
{
    if (std::unique_ptr<ESQLerror> error = StatementError(code, statement))
        throw *error;
}
