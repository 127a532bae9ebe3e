// The ODBC query dataset: one statement with parameters, its result columns as
// fields, a scrollable cursor fetched into record buffers, long values read
// whole, and edits sent through positioned operations or change statements.
#pragma once

#include "database/DataSet.h"
#include "database/mParams.h"
#include "database/mSession.h"
#include "platform/TStringList.h"

#include <sql.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

enum TmCursorTypes { ctFwdOnlyCursor, ctStaticCursor, ctKeySetCursor, ctDynamicCursor };

// The longest driver bookmark the query takes; a longer one counts as undescribed.
constexpr std::size_t kMaxBookmarkSize = 256;

class ESQLerror;
class TmCustomQuery;

// A result column: where its value lives in the record buffer and how it is bound.
class TODBCFieldDef : public TFieldDef {
public:
    // Offset of the value slot in the record data, or for a long column the index of its long-value slot.
    std::size_t Offset = 0;
    SQLSMALLINT CType = SQL_C_CHAR;
    // Bytes of the value slot; 0 for a long column.
    std::size_t SlotSize = 0;
    bool IsLong() const { return SlotSize == 0; }
    // Offset of the SQLLEN length indicator behind the value.
    std::size_t IndicatorOffset() const;
};

// Reopens a detail query when its master moves.
class TmCustomQueryDataLink : public TDataLink {
public:
    explicit TmCustomQueryDataLink(TmCustomQuery* query) : query_(query) {}
    void ActiveChanged() override;
    void RecordChanged(TField* field) override;
    void CheckBrowseMode() override;

private:
    void reopen();
    TmCustomQuery* query_;
};

// A long value of the active record, read and written as a stream.
class TmBlobStream {
public:
    enum Mode { bmRead, bmWrite, bmReadWrite };
    TmBlobStream(TField& field, Mode mode);
    ~TmBlobStream();
    TmBlobStream(const TmBlobStream&) = delete;
    TmBlobStream& operator=(const TmBlobStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count);
    std::size_t Write(const void* buffer, std::size_t count);
    enum Origin { soBeginning, soCurrent, soEnd };
    std::int64_t Seek(std::int64_t offset, Origin origin);
    std::size_t Size() const;

private:
    TLongValue* slot() const;
    TField& field_;
    TmCustomQuery& dataSet_;
    TRecordBuffer* buffer_ = nullptr;
    Mode mode_;
    bool opened_ = false;
    bool modified_ = false;
    std::size_t position_ = 0;
};

class TmCustomQuery : public TDataSet, private TmDataBaseClient {
public:
    TmCustomQuery();
    ~TmCustomQuery() override;

    const TStringList& SQL() const { return sql_; }
    virtual void SetSQL(const TStringList& lines);
    void SetSQLText(const std::string& text);
    // 0 ModifySQL, 1 InsertSQL, 2 DeleteSQL.
    const TStringList& ChangeSQL(int kind) const { return changeSQL_.at(static_cast<size_t>(kind)); }
    void SetChangeSQL(int kind, const TStringList& lines);
    const TStringList& ModifySQL() const { return ChangeSQL(0); }
    const TStringList& InsertSQL() const { return ChangeSQL(1); }
    const TStringList& DeleteSQL() const { return ChangeSQL(2); }
    void SetModifySQL(const TStringList& lines) { SetChangeSQL(0, lines); }
    void SetInsertSQL(const TStringList& lines) { SetChangeSQL(1, lines); }
    void SetDeleteSQL(const TStringList& lines) { SetChangeSQL(2, lines); }

    TmDataBase* DataBase() const { return database_; }
    void SetDataBase(TmDataBase* database);
    TDataSource* DataSource() const { return masterLink_.DataSource(); }
    // Raises "Circular datalinks are not allowed" when source shows this query.
    void SetDataSource(TDataSource* source);
    bool RequestLive = false;
    TmCursorTypes CursorType() const { return cursorType_; }
    void SetCursorType(TmCursorTypes type);
    bool ParamCheck = true;
    TmParams& Params() { return params_; }
    void SetParams(const TmParams& params) { params_.AssignValues(params); }
    TmParam& ParamByName(const std::string& name) { return params_.ParamByName(name); }

    virtual void Prepare();
    virtual void UnPrepare() { prepared_ = false; }
    bool Prepared() const { return prepared_; }
    // Runs a statement that returns no rows; the count of rows it changed.
    SQLLEN ExecSQL();
    SQLLEN RowsAffected() const { return rowsAffected_; }
    void FreeStatement() override;
    SQLHSTMT Handle() const { return hstmt_; }
    // The text handed to the driver: markers replaced by "?".
    const std::string& StatementText() const { return statementText_; }
    bool UsesBookmarks() const { return useBookmarks_; }
    SQLUINTEGER CursorAttributes() const { return cursorAttributes_; }
    SQLUINTEGER Sensitivity() const { return sensitivity_; }

