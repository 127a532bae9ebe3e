// The ODBC table dataset: a query that needs only a table name and writes its
// SELECT, and for a live table its INSERT, UPDATE and DELETE, from the
// driver's catalogue.
#pragma once

#include "database/mQuery.h"

class TmTable : public TmCustomQuery {
public:
    const std::string& TableName() const { return tableName_; }
    void SetTableName(const std::string& name);
    // Names separated by blanks, "," or ";".
    std::string IndexFieldNames;
    std::string MasterFieldNames;

    void Prepare() override;
    void BuildStatements();
    // The table's columns and its best row identifier, from a statement of their own.
    void ReadColumns(const std::string& table, TStringList& list);
    void ReadKeyColumns(const std::string& table, TStringList& list);

private:
    std::string tableName_;
};
