#include "database/mQuery.h"

#include "database/OdbcText.h"
#include "database/SQLError.h"

#include <sqlext.h>

#include <cstring>

namespace {

const TWording PostMethodFixed{"You can't change Post metod while query is active"};
const TWording CircularLinks{"Circular datalinks are not allowed"};
const TWording NoDataSource{"ODBC datasource not defined"};
const TWording ForwardOnly{"FORWARD ONLY cursors not supported, use ODBC cursor library"};
const TWording NoStatementHandle{"Can`t allocate statement handle"};
const TWording NoFieldDef{"fielddef not found"};

} // namespace

std::size_t TODBCFieldDef::IndicatorOffset() const
{
    return (Offset + SlotSize + 7) & ~std::size_t{7};
}

TmCustomQuery::TmCustomQuery()
{
    sql_.OnChange = [this](TStringList*) { applySQLText(); };
}

TmCustomQuery::~TmCustomQuery()
{
    FreeStatement();
    if (database_)
        database_->UnregisterClient(this);
}

void TmCustomQuery::SetSQL(const TStringList& lines)
{
    if (lines.Text() == sql_.Text())
        return;
    sql_.BeginUpdate();
    sql_.Assign(lines);
    sql_.EndUpdate();
}

void TmCustomQuery::SetSQLText(const std::string& text)
{
    TStringList lines;
    lines.SetText(text);
    SetSQL(lines);
}

void TmCustomQuery::applySQLText()
{
    Close();
    UnPrepare();
    std::string joined;
    for (int i = 0; i < sql_.Count(); ++i) {
        if (i)
            joined += ' ';
        joined += sql_[i];
    }
    if (!ParamCheck) {
        statementText_ = joined;
        return;
    }
    std::vector<std::string> names;
    statementText_ = ParseSQLParams(joined, &names);
    TmParams fresh;
    for (const std::string& name : names)
        if (!fresh.FindParam(name))
            fresh.CreateParam(name, ftUnknown, ptInput);
    fresh.AssignValues(params_);
    params_ = fresh;
}

void TmCustomQuery::SetChangeSQL(int kind, const TStringList& lines)
{
    TStringList& target = changeSQL_.at(static_cast<size_t>(kind));
    if (Active() && target.Empty() != lines.Empty())
        throw ESQLerror(TMessage(PostMethodFixed, {}));
    target.Assign(lines);
}

void TmCustomQuery::SetDataBase(TmDataBase* database)
{
    if (database_ == database)
        return;
    Close();
    FreeStatement();
    if (database_)
        database_->UnregisterClient(this);
    database_ = database;
    if (database_)
        database_->RegisterClient(this);
    for (auto& query : changeQueries_)
        if (query)
            query->SetDataBase(database);
}

void TmCustomQuery::SetDataSource(TDataSource* source)
{
    if (source && source->DataSet() == this)
        throw EDatabaseError(TMessage(CircularLinks, {}));
    masterLink_.SetDataSource(source);
}

void TmCustomQuery::SetCursorType(TmCursorTypes type)
{
    if (Active())
        throw EDatabaseError(TMessage(DataSetOpen, {}));
    cursorType_ = type;
}

SQLUINTEGER TmCustomQuery::infoWord(SQLUSMALLINT infoType)
{
    SQLUINTEGER value = 0;
    database_->GetInfo(infoType, &value, sizeof value, nullptr);
    return value;
}

