/* Frees a column buffer while it is still bound to a statement and fetches:
   the driver writes into freed memory. Run only under valgrind, whose check
   must fail on it; it proves the check sees writes made inside a C library
   that was built without our instrumentation. */
#include <sql.h>
#include <sqlext.h>
#include <stdio.h>
#include <stdlib.h>

static int check(SQLRETURN rc, const char* what)
{
    if (SQL_SUCCEEDED(rc))
        return 1;
    fprintf(stderr, "dangling-binding: %s failed\n", what);
    exit(2);
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: dangling-binding <SQLite ODBC driver library>\n");
        return 2;
    }
    char connect[1024];
    snprintf(connect, sizeof connect, "DRIVER=%s;Database=:memory:", argv[1]);
    SQLHENV env;
    SQLHDBC dbc;
    SQLHSTMT stmt;
    check(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env), "environment");
    check(SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, (SQLPOINTER)SQL_OV_ODBC3, 0), "ODBC version");
    check(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc), "connection handle");
    check(SQLDriverConnect(dbc, NULL, (SQLCHAR*)connect, SQL_NTS, NULL, 0, NULL, SQL_DRIVER_NOPROMPT), "connect");
    check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt), "statement handle");
    check(SQLExecDirect(stmt, (SQLCHAR*)"SELECT 'a value longer than eight bytes'", SQL_NTS), "select");

    char* value = malloc(64);
    SQLLEN length = 0;
    check(SQLBindCol(stmt, 1, SQL_C_CHAR, value, 64, &length), "bind");
    free(value);
    check(SQLFetch(stmt), "fetch");

    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return 0;
}
