#include "database/mQuery.h"

#include "database/SQLError.h"
#include "platform/Utf8.h"

#include <sqlext.h>

#include <algorithm>
#include <cstring>

namespace {

const TWording NoAbsolute{"Absolute set to record is not supported by driver"};
const TWording NoRowNumber{"Record Number can't be determined by driver"};

template <typename T>
T load(const char* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

SQLLEN indicatorOf(const TRecordBuffer& buffer, const TODBCFieldDef& def)
{
    return load<SQLLEN>(buffer.data.data() + def.IndicatorOffset());
}

} // namespace

TRecordBuffer TmCustomQuery::AllocRecordBuffer()
{
    TRecordBuffer buffer;
    buffer.data.assign(boundDataSize_, 0);
    buffer.longs.assign(longCount_, {});
    buffer.calc.assign(CalcFieldCount(), {});
    return buffer;
}

void TmCustomQuery::InternalInitRecord(TRecordBuffer& buffer)
{
    buffer.longs.assign(longCount_, {});
    for (const auto& base : FieldDefs()) {
        auto& def = static_cast<TODBCFieldDef&>(*base);
        if (def.IsLong())
            continue;
        SQLLEN null = SQL_NULL_DATA;
        std::memcpy(buffer.data.data() + def.IndicatorOffset(), &null, sizeof null);
    }
    buffer.updateStatus = 2;
    buffer.bookmarkFlag = bfInserted;
    buffer.rowNumber = -1;
}

void TmCustomQuery::bindRowBuffer()
{
    if (rowBound_)
        return;
    rowBound_ = true;
    try {
        for (const auto& base : FieldDefs()) {
            auto& def = static_cast<TODBCFieldDef&>(*base);
            if (def.IsLong())
                continue;
            CheckStatementResult(SQLBindCol(hstmt_, static_cast<SQLUSMALLINT>(def.FieldNo), def.CType,
                                            boundRow_.data() + def.Offset, static_cast<SQLLEN>(def.SlotSize),
                                            reinterpret_cast<SQLLEN*>(boundRow_.data() + def.IndicatorOffset())),
                                 hstmt_);
        }
    } catch (...) {
        releaseColumnBindings();
        throw;
    }
}

void TmCustomQuery::releaseColumnBindings()
{
    if (hstmt_ != SQL_NULL_HSTMT && bookmarkBound_) {
        // SQL_UNBIND leaves the bookmark column bound; drivers refuse to unbind it with a buffer length of 0.
        SQLBindCol(hstmt_, 0, SQL_C_VARBOOKMARK, nullptr, static_cast<SQLLEN>(bookmarkSize_), nullptr);
    }
    if (hstmt_ != SQL_NULL_HSTMT && rowBound_) {
        SQLRETURN rc = SQLFreeStmt(hstmt_, SQL_UNBIND);
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO && rc != SQL_INVALID_HANDLE)
            for (const auto& def : FieldDefs())
                SQLBindCol(hstmt_, static_cast<SQLUSMALLINT>(def->FieldNo), SQL_C_CHAR, nullptr, 0, nullptr);
    }
    rowBound_ = bookmarkBound_ = false;
}

TBookmark TmCustomQuery::rowKey(const TRecordBuffer& buffer) const
{
    if (useBookmarks_)
        return TBookmark(buffer.data.data(), std::min(bookmarkSize_, buffer.data.size()));
    return TBookmark(reinterpret_cast<const char*>(&buffer.rowNumber), sizeof buffer.rowNumber);
}

TBookmark TmCustomQuery::GetBookmarkData(const TRecordBuffer& buffer) const
{
    // A driver's bookmark carries the row number behind it, so that the row
    // number is known again after going back to it.
    if (useBookmarks_)
        return rowKey(buffer) + TBookmark(reinterpret_cast<const char*>(&buffer.rowNumber), sizeof buffer.rowNumber);
    return rowKey(buffer);
}

int TmCustomQuery::GetRecNo() const
{
    TDataSet* self = const_cast<TmCustomQuery*>(this);
    TRecordBuffer* buffer = self->StateBuffer();
    return buffer ? buffer->rowNumber : -1;
}

bool TmCustomQuery::isDeleted(const TBookmark& bookmark) const
{
    if ((sensitivity_ & SQL_SS_DELETIONS) || !knownBookmark(bookmark))
        return false;
    return std::find(deleted_.begin(), deleted_.end(), bookmark) != deleted_.end();
}

bool TmCustomQuery::knownBookmark(const TBookmark& bookmark) const
{
    if (useBookmarks_)
        return true;
    std::int32_t row = -1;
    std::memcpy(&row, bookmark.data(), std::min(bookmark.size(), sizeof row));
    return row > 0;
}

const TRecordBuffer* TmCustomQuery::cachedRecord(const TBookmark& bookmark) const
{
    if (!knownBookmark(bookmark))
        return nullptr;
    for (const TRecordBuffer& record : changed_)
        if (rowKey(record) == bookmark)
            return &record;
    return nullptr;
}

