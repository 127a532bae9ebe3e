#include "database/mQuery.h"

#include "database/OdbcText.h"
#include "database/SQLError.h"
#include "platform/Utf8.h"

#include <sqlext.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const TWording FieldReadOnly{"Field '%1' cannot be modified"};
const TWording NotUpdatable{"Sorry :(  but this type not supported for update. Look SetFieldData function"};
const TWording NoStatement{"sql statement not defined"};
const TWording NoRowAffected{"No rows affected"};
const TWording SeveralRowsAffected{"More then one rows affected"};
const TWording NoInternalUpdate{"Internal update is not supported by the driver"};
const TWording NoInternalInsert{"Internal insert is not supported by the driver"};
const TWording NoInternalDelete{"Internal delete is not supported by the driver"};
// A change the driver refused without a word, by kind: update, insert, delete;
// of a table it names, and of one it does not.
const TWording ChangeOfTableFailed[] = {
    TWording{"Update of table '%1' failed: the driver gave no detail (%2)"},
    TWording{"Insert of table '%1' failed: the driver gave no detail (%2)"},
    TWording{"Delete of table '%1' failed: the driver gave no detail (%2)"},
};
const TWording ChangeFailed[] = {
    TWording{"Update failed: the driver gave no detail (%1)"},
    TWording{"Insert failed: the driver gave no detail (%1)"},
    TWording{"Delete failed: the driver gave no detail (%1)"},
};

template <typename T>
void store(char* at, const T& value)
{
    std::memcpy(at, &value, sizeof value);
}

void setIndicator(TRecordBuffer& buffer, const TODBCFieldDef& def, SQLLEN indicator)
{
    store(buffer.data.data() + def.IndicatorOffset(), indicator);
}

bool startsWithOld(const std::string& name)
{
    return name.size() > 4 && SameText(name.substr(0, 4), "OLD_");
}

} // namespace

void TmCustomQuery::SetFieldData(TField& field, const TVariant* value)
{
    TDataSetState state = State();
    if (state != dsEdit && state != dsInsert && state != dsSetKey && state != dsCalcFields && state != dsFilter &&
        state != dsNewValue && state != dsInternalCalc)
        throw EDatabaseError(TMessage(NotEditing, {}));
    if (field.Calculated())
        SetCalcFieldData(field, value);
    else
        writeColumnValue(field, value);
    if (state != dsCalcFields && state != dsFilter && state != dsNewValue)
        DataEvent(&field);
}

void TmCustomQuery::writeColumnValue(TField& field, const TVariant* value)
{
    TDataSetState state = State();
    if (state == dsCalcFields)
        throw EDatabaseError(TMessage(NotEditing, {}));
    if (field.ReadOnly && state != dsSetKey && state != dsFilter)
        throw EDatabaseError(TMessage(FieldReadOnly, {field.DisplayName()}));
    TRecordBuffer* buffer = StateBuffer();
    if (!buffer)
        throw EDatabaseError(TMessage(NotEditing, {}));
    const TODBCFieldDef& def = ODBCFieldDef(field);
    if (def.IsLong()) {
        TLongValue& slot = buffer->longs.at(def.Offset);
        slot.null = value == nullptr;
        slot.bytes = value ? VarToStr(*value) : std::string{};
        return;
    }
    if (!value) {
        setIndicator(*buffer, def, SQL_NULL_DATA);
        return;
    }
    char* at = buffer->data.data() + def.Offset;
    SQLLEN indicator = static_cast<SQLLEN>(def.SlotSize);
    switch (def.CType) {
    case SQL_C_CHAR: {
        std::string text = VarToStr(*value);
        // A text longer than its column is cut to the field's size, in whole characters.
        text.resize(std::min(vx::utf8::OffsetOfChar(text, static_cast<std::size_t>(std::max(def.Size, 0))),
                             def.SlotSize - 1));
        std::memcpy(at, text.c_str(), text.size() + 1);
        indicator = static_cast<SQLLEN>(text.size());
        break;
    }
    case SQL_C_SSHORT: store(at, static_cast<SQLSMALLINT>(VarToInt(*value))); break;
    case SQL_C_SLONG: store(at, static_cast<SQLINTEGER>(VarToInt(*value))); break;
    case SQL_C_SBIGINT: store(at, static_cast<SQLBIGINT>(VarToInt(*value))); break;
    case SQL_C_BIT: store(at, static_cast<unsigned char>(VarToBool(*value) ? 1 : 0)); break;
    case SQL_C_DOUBLE: store(at, VarToFloat(*value)); break;
    case SQL_C_TYPE_DATE: store(at, DateTimeToDateStruct(VarToFloat(*value))); break;
    case SQL_C_TYPE_TIMESTAMP: store(at, DateTimeToTimestampStruct(VarToFloat(*value))); break;
    default: throw Exception(TMessage(NotUpdatable, {}));
    }
    setIndicator(*buffer, def, indicator);
}

void TmCustomQuery::InternalEdit()
{
    SetOldValues(*ActiveBuffer());
}