void TmCustomQuery::AllocateStatement()
{
    if (allocated_)
        return;
    if (!database_)
        throw ESQLerror(TMessage(NoDataSource, {}));
    database_->Connect();
    if (infoWord(SQL_SCROLL_OPTIONS) == SQL_SO_FORWARD_ONLY)
        throw ESQLerror(TMessage(ForwardOnly, {}));
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, database_->Handle(), &stmt);
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO)
        throw ESQLerror(TMessage(NoStatementHandle, {}));
    hstmt_ = stmt;
    allocated_ = true;
    try {
        auto setOption = [&](SQLINTEGER attribute, SQLULEN value) {
            try {
                CheckStatementResult(SQLSetStmtAttr(hstmt_, attribute, reinterpret_cast<SQLPOINTER>(value),
                                                    SQL_IS_UINTEGER),
                                     hstmt_);
            } catch (const ESQLerror& e) {
                if (e.SQLState() != "01S02")
                    throw;
            }
        };
        switch (cursorType_) {
        case ctStaticCursor: setOption(SQL_ATTR_CURSOR_TYPE, SQL_CURSOR_STATIC); break;
        case ctKeySetCursor: setOption(SQL_ATTR_CURSOR_TYPE, SQL_CURSOR_KEYSET_DRIVEN); break;
        case ctDynamicCursor: setOption(SQL_ATTR_CURSOR_TYPE, SQL_CURSOR_DYNAMIC); break;
        case ctFwdOnlyCursor: break;
        }
        // A cursor library that keeps a forward-only cursor instead of the one asked
        // for (unixODBC's does) still offers a static one.
        SQLULEN granted = SQL_CURSOR_FORWARD_ONLY;
        SQLGetStmtAttr(hstmt_, SQL_ATTR_CURSOR_TYPE, &granted, 0, nullptr);
        if (granted == SQL_CURSOR_FORWARD_ONLY && cursorType_ != ctFwdOnlyCursor)
            setOption(SQL_ATTR_CURSOR_TYPE, SQL_CURSOR_STATIC);
        SQLUINTEGER concurrency = infoWord(SQL_SCROLL_CONCURRENCY);
        if (concurrency & SQL_SCCO_LOCK)
            setOption(SQL_ATTR_CONCURRENCY, SQL_CONCUR_LOCK);
        else if (concurrency & SQL_SCCO_OPT_ROWVER)
            setOption(SQL_ATTR_CONCURRENCY, SQL_CONCUR_ROWVER);
        else if (concurrency & SQL_SCCO_OPT_VALUES)
            setOption(SQL_ATTR_CONCURRENCY, SQL_CONCUR_VALUES);
        else if (concurrency & SQL_SCCO_READ_ONLY)
            setOption(SQL_ATTR_CONCURRENCY, SQL_CONCUR_READ_ONLY);
        readCursorInfo();
    } catch (...) {
        FreeStatement();
        throw;
    }
}

void TmCustomQuery::readCursorInfo()
{
    SQLULEN type = 0;
    CheckStatementResult(SQLGetStmtAttr(hstmt_, SQL_ATTR_CURSOR_TYPE, &type, 0, nullptr), hstmt_);
    switch (type) {
    case SQL_CURSOR_KEYSET_DRIVEN:
        cursorType_ = ctKeySetCursor;
        cursorAttributes_ = infoWord(SQL_KEYSET_CURSOR_ATTRIBUTES1);
        sensitivity_ = infoWord(SQL_STATIC_SENSITIVITY);
        break;
    case SQL_CURSOR_DYNAMIC:
        cursorType_ = ctDynamicCursor;
        cursorAttributes_ = infoWord(SQL_DYNAMIC_CURSOR_ATTRIBUTES1);
        sensitivity_ = SQL_SS_ADDITIONS | SQL_SS_DELETIONS | SQL_SS_UPDATES;
        break;
    case SQL_CURSOR_STATIC:
        cursorType_ = ctStaticCursor;
        cursorAttributes_ = infoWord(SQL_STATIC_CURSOR_ATTRIBUTES1);
        sensitivity_ = infoWord(SQL_STATIC_SENSITIVITY);
        break;
    default: throw ESQLerror(TMessage(ForwardOnly, {}));
    }
    if (cursorType_ != ctDynamicCursor && !ModifySQL().Empty())
        sensitivity_ &= ~static_cast<SQLUINTEGER>(SQL_SS_UPDATES);
    SQLUINTEGER persistence = infoWord(SQL_BOOKMARK_PERSISTENCE);
    // Driver bookmarks are used too where the driver cannot number its rows:
    // a row number it does not know would make every row look alike.
    useBookmarks_ = persistence != 0 &&
                    ((sensitivity_ & (SQL_SS_ADDITIONS | SQL_SS_DELETIONS)) || (cursorAttributes_ & SQL_CA1_BOOKMARK));
    if (useBookmarks_)
        CheckStatementResult(SQLSetStmtAttr(hstmt_, SQL_ATTR_USE_BOOKMARKS,
                                            reinterpret_cast<SQLPOINTER>(SQL_UB_VARIABLE), SQL_IS_UINTEGER),
                             hstmt_);
    else
        SQLSetStmtAttr(hstmt_, SQL_ATTR_USE_BOOKMARKS, reinterpret_cast<SQLPOINTER>(SQL_UB_OFF), SQL_IS_UINTEGER);
    SQLGetStmtAttr(hstmt_, SQL_ATTR_CONCURRENCY, &concurrency_, 0, nullptr);
}

void TmCustomQuery::Prepare()
{
    if (prepared_)
        return;
    AllocateStatement();
    CheckStatementResult(SQLPrepare(hstmt_, reinterpret_cast<SQLCHAR*>(statementText_.data()),
                                    static_cast<SQLINTEGER>(statementText_.size())),
                         hstmt_);
    prepared_ = true;
}

