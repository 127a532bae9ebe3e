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
// A field holds a column's value, or one the OnCalcFields event computes for each record.
enum TFieldKind { fkData, fkCalculated };
// What an OnPostError or OnDeleteError handler decides: raise the error, end silently, or try again.
enum TDataAction { daFail, daAbort, daRetry };
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
    // The column holds bytes, not text.
    bool Binary = false;
};

class TField {
public:
    // A data field for a column of the result.
    TField(TDataSet* dataSet, const TFieldDef& def);
    // A field the program defines before the dataset opens (calculated, or data matched to a column by name).
    TField(TDataSet* dataSet, const std::string& name, TFieldType type, TFieldKind kind, int size);

    TDataSet* DataSet() const { return dataSet_; }
    const std::string& FieldName() const { return name_; }
    const std::string& DisplayName() const { return name_; }
    TFieldType DataType() const { return type_; }
    int Size() const { return size_; }
    // The column number, counted from 1; below 1 for a calculated field.
    int FieldNo() const { return fieldNo_; }
    int Index() const;
    TFieldKind FieldKind() const { return kind_; }
    bool Calculated() const { return kind_ == fkCalculated; }
    bool Binary() const { return binary_; }
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
    friend class TDataSet;
    TVariant valueIn(TDataSetState state) const;

    TDataSet* dataSet_;
    std::string name_;
    TFieldType type_;
    int size_;
    int fieldNo_;
    TFieldKind kind_ = fkData;
    bool binary_ = false;
    // Made by the program rather than for the columns of one opening.
    bool persistent_ = false;
    // A calculated field's place in the record's calculated values.
    std::size_t calcIndex_ = 0;
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
    // One value per calculated field; empty for none.
    std::vector<TVariant> calc;
    std::int32_t rowNumber = -1;
    std::uint8_t updateStatus = 0;
    TBookmarkFlag bookmarkFlag = bfCurrent;
};

class TDataSet {
public:
    using TDataSetNotifyEvent = std::function<void(TDataSet* dataSet)>;
    using TFilterRecordEvent = std::function<void(TDataSet* dataSet, bool& accept)>;
    // action starts as daFail.
    using TDataSetErrorEvent = std::function<void(TDataSet* dataSet, const Exception& error, TDataAction& action)>;

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
    // Defines a field while the dataset is closed. Once the dataset has such fields
    // it shows only them: data fields take the column of their name.
    TField& AddField(const std::string& name, TFieldType type, TFieldKind kind = fkData, int size = 0);
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField& Fields(int index) { return *fields_.at(static_cast<size_t>(index)); }
    TField* FindField(const std::string& name) const;
    // Raises EDatabaseError "Field '<name>' not found".
    TField& FieldByName(const std::string& name) const;
    TFieldDef* FindFieldDef(const std::string& name) const;

    void DisableControls() { ++disableCount_; }
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    // Scroll events are not sent while controls are disabled: such walks over the
    // rows (counting them, filling a view) put the dataset back where it was.
    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose, BeforeInsert, AfterInsert, BeforeEdit,
        AfterEdit, BeforePost, AfterPost, BeforeCancel, AfterCancel, BeforeDelete, AfterDelete, BeforeScroll,
        AfterScroll, OnNewRecord, OnCalcFields;
    TFilterRecordEvent OnFilterRecord;
    // A failed post or delete: the handler may fix the record and ask for another try.
    TDataSetErrorEvent OnPostError, OnDeleteError;
    // Calculated fields are computed again whenever a data field of the record being edited changes.
    bool AutoCalcFields = true;

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
    // Empties buffer's calculated values and lets OnCalcFields fill them.
    void CalculateFields(TRecordBuffer& buffer);
    std::size_t CalcFieldCount() const { return calcCount_; }
    // A calculated field's value in the record of the current state (read in browse,
    // edit, insert and calculation states only), and writing it.
    bool GetCalcFieldData(const TField& field, TVariant& value);
    void SetCalcFieldData(const TField& field, const TVariant* value);
    // Field-change and record-change notices to the links.
    void DataEvent(TField* field);
    // The default fields for the field definitions, or the defined fields matched to them.
    void CreateFields();
    void DestroyFields();
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
    void fire(const TDataSetNotifyEvent& event);
    void fireScroll(const TDataSetNotifyEvent& event);
    // Runs operation; a failure goes to the error event, which may retry it or end it silently.
    void checkOperation(void (TDataSet::*operation)(), const TDataSetErrorEvent& onError);
    void readFirst();
    // One row forward or back without scroll events; false at the end.
    bool stepNext();
    bool stepPrior();

    std::vector<std::unique_ptr<TFieldDef>> fieldDefs_;
    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<TDataSource*> sources_;
    TRecordBuffer active_;
    std::unique_ptr<TRecordBuffer> oldValues_;
    // The record to go back to when an edit or insert is cancelled.
    std::unique_ptr<TRecordBuffer> restore_;
    TRecordBuffer* filterBuffer_ = nullptr;
    TRecordBuffer* calcBuffer_ = nullptr;
    std::size_t calcCount_ = 0;
    TDataSetState state_ = dsInactive;
    bool eof_ = true;
    bool bof_ = true;
    bool hasRecord_ = false;
    int disableCount_ = 0;
};
