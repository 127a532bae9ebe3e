// Reading the driver's catalogue (tables, columns, row identifiers) through a
// statement of its own.
#pragma once

#include <sql.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

using TCatalogueRow = std::vector<std::optional<std::string>>;

// Runs call on a new statement of connection and hands visit the texts of the
// given columns of every row it returns (no value for a null). Stops quietly
// when no statement can be had or the call fails. The statement is freed, and
// with it the bindings, before the buffers the columns are bound to go.
void ReadCatalogue(SQLHDBC connection, const std::vector<SQLUSMALLINT>& columns,
                   const std::function<SQLRETURN(SQLHSTMT)>& call, const std::function<void(const TCatalogueRow&)>& visit);
