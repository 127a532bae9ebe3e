#include "database/Catalogue.h"

#include "database/OdbcText.h"

#include <sqlext.h>

namespace {

bool succeeded(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

struct ColumnBuffer {
    // Catalogue names of up to 128 characters.
    SQLCHAR text[OdbcTextBytes(128)] = {};
    SQLLEN length = 0;
};

class CatalogueStatement {
public:
    explicit CatalogueStatement(SQLHDBC connection)
    {
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_STMT, connection, &handle_)))
            handle_ = SQL_NULL_HSTMT;
    }
    ~CatalogueStatement()
    {
        if (handle_ != SQL_NULL_HSTMT)
            SQLFreeHandle(SQL_HANDLE_STMT, handle_);
    }
    CatalogueStatement(const CatalogueStatement&) = delete;
    CatalogueStatement& operator=(const CatalogueStatement&) = delete;
    SQLHSTMT Handle() const { return handle_; }

private:
    SQLHSTMT handle_ = SQL_NULL_HSTMT;
};

} // namespace

void ReadCatalogue(SQLHDBC connection, const std::vector<SQLUSMALLINT>& columns,
                   const std::function<SQLRETURN(SQLHSTMT)>& call, const std::function<void(const TCatalogueRow&)>& visit)
{
    std::vector<ColumnBuffer> buffers(columns.size());
    CatalogueStatement statement(connection);
    SQLHSTMT stmt = statement.Handle();
    if (stmt == SQL_NULL_HSTMT || !succeeded(call(stmt)))
        return;
    for (std::size_t i = 0; i < columns.size(); ++i)
        SQLBindCol(stmt, columns[i], SQL_C_CHAR, buffers[i].text, sizeof buffers[i].text, &buffers[i].length);
    TCatalogueRow row(columns.size());
    while (succeeded(SQLFetch(stmt))) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (buffers[i].length == SQL_NULL_DATA)
                row[i].reset();
            else
                row[i] = reinterpret_cast<const char*>(buffers[i].text);
        }
        visit(row);
    }
}
