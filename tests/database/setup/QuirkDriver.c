/* The SQLite ODBC driver with two habits of other drivers, for the tests to
   meet. A connection string holding "Quirk=warn" connects with information
   (SQL_SUCCESS_WITH_INFO, state 01S00, as a driver that ignored an attribute);
   one holding "Quirk=silent" refuses every positioned change (SQLSetPos,
   SQLBulkOperations) with SQL_ERROR and no diagnostic record. Every other
   function is the SQLite driver's own: this library needs it, so the driver
   manager finds them there. */
#include <sql.h>
#include <sqlext.h>

#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#define MAX_SILENT 64

static SQLHDBC warned;
/* The statement whose last call failed without a word: it has no record to give. */
static SQLHSTMT silenced;
static SQLHDBC silentConnections[MAX_SILENT];
static SQLHSTMT silentStatements[MAX_SILENT];

static void* real(const char* name)
{
    static void* driver;
    if (!driver)
        driver = dlopen(VX_SQLITE_ODBC_DRIVER, RTLD_LAZY);
    return driver ? dlsym(driver, name) : 0;
}

static int find(void** list, void* item)
{
    int i;
    for (i = 0; i < MAX_SILENT; ++i)
        if (list[i] == item)
            return i;
    return -1;
}

static void add(void** list, void* item)
{
    int free = find(list, 0);
    if (item && find(list, item) < 0 && free >= 0)
        list[free] = item;
}

static void drop(void** list, void* item)
{
    int at = item ? find(list, item) : -1;
    if (at >= 0)
        list[at] = 0;
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC dbc, SQLHWND window, SQLCHAR* in, SQLSMALLINT inLength, SQLCHAR* out,
                                   SQLSMALLINT outMax, SQLSMALLINT* outLength, SQLUSMALLINT completion)
{
    SQLRETURN (*connect)(SQLHDBC, SQLHWND, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*,
                         SQLUSMALLINT) = real("SQLDriverConnect");
    SQLRETURN rc = connect(dbc, window, in, inLength, out, outMax, outLength, completion);
    if (rc != SQL_SUCCESS || !in)
        return rc;
    if (strstr((const char*)in, "Quirk=silent"))
        add((void**)silentConnections, dbc);
    if (strstr((const char*)in, "Quirk=warn")) {
        warned = dbc;
        return SQL_SUCCESS_WITH_INFO;
    }
    return rc;
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC dbc)
{
    SQLRETURN (*disconnect)(SQLHDBC) = real("SQLDisconnect");
    drop((void**)silentConnections, dbc);
    if (warned == dbc)
        warned = 0;
    return disconnect(dbc);
}

/* The driver manager asks this driver for its records through SQLError. */
SQLRETURN SQL_API SQLError(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt, SQLCHAR* state, SQLINTEGER* native,
                           SQLCHAR* message, SQLSMALLINT max, SQLSMALLINT* length)
{
    SQLRETURN (*error)(SQLHENV, SQLHDBC, SQLHSTMT, SQLCHAR*, SQLINTEGER*, SQLCHAR*, SQLSMALLINT, SQLSMALLINT*) =
        real("SQLError");
    if (!stmt && dbc && dbc == warned) {
        warned = 0;
        memcpy(state, "01S00", 6);
        if (native)
            *native = 0;
        snprintf((char*)message, (size_t)max, "[Quirk]Invalid connection string attribute");
        if (length)
            *length = (SQLSMALLINT)strlen((const char*)message);
        return SQL_SUCCESS;
    }
    if (stmt && stmt == silenced) {
        silenced = 0;
        return SQL_NO_DATA;
    }
    return error(env, dbc, stmt, state, native, message, max, length);
}

static void allocated(SQLHDBC dbc, SQLHSTMT stmt)
{
    if (find((void**)silentConnections, dbc) >= 0)
        add((void**)silentStatements, stmt);
}

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output)
{
    SQLRETURN (*alloc)(SQLSMALLINT, SQLHANDLE, SQLHANDLE*) = real("SQLAllocHandle");
    SQLRETURN rc = alloc(type, input, output);
    if (type == SQL_HANDLE_STMT && rc == SQL_SUCCESS)
        allocated(input, *output);
    return rc;
}

/* The driver manager speaks the driver's ODBC 2 functions where it has them. */
SQLRETURN SQL_API SQLAllocStmt(SQLHDBC dbc, SQLHSTMT* stmt)
{
    SQLRETURN (*alloc)(SQLHDBC, SQLHSTMT*) = real("SQLAllocStmt");
    SQLRETURN rc = alloc(dbc, stmt);
    if (rc == SQL_SUCCESS)
        allocated(dbc, *stmt);
    return rc;
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT stmt, SQLUSMALLINT option)
{
    SQLRETURN (*freeStmt)(SQLHSTMT, SQLUSMALLINT) = real("SQLFreeStmt");
    if (option == SQL_DROP)
        drop((void**)silentStatements, stmt);
    return freeStmt(stmt, option);
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle)
{
    SQLRETURN (*freeHandle)(SQLSMALLINT, SQLHANDLE) = real("SQLFreeHandle");
    if (type == SQL_HANDLE_STMT)
        drop((void**)silentStatements, handle);
    return freeHandle(type, handle);
}

SQLRETURN SQL_API SQLSetPos(SQLHSTMT stmt, SQLSETPOSIROW row, SQLUSMALLINT operation, SQLUSMALLINT lock)
{
    SQLRETURN (*setPos)(SQLHSTMT, SQLSETPOSIROW, SQLUSMALLINT, SQLUSMALLINT) = real("SQLSetPos");
    if (find((void**)silentStatements, stmt) >= 0 && operation != SQL_POSITION && operation != SQL_REFRESH) {
        silenced = stmt;
        return SQL_ERROR;
    }
    return setPos(stmt, row, operation, lock);
}

SQLRETURN SQL_API SQLBulkOperations(SQLHSTMT stmt, SQLSMALLINT operation)
{
    SQLRETURN (*bulk)(SQLHSTMT, SQLSMALLINT) = real("SQLBulkOperations");
    if (find((void**)silentStatements, stmt) >= 0) {
        silenced = stmt;
        return SQL_ERROR;
    }
    return bulk(stmt, operation);
}
