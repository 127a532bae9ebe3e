// The least of the class library's data-access framework that the ODBC
// datasets need: field definitions and fields, a dataset with one active record
// buffer, its browse, edit and insert states, bookmarks and Locate, and data
// links through a data source. A descendant supplies the record buffers and the
// cursor through the protected virtual operations.
#pragma once

#include "database/DbDates.h"
#include "database/DbTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDataSet;
class TDataSource;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter, dsNewValue,
                     dsOldValue, dsCurValue, dsInternalCalc };
enum TGetMode { gmCurrent, gmNext, gmPrior };
enum TGetResult { grOK, grBOF, grEOF, grError };
enum TBookmarkFlag : std::uint8_t { bfCurrent, bfBOF, bfEOF, bfInserted };
enum TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = unsigned;
using TBookmark = std::string;

class TFieldDef {
public:
    virtual ~TFieldDef() = default;
    std::string Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    int Precision = 0;
    bool Required = false;
    int FieldNo = 0;
};

class TField {
public:
    TField(TDataSet* dataSet, const TFieldDef& def);

    TDataSet* DataSet() const { return dataSet_; }
    const std::string& FieldName() const { return name_; }
    const std::string& DisplayName() const { return name_; }
    TFieldType DataType() const { return type_; }
    int Size() const { return size_; }
    int FieldNo() const { return fieldNo_; }
    int Index() const;
    bool ReadOnly = false;
    bool Required = false;
    bool IsBlob() const { return type_ == ftMemo || type_ == ftBlob; }

    // The value of the record the dataset's state selects.
    bool IsNull() const;
    TVariant Value() const;
    std::string AsString() const;
    std::int64_t AsInteger() const { return VarToInt(Value()); }
    double AsFloat() const { return VarToFloat(Value()); }
    bool AsBoolean() const { return VarToBool(Value()); }
    TDateTime AsDateTime() const { return VarToFloat(Value()); }
    // The value before the current edit began.
    TVariant OldValue() const;

    // Writes into the active record; only in edit or insert state.
    void SetValue(const TVariant& value);
    void SetAsString(const std::string& v);
    void SetAsInteger(std::int64_t v) { SetValue(v); }
    void SetAsFloat(double v) { SetValue(v); }
    void SetAsBoolean(bool v) { SetValue(v); }
    void SetAsDateTime(TDateTime v) { SetValue(v); }
    void Clear();

    std::function<void(TField* sender)> OnValidate;

private:
    TVariant valueIn(TDataSetState state) const;

    TDataSet* dataSet_;
    std::string name_;
    TFieldType type_;
    int size_;
    int fieldNo_;
};

class TDataLink {
public:
    TDataLink() = default;
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;
    virtual ~TDataLink();

    TDataSource* DataSource() const { return source_; }
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    bool Active() const;

    virtual void ActiveChanged() {}
    // field: the field that changed, or null for a change of record.
    virtual void RecordChanged(TField* field) {}
    // A change of the whole dataset is a change of record to a link that does not say otherwise.
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void EditingChanged() {}
    virtual void CheckBrowseMode() {}

private:
    friend class TDataSource;
    TDataSource* source_ = nullptr;
};

class TDataSource {
public:
    TDataSource() = default;
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;
    ~TDataSource();

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);
    const std::vector<TDataLink*>& Links() const { return links_; }

private:
    friend class TDataLink;
    friend class TDataSet;
    TDataSet* dataSet_ = nullptr;
    std::vector<TDataLink*> links_;
};

// One record as the dataset's descendant lays it out.
struct TLongValue {
    std::string bytes;
    bool null = true;
};
struct TRecordBuffer {
    std::vector<char> data;
    std::vector<TLongValue> longs;
    std::int32_t rowNumber = -1;
    std::uint8_t updateStatus = 0;
    TBookmarkFlag bookmarkFlag = bfCurrent;
};

class TDataSet {
public:
    using TDataSetNotifyEvent = std::function<void(TDataSet* dataSet)>;
    using TFilterRecordEvent = std::function<void(TDataSet* dataSet, bool& accept)>;

    TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;
    virtual ~TDataSet();