void TmCustomQuery::readLongValues(TRecordBuffer& buffer)
{
    for (const auto& base : FieldDefs()) {
        auto& def = static_cast<TODBCFieldDef&>(*base);
        if (!def.IsLong())
            continue;
        TLongValue& value = buffer.longs[def.Offset];
        value = {};
        auto column = static_cast<SQLUSMALLINT>(def.FieldNo);
        char probe = 0;
        SQLLEN total = 0;
        SQLRETURN rc = SQLGetData(hstmt_, column, SQL_C_BINARY, &probe, 0, &total);
        if (rc == SQL_NO_DATA) {
            value.null = false;
            continue;
        }
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO)
            CheckStatementResult(rc, hstmt_);
        if (total == SQL_NULL_DATA)
            continue;
        value.null = false;
        std::size_t piece = total > 0 ? static_cast<std::size_t>(total) : 100;
        for (;;) {
            std::size_t start = value.bytes.size();
            value.bytes.resize(start + piece);
            SQLLEN indicator = 0;
            rc = SQLGetData(hstmt_, column, SQL_C_BINARY, value.bytes.data() + start, static_cast<SQLLEN>(piece),
                            &indicator);
            if (rc == SQL_NO_DATA) {
                value.bytes.resize(start);
                break;
            }
            if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO)
                CheckStatementResult(rc, hstmt_);
            if (indicator == SQL_NULL_DATA) {
                value = {};
                break;
            }
            bool whole = indicator != SQL_NO_TOTAL && indicator <= static_cast<SQLLEN>(piece);
            value.bytes.resize(start + (whole ? static_cast<std::size_t>(indicator) : piece));
            if (rc != SQL_SUCCESS_WITH_INFO)
                break;
            piece = 20;
        }
    }
}

TGetResult TmCustomQuery::GetRecord(TRecordBuffer& buffer, TGetMode mode)
{
    for (;;) {
        bindRowBuffer();
        SQLSMALLINT orientation = SQL_FETCH_NEXT;
        switch (mode) {
        case gmCurrent:
            orientation = crack_ == Crack::BeforeFirst ? SQL_FETCH_FIRST
                          : crack_ == Crack::AfterLast ? SQL_FETCH_LAST
                                                       : SQL_FETCH_RELATIVE;
            break;
        case gmNext:
            if (crack_ == Crack::AfterLast)
                return grEOF;
            orientation = crack_ == Crack::BeforeFirst ? SQL_FETCH_FIRST : SQL_FETCH_NEXT;
            break;
        case gmPrior:
            if (crack_ == Crack::BeforeFirst)
                return grBOF;
            orientation = crack_ == Crack::AfterLast ? SQL_FETCH_LAST : SQL_FETCH_PRIOR;
            break;
        }
        crack_ = Crack::OnRow;
        // The row number the fetch lands on, counted here for drivers that cannot tell it.
        std::int32_t expected = -1;
        switch (orientation) {
        case SQL_FETCH_FIRST: expected = 1; break;
        case SQL_FETCH_NEXT: expected = position_ > 0 ? position_ + 1 : -1; break;
        case SQL_FETCH_PRIOR: expected = position_ > 1 ? position_ - 1 : -1; break;
        case SQL_FETCH_LAST: expected = rowCount_; break;
        default: expected = position_; break;
        }
        SQLRETURN rc = SQLFetchScroll(hstmt_, orientation, 0);
        if (rc == SQL_NO_DATA) {
            if (mode == gmNext) {
                if (position_ > 0)
                    rowCount_ = position_;
                crack_ = Crack::AfterLast;
                return grEOF;
            }
            if (mode == gmPrior) {
                position_ = 0;
                crack_ = Crack::BeforeFirst;
                return grBOF;
            }
            return grError;
        }
        if (rc == SQL_SUCCESS_WITH_INFO) {
            try {
                CheckStatementResult(rc, hstmt_);
            } catch (const ESQLerror& e) {
                if (mode == gmPrior && e.SQLState() == "01S06") {
                    crack_ = Crack::BeforeFirst;
                    return grBOF;
                }
                // A text longer than its column arrives cut to the field's size.
                if (e.SQLState() != "01004")
                    throw;
            }
        } else if (rc != SQL_SUCCESS) {
            CheckStatementResult(rc, hstmt_);
            return grError;
        }
        if (useBookmarks_) {
            SQLLEN length = 0;
            CheckStatementResult(SQLGetData(hstmt_, 0, SQL_C_BINARY, boundRow_.data(),
                                            static_cast<SQLLEN>(bookmarkSize_), &length),
                                 hstmt_);
        }
        SQLULEN rowNumber = 0;
        SQLRETURN numbered = SQLGetStmtAttr(hstmt_, SQL_ATTR_ROW_NUMBER, &rowNumber, 0, nullptr);
        auto signedRow = static_cast<SQLLEN>(rowNumber);
        std::int32_t row = numbered == SQL_SUCCESS && signedRow > 0 && signedRow <= INT32_MAX
                               ? static_cast<std::int32_t>(signedRow)
                               : expected;
        position_ = row;
        TBookmark bookmark = useBookmarks_ ? TBookmark(boundRow_.data(), bookmarkSize_)
                                           : TBookmark(reinterpret_cast<const char*>(&row), sizeof row);
        if (isDeleted(bookmark)) {
            if (mode == gmCurrent)
                mode = gmNext;
            continue;
        }
        try {
            if (const TRecordBuffer* cached = cachedRecord(bookmark)) {
                buffer = *cached;
            } else {
                std::memcpy(buffer.data.data(), boundRow_.data(), boundDataSize_);
                readLongValues(buffer);
                buffer.updateStatus = 0;
            }
        } catch (const std::exception&) {
            return grError;
        }
        buffer.bookmarkFlag = bfCurrent;
        buffer.rowNumber = row;
        CalculateFields(buffer);
        if (!FilterAccepts(buffer)) {
            if (mode == gmCurrent)
                mode = gmNext;
            continue;
        }
        return grOK;
    }
}