void TmCustomQuery::DoAfterCancel()
{
    FreeOldValues();
}

void TmCustomQuery::bindForPositionedOperation()
{
    releaseColumnBindings();
    TRecordBuffer& active = *ActiveBuffer();
    rowBound_ = true;
    if (useBookmarks_) {
        std::copy_n(active.data.begin(), std::min(bookmarkSize_, active.data.size()), operationBookmark_.begin());
        bookmarkBound_ = true;
        CheckStatementResult(SQLBindCol(hstmt_, 0, SQL_C_VARBOOKMARK, operationBookmark_.data(),
                                        static_cast<SQLLEN>(bookmarkSize_), nullptr),
                             hstmt_);
    }
    // Every column of the result, also one the program defined no field for: the driver
    // writes the whole row, and such a column keeps the value it was read with.
    for (const auto& base : FieldDefs()) {
        auto& def = static_cast<TODBCFieldDef&>(*base);
        auto column = static_cast<SQLUSMALLINT>(def.FieldNo);
        if (def.IsLong()) {
            // Long values go with their exact length, and a null one as NULL.
            TLongValue& slot = active.longs.at(def.Offset);
            SQLLEN& length = longIndicators_.at(def.Offset);
            CheckStatementResult(SQLBindCol(hstmt_, column, def.CType, slot.bytes.data(),
                                            static_cast<SQLLEN>(slot.bytes.size()), &length),
                                 hstmt_);
            length = slot.null ? SQL_NULL_DATA : static_cast<SQLLEN>(slot.bytes.size());
            continue;
        }
        // Some drivers reset the indicator when a column is bound: it is set again behind the binding.
        auto* indicator = reinterpret_cast<SQLLEN*>(active.data.data() + def.IndicatorOffset());
        SQLLEN value = *indicator;
        CheckStatementResult(SQLBindCol(hstmt_, column, def.CType, active.data.data() + def.Offset,
                                        static_cast<SQLLEN>(def.SlotSize), indicator),
                             hstmt_);
        *indicator = value;
    }
}

void TmCustomQuery::runPositionedOperation(int kind, SQLRETURN (*operation)(SQLHSTMT))
{
    std::unique_ptr<ESQLerror> failure;
    try {
        if (kind != 2)
            bindForPositionedOperation();
        failure = StatementError(operation(hstmt_), hstmt_);
    } catch (...) {
        releaseColumnBindings();
        throw;
    }
    if (kind != 2)
        releaseColumnBindings();
    if (failure)
        raiseChangeFailure(*failure, kind);
}

std::string TmCustomQuery::baseTableName()
{
    for (const auto& def : FieldDefs()) {
        for (SQLUSMALLINT attribute : {SQL_DESC_BASE_TABLE_NAME, SQL_DESC_TABLE_NAME}) {
            SQLCHAR name[OdbcTextBytes(255)] = {};
            SQLSMALLINT length = 0;
            SQLRETURN rc = SQLColAttribute(hstmt_, static_cast<SQLUSMALLINT>(def->FieldNo), attribute, name,
                                           sizeof name, &length, nullptr);
            if ((rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) && name[0])
                return reinterpret_cast<const char*>(name);
        }
    }
    return {};
}

void TmCustomQuery::raiseChangeFailure(const ESQLerror& error, int kind)
{
    if (!error.WithoutDetail())
        throw error;
    const auto at = static_cast<std::size_t>(kind);
    const std::string table = baseTableName();
    throw ESQLerror(table.empty() ? TMessage(ChangeFailed[at], {SQLResultName(error.ReturnCode())})
                                  : TMessage(ChangeOfTableFailed[at], {table, SQLResultName(error.ReturnCode())}),
                    error);
}

TmCustomQuery& TmCustomQuery::changeQuery(int kind)
{
    auto& query = changeQueries_.at(static_cast<size_t>(kind));
    if (!query) {
        query = std::make_unique<TmCustomQuery>();
        query->SetDataBase(database_);
        query->SetCursorType(cursorType_);
    }
    return *query;
}

void TmCustomQuery::runChangeStatement(int kind)
{
    const TStringList& text = ChangeSQL(kind);
    if (text.Empty())
        throw ESQLerror(TMessage(NoStatement, {}));
    TmCustomQuery& change = changeQuery(kind);
    change.SetSQL(text);
    TmParams& params = change.Params();
    for (int i = 0; i < params.Count(); ++i) {
        TmParam& param = params[i];
        bool old = startsWithOld(param.Name);
        TField* field = FindField(old ? param.Name.substr(4) : param.Name);
        if (!field)
            continue;
        WithState(old ? dsOldValue : dsNewValue, [&] { param.AssignField(*field); });
        if (!old && param.IsNull() && OldValuesBuffer())
            WithState(dsOldValue, [&] { param.AssignField(*field); });
    }
    // The change runs in a transaction of its own, undone unless it touched exactly one row.
    bool ownTransaction = !database_->InTransaction();
    if (ownTransaction)
        database_->StartTransaction();
    SQLLEN count = 0;
    try {
        try {
            count = change.ExecSQL();
        } catch (const ESQLerror& e) {
            raiseChangeFailure(e, kind);
        }
        if (count < 1)
            throw EDatabaseError(TMessage(NoRowAffected, {}));
        if (count > 1)
            throw EDatabaseError(TMessage(SeveralRowsAffected, {}));
    } catch (...) {
        if (ownTransaction)
            database_->Rollback();
        throw;
    }
    if (ownTransaction)
        database_->Commit();
}