    TODBCFieldDef& ODBCFieldDef(const TField& field) const;
    bool GetFieldData(const TField& field, TVariant& value) override;
    void SetFieldData(TField& field, const TVariant* value) override;

protected:
    void InternalOpen() override;
    void InternalClose() override;
    TRecordBuffer AllocRecordBuffer() override;
    void InternalInitRecord(TRecordBuffer& buffer) override;
    TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode) override;
    void InternalFirst() override { crack_ = Crack::BeforeFirst; }
    void InternalLast() override { crack_ = Crack::AfterLast; }
    void InternalGotoBookmark(const TBookmark& bookmark) override;
    TBookmark GetBookmarkData(const TRecordBuffer& buffer) const override;
    int GetRecNo() const override;
    bool GetCanModify() const override { return canModify_; }
    void InternalEdit() override;
    void InternalPost() override;
    void InternalDelete() override;
    void DoAfterCancel() override;

    void AllocateStatement();
    void ExecuteStatement();
    void InternalInitFieldDefs();
    bool IsCursorOpen() const { return allocated_ && executed_; }

private:
    friend class TmCustomQueryDataLink;
    friend class TmBlobStream;
    enum class Crack { BeforeFirst, AfterLast, OnRow };

    void DataBaseDestroyed() override { database_ = nullptr; }
    void applySQLText();
    void readCursorInfo();
    void bindParameters(std::vector<std::string>& storage, std::vector<SQLLEN>& indicators);
    void takeMasterValues();
    void bindRowBuffer();
    // Takes every column buffer back from the statement: the bound row and what a
    // positioned operation bound. Runs before any of them is freed or moved.
    void releaseColumnBindings();
    void readLongValues(TRecordBuffer& buffer);
    // What tells a row from the others: the driver's bookmark, or the row number.
    TBookmark rowKey(const TRecordBuffer& buffer) const;
    bool isDeleted(const TBookmark& bookmark) const;
    // A row number of -1 stands for no row in particular.
    bool knownBookmark(const TBookmark& bookmark) const;
    const TRecordBuffer* cachedRecord(const TBookmark& bookmark) const;
    void cacheRecord(const TRecordBuffer& record);
    // SetFieldData for a field of a column: the value into the column's slot of the record.
    void writeColumnValue(TField& field, const TVariant* value);
    void bindForPositionedOperation();
    // Runs a positioned change (kind 0 update, 1 insert, 2 delete) on the active record:
    // an update or insert binds the record first and releases it on every path. Checks the result.
    void runPositionedOperation(int kind, SQLRETURN (*operation)(SQLHSTMT));
    // The table the result's columns come from, as the driver tells it; empty when it does not.
    std::string baseTableName();
    // Raises error from a change of kind; one without any record from the driver names the change and table.
    [[noreturn]] void raiseChangeFailure(const ESQLerror& error, int kind);
    void runChangeStatement(int kind);
    TmCustomQuery& changeQuery(int kind);
    SQLUINTEGER infoWord(SQLUSMALLINT infoType);

    TStringList sql_;
    std::array<TStringList, 3> changeSQL_;
    std::array<std::unique_ptr<TmCustomQuery>, 3> changeQueries_;
    TmParams params_;
    TmDataBase* database_ = nullptr;
    TmCustomQueryDataLink masterLink_{this};
    TmCursorTypes cursorType_ = ctDynamicCursor;

    SQLHSTMT hstmt_ = SQL_NULL_HSTMT;
    bool allocated_ = false;
    bool executed_ = false;
    bool prepared_ = false;
    std::string statementText_;
    SQLUINTEGER cursorAttributes_ = 0;
    SQLULEN concurrency_ = 0;
    bool useBookmarks_ = false;
    SQLUINTEGER sensitivity_ = 0;
    bool canModify_ = false;
    std::size_t bookmarkSize_ = 4;
    std::size_t boundDataSize_ = 0;
    std::size_t longCount_ = 0;
    std::vector<char> boundRow_;
    // Length indicators of the long values bound for a positioned operation.
    std::vector<SQLLEN> longIndicators_;
    // Some column buffer may be bound to the statement (also after a binding failed half-way).
    bool rowBound_ = false;
    bool bookmarkBound_ = false;
    // The bookmark column 0 is bound to for a positioned operation, and the one a fetch by
    // bookmark points the statement at: they live as long as the query, so a driver that
    // holds on to either pointer can never write into freed memory.
    std::array<char, kMaxBookmarkSize> operationBookmark_{};
    std::array<char, kMaxBookmarkSize> fetchBookmark_{};
    Crack crack_ = Crack::BeforeFirst;
    // The cursor's row number as counted from the fetches (0 before the first,
    // -1 unknown), and the number of rows once the end was reached.
    std::int32_t position_ = 0;
    std::int32_t rowCount_ = -1;
    SQLLEN rowsAffected_ = 0;
    std::vector<TBookmark> deleted_;
    std::vector<TRecordBuffer> changed_;
};

class TmQuery : public TmCustomQuery {};

// Splits a statement at its parameter markers: the text for the driver, with
// "?" for each marker and ":" for each "::", and the marker names in order.
std::string ParseSQLParams(const std::string& text, std::vector<std::string>* names);