void TmCustomQuery::InternalGotoBookmark(const TBookmark& bookmark)
{
    std::size_t rowAt = useBookmarks_ ? bookmarkSize_ : 0;
    std::int32_t row = -1;
    if (bookmark.size() >= rowAt + sizeof row)
        std::memcpy(&row, bookmark.data() + rowAt, sizeof row);
    if (useBookmarks_) {
        fetchBookmark_.fill(0);
        std::copy_n(bookmark.begin(), std::min(bookmark.size(), bookmarkSize_), fetchBookmark_.begin());
        CheckStatementResult(
            SQLSetStmtAttr(hstmt_, SQL_ATTR_FETCH_BOOKMARK_PTR, fetchBookmark_.data(), SQL_IS_POINTER), hstmt_);
        SQLRETURN rc = SQLFetchScroll(hstmt_, SQL_FETCH_BOOKMARK, 0);
        SQLSetStmtAttr(hstmt_, SQL_ATTR_FETCH_BOOKMARK_PTR, nullptr, SQL_IS_POINTER);
        CheckStatementResult(rc, hstmt_);
    } else {
        if (!(cursorAttributes_ & SQL_CA1_ABSOLUTE))
            throw ESQLerror(TMessage(NoAbsolute, {}));
        if (row < 0)
            throw ESQLerror(TMessage(NoRowNumber, {}));
        CheckStatementResult(SQLFetchScroll(hstmt_, SQL_FETCH_ABSOLUTE, row), hstmt_);
    }
    position_ = row;
    crack_ = Crack::OnRow;
}

bool TmCustomQuery::GetFieldData(const TField& field, TVariant& value)
{
    if (field.Calculated())
        return GetCalcFieldData(field, value);
    TRecordBuffer* buffer = StateBuffer();
    if (!buffer)
        return false;
    const TODBCFieldDef& def = ODBCFieldDef(field);
    if (def.IsLong()) {
        const TLongValue& slot = buffer->longs.at(def.Offset);
        if (slot.null)
            return false;
        value = slot.bytes;
        return true;
    }
    if (indicatorOf(*buffer, def) == SQL_NULL_DATA)
        return false;
    const char* at = buffer->data.data() + def.Offset;
    switch (def.CType) {
    case SQL_C_CHAR: {
        std::string text(at, strnlen(at, def.SlotSize));
        if (def.DataType == ftString) {
            // A driver that keeps longer texts than the column holds (SQLite) hands them cut to the buffer.
            text.resize(vx::utf8::OffsetOfChar(text, static_cast<std::size_t>(std::max(def.Size, 0))));
            text.erase(text.find_last_not_of(' ') + 1);
        }
        value = std::move(text);
        return true;
    }
    case SQL_C_SSHORT: value = std::int64_t{load<SQLSMALLINT>(at)}; return true;
    case SQL_C_SLONG: value = std::int64_t{load<SQLINTEGER>(at)}; return true;
    case SQL_C_SBIGINT: value = std::int64_t{load<SQLBIGINT>(at)}; return true;
    case SQL_C_BIT: value = load<unsigned char>(at) != 0; return true;
    case SQL_C_DOUBLE: value = load<double>(at); return true;
    case SQL_C_TYPE_DATE: value = DateStructToDateTime(load<SQL_DATE_STRUCT>(at)); return true;
    case SQL_C_TYPE_TIME: value = TimeStructToDateTime(load<SQL_TIME_STRUCT>(at)); return true;
    case SQL_C_TYPE_TIMESTAMP: value = TimestampStructToDateTime(load<SQL_TIMESTAMP_STRUCT>(at)); return true;
    default: throw EDatabaseError(TMessage(UnsupportedField, {field.FieldName()}));
    }
}
