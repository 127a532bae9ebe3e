#include "database/mTable.h"

#include "database/Catalogue.h"
#include "database/SqlNames.h"

#include <sqlext.h>

#include <functional>

namespace {

const TWording NoDataBase{"DataBase property not assigned"};
const TWording NoKeyFields{"Table %1 does not consist key fields"};
const TWording NoIndexField{"index field not defined"};

// Fills list with the names in one column of a catalogue call's rows.
void readCatalogue(TmDataBase& db, SQLUSMALLINT column, TStringList& list,
                   const std::function<SQLRETURN(SQLHSTMT)>& call)
{
    list.Clear();
    db.Connect();
    ReadCatalogue(db.Handle(), {column}, call, [&](const TCatalogueRow& row) {
        if (row[0])
            list.Add(*row[0]);
    });
}

SQLCHAR* text(std::string& s)
{
    return reinterpret_cast<SQLCHAR*>(s.data());
}

} // namespace

void TmTable::SetTableName(const std::string& name)
{
    if (name == tableName_)
        return;
    Close();
    UnPrepare();
    tableName_ = name;
}

void TmTable::ReadColumns(const std::string& table, TStringList& list)
{
    std::string name = table;
    readCatalogue(*DataBase(), 4, list, [&](SQLHSTMT stmt) {
        return SQLColumns(stmt, nullptr, 0, nullptr, 0, text(name), SQL_NTS, nullptr, 0);
    });
}

void TmTable::ReadKeyColumns(const std::string& table, TStringList& list)
{
    std::string name = table;
    readCatalogue(*DataBase(), 2, list, [&](SQLHSTMT stmt) {
        return SQLSpecialColumns(stmt, SQL_BEST_ROWID, nullptr, 0, nullptr, 0, text(name), SQL_NTS,
                                 SQL_SCOPE_CURROW, SQL_NULLABLE);
    });
}

void TmTable::Prepare()
{
    if (Prepared())
        return;
    BuildStatements();
    TmCustomQuery::Prepare();
}

void TmTable::BuildStatements()
{
    if (!DataBase())
        throw Exception(TMessage(NoDataBase, {}));
    DataBase()->Connect();
    TStringList columns, keys;
    ReadColumns(tableName_, columns);
    ReadKeyColumns(tableName_, keys);
    if (keys.Empty() && RequestLive)
        throw Exception(TMessage(NoKeyFields, {tableName_}));
    std::string quote = IdentifierQuote(DataBase()->Handle());
    auto q = [&](const std::string& name) { return QuoteIdentifier(name, quote); };
    std::string table = q(tableName_);

    TStringList select;
    select.Add("SELECT");
    bool keyLine = false;
    for (int i = 0; i < keys.Count(); ++i) {
        if (columns.IndexOf(keys[i]) >= 0)
            continue;
        // Named after itself: a driver may name a row identifier after the column it stands for.
        select.Add((keyLine ? "   ," : "    ") + q(keys[i]) + " AS " + q(keys[i]));
        keyLine = true;
    }
    select.Add(keyLine ? "   ,*" : "   *");
    select.Add("  FROM " + table);
    std::vector<std::string> masters = SplitNameList(MasterFieldNames);
    if (DataSource() && !masters.empty()) {
        std::string where;
        for (size_t i = 0; i < masters.size(); ++i) {
            std::string index = NthName(IndexFieldNames, static_cast<int>(i + 1));
            if (index.empty())
                throw Exception(TMessage(NoIndexField, {}));
            if (i)
                where += " and ";
            where += '(';
            where += q(index) + "=" + ParamMarker(masters[i]);
            where += ')';
        }
        select.Add("  WHERE " + where);
    }
    std::vector<std::string> order = SplitNameList(IndexFieldNames);
    if (!order.empty()) {
        std::string list;
        for (const std::string& name : order) {
            if (!list.empty())
                list += ',';
            list += q(name);
        }
        select.Add("  ORDER BY " + list);
    }
    SetSQL(select);

    TStringList insert, modify, remove;
    if (RequestLive) {
        insert.Add("INSERT INTO " + table);
        for (int i = 0; i < columns.Count(); ++i)
            insert.Add((i ? "    ," : "    (") + q(columns[i]));
        insert.Add("    ) VALUES");
        for (int i = 0; i < columns.Count(); ++i)
            insert.Add((i ? "    ," : "    (") + ParamMarker(columns[i]));
        insert.Add("    )");

        TStringList keyLines;
        for (int i = 0; i < keys.Count(); ++i)
            keyLines.Add((i ? "    AND " : "    ") + q(keys[i]) + "=" + ParamMarker("old_" + keys[i]));
        modify.Add("UPDATE " + table + " SET");
        for (int i = 0; i < columns.Count(); ++i)
            modify.Add((i ? "    ," : "    ") + q(columns[i]) + "=" + ParamMarker(columns[i]));
        modify.Add("  WHERE");
        modify.AddStrings(keyLines);
        remove.Add("DELETE FROM " + table + " WHERE");
        remove.AddStrings(keyLines);
    }
    SetInsertSQL(insert);
    SetModifySQL(modify);
    SetDeleteSQL(remove);
}
