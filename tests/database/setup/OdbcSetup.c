/* The setup library of the tests' private ODBC driver: writes, changes and
   removes data sources in the private configuration as a driver's setup
   dialog would, from the attribute block the installer hands over. */
#include <sql.h>
#include <odbcinst.h>
#include <string.h>
#include <strings.h>

BOOL ConfigDSN(HWND parent, WORD request, LPCSTR driver, LPCSTR attributes)
{
    const char* dsn = 0;
    const char* p;
    (void)parent;
    for (p = attributes; *p; p += strlen(p) + 1)
        if (strncasecmp(p, "DSN=", 4) == 0)
            dsn = p + 4;
    if (!dsn || !*dsn)
        return 0;
    if (request == ODBC_REMOVE_DSN)
        return SQLRemoveDSNFromIni(dsn);
    if (request == ODBC_ADD_DSN && !SQLWriteDSNToIni(dsn, driver))
        return 0;
    if (request == ODBC_CONFIG_DSN) {
        char found[8];
        if (SQLGetPrivateProfileString(dsn, "Driver", "", found, sizeof found, "odbc.ini") <= 0)
            return 0;
    }
    for (p = attributes; *p; p += strlen(p) + 1) {
        const char* eq = strchr(p, '=');
        char key[256];
        size_t n;
        if (!eq || strncasecmp(p, "DSN=", 4) == 0)
            continue;
        n = (size_t)(eq - p);
        if (n >= sizeof key)
            n = sizeof key - 1;
        memcpy(key, p, n);
        key[n] = 0;
        if (!SQLWritePrivateProfileString(dsn, key, eq + 1, "odbc.ini"))
            return 0;
    }
    return 1;
}