void TmCustomQuery::FreeStatement()
{
    Close();
    if (hstmt_ != SQL_NULL_HSTMT)
        SQLFreeHandle(SQL_HANDLE_STMT, hstmt_);
    hstmt_ = SQL_NULL_HSTMT;
    allocated_ = executed_ = prepared_ = false;
    rowBound_ = bookmarkBound_ = false;
}

void TmCustomQuery::takeMasterValues()
{
    TDataSet* master = masterLink_.DataSet();
    if (!master)
        return;
    for (int i = 0; i < params_.Count(); ++i) {
        TmParam& param = params_[i];
        if (param.Bound)
            continue;
        if (master->Active()) {
            if (TField* field = master->FindField(param.Name)) {
                param.AssignField(*field);
                param.Bound = false;
            }
        } else if (TFieldDef* def = master->FindFieldDef(param.Name)) {
            param.DataType = def->DataType;
        }
    }
}

namespace {

struct ParamBinding {
    SQLSMALLINT sqlType;
    SQLSMALLINT cType;
};

// The types a parameter is bound with; the others are refused.
bool bindingOf(const TmParam& param, ParamBinding& out)
{
    switch (param.DataType) {
    case ftString: out = {SQL_CHAR, SQL_C_CHAR}; return true;
    case ftSmallint:
    case ftWord:
    case ftBoolean: out = {SQL_SMALLINT, SQL_C_SSHORT}; return true;
    case ftInteger:
    case ftAutoInc: out = {SQL_INTEGER, SQL_C_SLONG}; return true;
    case ftFloat:
    case ftCurrency: out = {SQL_DOUBLE, SQL_C_DOUBLE}; return true;
    // Exact numbers go as their digits: a double would round them.
    case ftBCD: out = {SQL_DECIMAL, SQL_C_CHAR}; return true;
    case ftDate: out = {SQL_TYPE_DATE, SQL_C_TYPE_DATE}; return true;
    case ftDateTime: out = {SQL_TYPE_TIMESTAMP, SQL_C_TYPE_TIMESTAMP}; return true;
    case ftMemo:
        out = param.Binary ? ParamBinding{SQL_LONGVARBINARY, SQL_C_BINARY} : ParamBinding{SQL_LONGVARCHAR, SQL_C_CHAR};
        return true;
    default: return false;
    }
}

template <typename T>
std::string bytesOf(const T& value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// The value in the C type the parameter is bound with.
std::string parameterBytes(const TmParam& param)
{
    const TVariant& v = param.Value();
    switch (param.DataType) {
    case ftString:
    case ftMemo:
    case ftBCD: return VarToStr(v);
    case ftSmallint:
    case ftWord: return bytesOf(static_cast<SQLSMALLINT>(VarToInt(v)));
    case ftBoolean: return bytesOf(static_cast<SQLSMALLINT>(VarToBool(v) ? 1 : 0));
    case ftInteger:
    case ftAutoInc: return bytesOf(static_cast<SQLINTEGER>(VarToInt(v)));
    case ftFloat:
    case ftCurrency: return bytesOf(VarToFloat(v));
    case ftDate: return bytesOf(DateTimeToDateStruct(VarToFloat(v)));
    case ftDateTime: return bytesOf(DateTimeToTimestampStruct(VarToFloat(v)));
    default: return {};
    }
}

} // namespace

void TmCustomQuery::bindParameters(std::vector<std::string>& storage, std::vector<SQLLEN>& indicators)
{
    storage.assign(static_cast<size_t>(params_.Count()), {});
    indicators.assign(static_cast<size_t>(params_.Count()), 0);
    for (int i = 0; i < params_.Count(); ++i) {
        TmParam& param = params_[i];
        ParamBinding binding{};
        bool known = bindingOf(param, binding);
        auto number = static_cast<SQLUSMALLINT>(i + 1);
        SQLLEN& indicator = indicators[static_cast<size_t>(i)];
        if (param.IsNull()) {
            indicator = SQL_NULL_DATA;
            SQLSMALLINT cType = known ? binding.cType : SQL_C_CHAR;
            SQLSMALLINT sqlType = known ? binding.sqlType : SQL_VARCHAR;
            CheckStatementResult(SQLBindParameter(hstmt_, number, SQL_PARAM_INPUT, cType, sqlType, 1, 0, nullptr, 0,
                                                  &indicator),
                                 hstmt_);
            continue;
        }
        if (!known)
            throw EDatabaseError(TMessage(UnsupportedField, {param.Name}));
        std::string& bytes = storage[static_cast<size_t>(i)];
        bytes = parameterBytes(param);
        // Text goes with its exact length, so NUL bytes inside it are kept.
        indicator = static_cast<SQLLEN>(bytes.size());
        SQLULEN columnSize = bytes.empty() ? 1 : bytes.size();
        SQLSMALLINT digits = param.DataType == ftDateTime ? 3 : 0;
        if (param.DataType == ftDateTime)
            columnSize = 23;
        CheckStatementResult(SQLBindParameter(hstmt_, number, SQL_PARAM_INPUT, binding.cType, binding.sqlType,
                                              columnSize, digits, bytes.data(), static_cast<SQLLEN>(bytes.size()),
                                              &indicator),
                             hstmt_);
    }
}

void TmCustomQuery::ExecuteStatement()
{
    crack_ = Crack::BeforeFirst;
    position_ = 0;
    rowCount_ = -1;
    canModify_ = false;
    FieldDefs().clear();
    boundDataSize_ = 0;
    try {
        AllocateStatement();
        Prepare();
        takeMasterValues();
        // The parameter values are taken back from the statement before they are
        // freed, whatever happens; the driver's records are read before that.
        std::vector<std::string> storage;
        std::vector<SQLLEN> indicators;
        std::unique_ptr<ESQLerror> failure;
        try {
            bindParameters(storage, indicators);
            SQLRETURN rc = SQLExecute(hstmt_);
            // A searched UPDATE or DELETE that touched no row is not a failure.
            if (rc != SQL_NO_DATA)
                failure = StatementError(rc, hstmt_);
        } catch (...) {
            SQLFreeStmt(hstmt_, SQL_RESET_PARAMS);
            throw;
        }
        SQLFreeStmt(hstmt_, SQL_RESET_PARAMS);
        if (failure) {
            if (failure->SQLState() != "01S02")
                throw *failure;
            readCursorInfo();
        }
        executed_ = true;
    } catch (...) {
        FreeStatement();
        throw;
    }
}

SQLLEN TmCustomQuery::ExecSQL()
{
    if (Active())
        throw EDatabaseError(TMessage(DataSetOpen, {}));
    rowsAffected_ = 0;
    try {
        ExecuteStatement();
        SQLLEN count = 0;
        if (SQLRowCount(hstmt_, &count) == SQL_SUCCESS)
            rowsAffected_ = count < 0 ? 0 : count;
    } catch (...) {
        if (allocated_)
            InternalClose();
        throw;
    }
    InternalClose();
    return rowsAffected_;
}

void TmCustomQuery::InternalInitFieldDefs()
{
    if (!IsCursorOpen())
        ExecuteStatement();
    auto& defs = FieldDefs();
    defs.clear();
    SQLSMALLINT columns = 0;
    CheckStatementResult(SQLNumResultCols(hstmt_, &columns), hstmt_);
    bookmarkSize_ = 4;
    boundDataSize_ = 0;
    longCount_ = 0;
    SQLCHAR name[OdbcTextBytes(254)];
    SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
    SQLULEN columnSize = 0;
    if (useBookmarks_) {
        // Drivers that cannot describe the bookmark column give bookmarks of a 64-bit word.
        SQLRETURN rc = SQLDescribeCol(hstmt_, 0, name, sizeof name, &nameLength, &sqlType, &columnSize, &digits,
                                      &nullable);
        bool described = (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) && columnSize > 0 && columnSize <= kMaxBookmarkSize;
        bookmarkSize_ = described ? columnSize : 8;
        boundDataSize_ = (bookmarkSize_ + 7) & ~std::size_t{7};
    }
    for (SQLUSMALLINT column = 1; column <= columns; ++column) {
        CheckStatementResult(SQLDescribeCol(hstmt_, column, name, sizeof name, &nameLength, &sqlType, &columnSize,
                                            &digits, &nullable),
                             hstmt_);
        std::string base = reinterpret_cast<const char*>(name);
        if (base.empty())
            base = "COLUMN";
        std::string unique = base;
        for (int counter = 1; FindFieldDef(unique); ++counter)
            unique = base + "_" + std::to_string(counter);
        auto def = std::make_unique<TODBCFieldDef>();
        def->Name = unique;
        def->FieldNo = column;
        def->Required = nullable == SQL_NO_NULLS;
        switch (sqlType) {
        case SQL_CHAR:
        case SQL_VARCHAR:
        case SQL_WCHAR:
        case SQL_WVARCHAR:
            if (columnSize == 0 || columnSize > 8000) {
                def->DataType = ftMemo;
                break;
            }
            def->DataType = ftString;
            def->Size = static_cast<int>(columnSize);
            def->SlotSize = OdbcTextBytes(columnSize);
            def->CType = SQL_C_CHAR;
            break;
        case SQL_SMALLINT:
        case SQL_TINYINT: def->DataType = ftSmallint; def->SlotSize = 2; def->CType = SQL_C_SSHORT; break;
        case SQL_INTEGER: def->DataType = ftInteger; def->SlotSize = 4; def->CType = SQL_C_SLONG; break;
        case SQL_BIT: def->DataType = ftBoolean; def->SlotSize = 1; def->CType = SQL_C_BIT; break;
        case SQL_BIGINT: def->DataType = ftLargeint; def->SlotSize = 8; def->CType = SQL_C_SBIGINT; break;
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            // Exact numbers keep their text: a double would round them.
            def->DataType = ftBCD;
            def->Size = static_cast<int>(columnSize + 2);
            def->Precision = digits;
            def->SlotSize = columnSize + 3;
            def->CType = SQL_C_CHAR;
            break;
        case SQL_FLOAT:
        case SQL_REAL:
        case SQL_DOUBLE:
            def->DataType = ftFloat;
            def->Precision = digits;
            def->SlotSize = 8;
            def->CType = SQL_C_DOUBLE;
            break;
        case SQL_TYPE_DATE:
        case SQL_DATE: def->DataType = ftDate; def->SlotSize = 6; def->CType = SQL_C_TYPE_DATE; break;
        case SQL_TYPE_TIME:
        case SQL_TIME: def->DataType = ftTime; def->SlotSize = 6; def->CType = SQL_C_TYPE_TIME; break;
        case SQL_TYPE_TIMESTAMP:
        case SQL_TIMESTAMP:
            def->DataType = ftDateTime;
            def->SlotSize = sizeof(SQL_TIMESTAMP_STRUCT);
            def->CType = SQL_C_TYPE_TIMESTAMP;
            break;
        case SQL_LONGVARCHAR:
        case SQL_WLONGVARCHAR: def->DataType = ftMemo; break;
        case SQL_BINARY:
        case SQL_VARBINARY:
        case SQL_LONGVARBINARY:
            def->DataType = ftMemo;
            def->Binary = true;
            break;
        default: continue;
        }
        if (def->DataType == ftMemo) {
            def->SlotSize = 0;
            def->CType = SQL_C_BINARY;
            def->Offset = longCount_++;
        } else {
            def->Offset = boundDataSize_;
            boundDataSize_ = def->IndicatorOffset() + sizeof(SQLLEN);
        }
        defs.push_back(std::move(def));
    }
    canModify_ = RequestLive;
}

void TmCustomQuery::InternalOpen()
{
    InternalInitFieldDefs();
    CreateFields();
    releaseColumnBindings();
    boundRow_.assign(boundDataSize_, 0);
    longIndicators_.assign(longCount_, 0);
}

void TmCustomQuery::InternalClose()
{
    if (hstmt_ != SQL_NULL_HSTMT)
        SQLFreeStmt(hstmt_, SQL_CLOSE);
    releaseColumnBindings();
    executed_ = false;
    boundRow_.clear();
    boundRow_.shrink_to_fit();
    DestroyFields();
    canModify_ = false;
    deleted_.clear();
    changed_.clear();
}

TODBCFieldDef& TmCustomQuery::ODBCFieldDef(const TField& field) const
{
    for (const auto& def : const_cast<TmCustomQuery*>(this)->FieldDefs())
        if (def->FieldNo == field.FieldNo())
            return static_cast<TODBCFieldDef&>(*def);
    throw Exception(TMessage(NoFieldDef, {}));
}

// --- master-detail

void TmCustomQueryDataLink::reopen()
{
    TDataSet* master = DataSet();
    if (!query_->Active() || !master || !master->Active() || master->State() == dsSetKey)
        return;
    query_->DisableControls();
    try {
        query_->Close();
        query_->Open();
    } catch (...) {
        query_->EnableControls();
        throw;
    }
    query_->EnableControls();
}

void TmCustomQueryDataLink::ActiveChanged()
{
    reopen();
}

void TmCustomQueryDataLink::RecordChanged(TField* field)
{
    if (!field)
        reopen();
}

void TmCustomQueryDataLink::CheckBrowseMode()
{
    if (query_->Active())
        query_->CheckBrowseMode();
}