    bool Active() const { return state_ != dsInactive; }
    void SetActive(bool active);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    TDataSetState State() const { return state_; }

    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    bool IsEmpty() const { return !hasRecord_; }
    int RecordCount() { return GetRecordCount(); }
    int RecNo() const { return GetRecNo(); }

    TBookmark GetBookmark() const;
    void GotoBookmark(const TBookmark& bookmark);
    bool CanModify() const { return GetCanModify(); }

    void Edit();
    void Insert();
    void Append() { Insert(); }
    void Post();
    void Cancel();
    void Delete();
    void CheckBrowseMode();
    virtual bool Locate(const std::string& keyFields, const std::vector<TVariant>& keyValues,
                        TLocateOptions options);

    std::vector<std::unique_ptr<TFieldDef>>& FieldDefs() { return fieldDefs_; }
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField& Fields(int index) { return *fields_.at(static_cast<size_t>(index)); }
    TField* FindField(const std::string& name) const;
    // Raises EDatabaseError "Field '<name>' not found".
    TField& FieldByName(const std::string& name) const;
    TFieldDef* FindFieldDef(const std::string& name) const;

    void DisableControls() { ++disableCount_; }
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose, BeforePost, AfterPost, AfterScroll,
        OnNewRecord;
    TFilterRecordEvent OnFilterRecord;

    // Reading and writing field values, as TField does it.
    virtual bool GetFieldData(const TField& field, TVariant& value) = 0;
    virtual void SetFieldData(TField& field, const TVariant* value) = 0;
    // The record the current state reads from; null when there is none.
    TRecordBuffer* StateBuffer();
    TRecordBuffer* ActiveBuffer() { return hasRecord_ || state_ == dsInsert ? &active_ : nullptr; }
    TRecordBuffer* OldValuesBuffer() { return oldValues_.get(); }
    // Runs read with the state set to state for its duration.
    void WithState(TDataSetState state, const std::function<void()>& run);

protected:
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual TRecordBuffer AllocRecordBuffer() = 0;
    virtual void InternalInitRecord(TRecordBuffer& buffer) = 0;
    virtual TGetResult GetRecord(TRecordBuffer& buffer, TGetMode mode) = 0;
    virtual void InternalFirst() = 0;
    virtual void InternalLast() = 0;
    virtual void InternalGotoBookmark(const TBookmark& bookmark) = 0;
    virtual TBookmark GetBookmarkData(const TRecordBuffer& buffer) const = 0;
    virtual int GetRecordCount();
    virtual int GetRecNo() const { return -1; }
    virtual bool GetCanModify() const { return false; }
    virtual void InternalEdit() {}
    virtual void InternalPost() = 0;
    virtual void InternalDelete() = 0;
    virtual void InternalCancel() {}
    virtual void DoAfterCancel() {}

    // Offers a fetched row to OnFilterRecord; false when the filter rejects it.
    bool FilterAccepts(TRecordBuffer& buffer);
    // Field-change and record-change notices to the links.
    void DataEvent(TField* field);
    void CreateFields();
    void DestroyFields() { fields_.clear(); }
    void CheckActive() const;
    void SetState(TDataSetState state);
    void FreeOldValues() { oldValues_.reset(); }
    void SetOldValues(const TRecordBuffer& copy) { oldValues_ = std::make_unique<TRecordBuffer>(copy); }
    void ClearBuffers();

private:
    friend class TDataSource;
    // Re-reads the row under the cursor after an edit, a delete or a cancel.
    void resync();
    void notify(void (TDataLink::*event)());
    void changed();

    std::vector<std::unique_ptr<TFieldDef>> fieldDefs_;
    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<TDataSource*> sources_;
    TRecordBuffer active_;
    std::unique_ptr<TRecordBuffer> oldValues_;
    // The record to go back to when an edit or insert is cancelled.
    std::unique_ptr<TRecordBuffer> restore_;
    TRecordBuffer* filterBuffer_ = nullptr;
    TDataSetState state_ = dsInactive;
    bool eof_ = true;
    bool bof_ = true;
    bool hasRecord_ = false;
    int disableCount_ = 0;
};