void TmCustomQuery::cacheRecord(const TRecordBuffer& record)
{
    TBookmark bookmark = rowKey(record);
    if (!knownBookmark(bookmark))
        return;
    for (TRecordBuffer& entry : changed_)
        if (entry.updateStatus == record.updateStatus && rowKey(entry) == bookmark) {
            entry = record;
            return;
        }
    changed_.push_back(record);
}

void TmCustomQuery::InternalPost()
{
    TRecordBuffer& active = *ActiveBuffer();
    if (State() == dsEdit) {
        if (ModifySQL().Empty()) {
            if (!(cursorAttributes_ & SQL_CA1_POS_UPDATE))
                throw ESQLerror(TMessage(NoInternalUpdate, {}));
            runPositionedOperation(0, [](SQLHSTMT stmt) { return SQLSetPos(stmt, 1, SQL_UPDATE, SQL_LOCK_NO_CHANGE); });
        } else {
            runChangeStatement(0);
        }
        FreeOldValues();
        if (!(sensitivity_ & SQL_SS_UPDATES)) {
            TRecordBuffer copy = active;
            copy.updateStatus = 1;
            cacheRecord(copy);
        }
        return;
    }
    if (InsertSQL().Empty()) {
        if (!(cursorAttributes_ & SQL_CA1_BULK_ADD))
            throw ESQLerror(TMessage(NoInternalInsert, {}));
        runPositionedOperation(1, [](SQLHSTMT stmt) { return SQLBulkOperations(stmt, SQL_ADD); });
    } else {
        runChangeStatement(1);
    }
}

void TmCustomQuery::InternalDelete()
{
    TRecordBuffer& active = *ActiveBuffer();
    if (DeleteSQL().Empty()) {
        if (!(cursorAttributes_ & SQL_CA1_POS_DELETE))
            throw ESQLerror(TMessage(NoInternalDelete, {}));
        runPositionedOperation(2, [](SQLHSTMT stmt) { return SQLSetPos(stmt, 1, SQL_DELETE, SQL_LOCK_NO_CHANGE); });
    } else {
        runChangeStatement(2);
    }
    if (!(sensitivity_ & SQL_SS_DELETIONS) && knownBookmark(rowKey(active)))
        deleted_.push_back(rowKey(active));
}

// --- TmBlobStream

TmBlobStream::TmBlobStream(TField& field, Mode mode)
    : field_(field), dataSet_(static_cast<TmCustomQuery&>(*field.DataSet())), mode_(mode)
{
    buffer_ = dataSet_.StateBuffer();
    opened_ = buffer_ != nullptr && slot() != nullptr;
    if (opened_ && mode_ == bmWrite) {
        slot()->bytes.clear();
        slot()->null = true;
        modified_ = true;
    }
}

TmBlobStream::~TmBlobStream()
{
    if (opened_ && modified_)
        dataSet_.DataEvent(&field_);
}

TLongValue* TmBlobStream::slot() const
{
    const TODBCFieldDef& def = dataSet_.ODBCFieldDef(field_);
    if (!def.IsLong() || !buffer_ || def.Offset >= buffer_->longs.size())
        return nullptr;
    return &buffer_->longs[def.Offset];
}

std::size_t TmBlobStream::Size() const
{
    return opened_ ? slot()->bytes.size() : 0;
}

std::size_t TmBlobStream::Read(void* buffer, std::size_t count)
{
    if (!opened_)
        return 0;
    const std::string& bytes = slot()->bytes;
    if (position_ >= bytes.size())
        return 0;
    std::size_t n = std::min(count, bytes.size() - position_);
    std::memcpy(buffer, bytes.data() + position_, n);
    position_ += n;
    return n;
}

std::size_t TmBlobStream::Write(const void* buffer, std::size_t count)
{
    if (!opened_ || mode_ == bmRead || buffer_ != dataSet_.ActiveBuffer())
        return 0;
    TLongValue& value = *slot();
    if (value.bytes.size() < position_ + count)
        value.bytes.resize(position_ + count);
    std::memcpy(value.bytes.data() + position_, buffer, count);
    value.null = false;
    position_ += count;
    modified_ = true;
    return count;
}

std::int64_t TmBlobStream::Seek(std::int64_t offset, Origin origin)
{
    std::int64_t base = origin == soBeginning ? 0
                        : origin == soCurrent ? static_cast<std::int64_t>(position_)
                                              : static_cast<std::int64_t>(Size());
    std::int64_t target = base + offset;
    position_ = target < 0 ? 0 : static_cast<std::size_t>(target);
    return static_cast<std::int64_t>(position_);
}
