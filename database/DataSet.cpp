#include "database/DataSet.h"

#include "platform/TStringList.h"

#include <algorithm>

namespace {

const TWording DataSetClosed{"Cannot perform this operation on a closed dataset"};
const TWording DuplicateField{"Duplicate field name '%1'"};
const TWording FieldNotFound{"Field '%1' not found"};
const TWording TypeMismatch{"Type mismatch for field '%1'"};
const TWording ReadOnlyDataSet{"Cannot modify a read-only dataset"};
const TWording DataSetEmpty{"Cannot perform this operation on an empty dataset"};
const TWording KeyCount{"Locate: one key value is needed per key field"};

} // namespace

// --- TField

TField::TField(TDataSet* dataSet, const TFieldDef& def)
    : Required(def.Required), dataSet_(dataSet), name_(def.Name), type_(def.DataType), size_(def.Size),
      fieldNo_(def.FieldNo), binary_(def.Binary)
{
}

TField::TField(TDataSet* dataSet, const std::string& name, TFieldType type, TFieldKind kind, int size)
    : dataSet_(dataSet), name_(name), type_(type), size_(size), fieldNo_(kind == fkCalculated ? -1 : 0), kind_(kind),
      persistent_(true)
{
}

int TField::Index() const
{
    for (int i = 0; i < dataSet_->FieldCount(); ++i)
        if (&dataSet_->Fields(i) == this)
            return i;
    return -1;
}

TVariant TField::valueIn(TDataSetState state) const
{
    TVariant value;
    dataSet_->WithState(state, [&] { dataSet_->GetFieldData(*this, value); });
    return value;
}

bool TField::IsNull() const
{
    TVariant value;
    return !dataSet_->GetFieldData(*this, value);
}

TVariant TField::Value() const
{
    TVariant value;
    if (!dataSet_->GetFieldData(*this, value))
        return {};
    return value;
}

std::string TField::AsString() const
{
    return VarToStr(Value());
}

TVariant TField::OldValue() const
{
    return valueIn(dsOldValue);
}

void TField::SetValue(const TVariant& value)
{
    if (VarIsEmpty(value)) {
        Clear();
        return;
    }
    if (OnValidate)
        OnValidate(this);
    dataSet_->SetFieldData(*this, &value);
}

void TField::SetAsString(const std::string& v)
{
    switch (type_) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint: SetValue(v.empty() ? TVariant{} : TVariant{VarToInt(v)}); break;
    case ftFloat:
    case ftCurrency:
    case ftDate:
    case ftTime:
    case ftDateTime: SetValue(v.empty() ? TVariant{} : TVariant{VarToFloat(v)}); break;
    case ftBoolean: SetValue(v.empty() ? TVariant{} : TVariant{VarToBool(v)}); break;
    default: SetValue(v); break;
    }
}

void TField::Clear()
{
    dataSet_->SetFieldData(*this, nullptr);
}

// --- TDataLink and TDataSource

TDataLink::~TDataLink()
{
    SetDataSource(nullptr);
}

void TDataLink::SetDataSource(TDataSource* source)
{
    if (source_ == source)
        return;
    if (source_) {
        auto& links = source_->links_;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    source_ = source;
    if (source_)
        source_->links_.push_back(this);
    ActiveChanged();
}

TDataSet* TDataLink::DataSet() const
{
    return source_ ? source_->DataSet() : nullptr;
}

bool TDataLink::Active() const
{
    return DataSet() && DataSet()->Active();
}

TDataSource::~TDataSource()
{
    SetDataSet(nullptr);
    for (TDataLink* link : std::vector<TDataLink*>(links_))
        link->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet_ == dataSet)
        return;
    if (dataSet_) {
        auto& sources = dataSet_->sources_;
        sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
    }
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->sources_.push_back(this);
    for (TDataLink* link : std::vector<TDataLink*>(links_))
        link->ActiveChanged();
}

// --- TDataSet

TDataSet::TDataSet() = default;

TDataSet::~TDataSet()
{
    for (TDataSource* source : std::vector<TDataSource*>(sources_))
        source->SetDataSet(nullptr);
}

void TDataSet::notify(void (TDataLink::*event)())
{
    if (ControlsDisabled())
        return;
    for (TDataSource* source : std::vector<TDataSource*>(sources_))
        for (TDataLink* link : std::vector<TDataLink*>(source->links_))
            (link->*event)();
}

void TDataSet::changed()
{
    notify(&TDataLink::DataSetChanged);
}

void TDataSet::fire(const TDataSetNotifyEvent& event)
{
    if (event)
        event(this);
}

void TDataSet::fireScroll(const TDataSetNotifyEvent& event)
{
    if (!ControlsDisabled())
        fire(event);
}

void TDataSet::checkOperation(void (TDataSet::*operation)(), const TDataSetErrorEvent& onError)
{
    for (;;) {
        try {
            (this->*operation)();
            return;
        } catch (const EAbort&) {
            throw;
        } catch (const Exception& e) {
            TDataAction action = daFail;
            if (onError)
                onError(this, e, action);
            if (action == daFail)
                throw;
            if (action == daAbort)
                throw EAbort("Operation aborted");
        }
    }
}

void TDataSet::DataEvent(TField* field)
{
    // A changed data field of the record being edited computes the calculated fields again.
    if (field && !field->Calculated() && AutoCalcFields && (state_ == dsEdit || state_ == dsInsert))
        CalculateFields(active_);
    if (ControlsDisabled())
        return;
    for (TDataSource* source : std::vector<TDataSource*>(sources_))
        for (TDataLink* link : std::vector<TDataLink*>(source->links_))
            link->RecordChanged(field);
}

void TDataSet::EnableControls()
{
    if (disableCount_ > 0 && --disableCount_ == 0)
        notify(&TDataLink::DataSetChanged);
}

void TDataSet::CheckActive() const
{
    if (!Active())
        throw EDatabaseError(TMessage(DataSetClosed, {}));
}

void TDataSet::SetState(TDataSetState state)
{
    if (state_ == state)
        return;
    state_ = state;
    notify(&TDataLink::EditingChanged);
}

void TDataSet::ClearBuffers()
{
    hasRecord_ = false;
    eof_ = bof_ = true;
}

void TDataSet::WithState(TDataSetState state, const std::function<void()>& run)
{
    TDataSetState saved = state_;
    state_ = state;
    try {
        run();
    } catch (...) {
        state_ = saved;
        throw;
    }
    state_ = saved;
}

TRecordBuffer* TDataSet::StateBuffer()
{
    switch (state_) {
    case dsFilter: return filterBuffer_;
    case dsCalcFields: return calcBuffer_ ? calcBuffer_ : ActiveBuffer();
    case dsOldValue: return oldValues_ ? oldValues_.get() : ActiveBuffer();
    case dsInactive: return nullptr;
    default: return ActiveBuffer();
    }
}

bool TDataSet::FilterAccepts(TRecordBuffer& buffer)
{
    if (!OnFilterRecord)
        return true;
    bool accept = true;
    TRecordBuffer* saved = filterBuffer_;
    filterBuffer_ = &buffer;
    WithState(dsFilter, [&] { OnFilterRecord(this, accept); });
    filterBuffer_ = saved;
    return accept;
}

void TDataSet::CalculateFields(TRecordBuffer& buffer)
{
    if (calcCount_ == 0)
        return;
    buffer.calc.assign(calcCount_, TVariant{});
    if (!OnCalcFields)
        return;
    TRecordBuffer* saved = calcBuffer_;
    calcBuffer_ = &buffer;
    try {
        WithState(dsCalcFields, [&] { OnCalcFields(this); });
    } catch (...) {
        calcBuffer_ = saved;
        throw;
    }
    calcBuffer_ = saved;
}

bool TDataSet::GetCalcFieldData(const TField& field, TVariant& value)
{
    if (state_ != dsBrowse && state_ != dsEdit && state_ != dsInsert && state_ != dsCalcFields)
        return false;
    TRecordBuffer* buffer = StateBuffer();
    if (!buffer || field.calcIndex_ >= buffer->calc.size() || VarIsEmpty(buffer->calc[field.calcIndex_]))
        return false;
    value = buffer->calc[field.calcIndex_];
    return true;
}

void TDataSet::SetCalcFieldData(const TField& field, const TVariant* value)
{
    TRecordBuffer* buffer = StateBuffer();
    if (!buffer)
        throw EDatabaseError(TMessage(NotEditing, {}));
    if (buffer->calc.size() < calcCount_)
        buffer->calc.resize(calcCount_);
    buffer->calc.at(field.calcIndex_) = value ? *value : TVariant{};
}

TField& TDataSet::AddField(const std::string& name, TFieldType type, TFieldKind kind, int size)
{
    if (Active())
        throw EDatabaseError(TMessage(DataSetOpen, {}));
    if (FindField(name))
        throw EDatabaseError(TMessage(DuplicateField, {name}));
    fields_.push_back(std::make_unique<TField>(this, name, type, kind, size));
    return *fields_.back();
}

void TDataSet::CreateFields()
{
    bool defined = std::any_of(fields_.begin(), fields_.end(), [](const auto& field) { return field->persistent_; });
    if (!defined) {
        fields_.clear();
        for (const auto& def : fieldDefs_)
            fields_.push_back(std::make_unique<TField>(this, *def));
    }
    calcCount_ = 0;
    for (const auto& field : fields_) {
        if (field->Calculated()) {
            field->calcIndex_ = calcCount_++;
            continue;
        }
        if (!defined)
            continue;
        const TFieldDef* def = FindFieldDef(field->name_);
        if (!def)
            throw EDatabaseError(TMessage(FieldNotFound, {field->name_}));
        if (def->DataType != field->type_)
            throw EDatabaseError(TMessage(TypeMismatch, {field->name_}));
        field->fieldNo_ = def->FieldNo;
        field->size_ = def->Size;
        field->binary_ = def->Binary;
        field->Required = def->Required;
    }
}

void TDataSet::DestroyFields()
{
    fields_.erase(std::remove_if(fields_.begin(), fields_.end(), [](const auto& field) { return !field->persistent_; }),
                  fields_.end());
    calcCount_ = 0;
}

TField* TDataSet::FindField(const std::string& name) const
{
    for (const auto& field : fields_)
        if (SameText(field->FieldName(), name))
            return field.get();
    return nullptr;
}

TField& TDataSet::FieldByName(const std::string& name) const
{
    if (TField* field = FindField(name))
        return *field;
    throw EDatabaseError(TMessage(FieldNotFound, {name}));
}

TFieldDef* TDataSet::FindFieldDef(const std::string& name) const
{
    for (const auto& def : fieldDefs_)
        if (SameText(def->Name, name))
            return def.get();
    return nullptr;
}

void TDataSet::SetActive(bool active)
{
    if (active == Active())
        return;
    if (active) {
        fire(BeforeOpen);
        try {
            InternalOpen();
            active_ = AllocRecordBuffer();
            state_ = dsBrowse;
            readFirst();
        } catch (...) {
            state_ = dsInactive;
            InternalClose();
            throw;
        }
        notify(&TDataLink::ActiveChanged);
        fire(AfterOpen);
        if (hasRecord_)
            fireScroll(AfterScroll);
    } else {
        fire(BeforeClose);
        FreeOldValues();
        restore_.reset();
        state_ = dsInactive;
        ClearBuffers();
        InternalClose();
        notify(&TDataLink::ActiveChanged);
        fire(AfterClose);
    }
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    if (state_ == dsEdit || state_ == dsInsert)
        Post();
}

void TDataSet::readFirst()
{
    InternalFirst();
    hasRecord_ = GetRecord(active_, gmNext) == grOK;
    bof_ = true;
    eof_ = !hasRecord_;
}

void TDataSet::First()
{
    CheckBrowseMode();
    fireScroll(BeforeScroll);
    readFirst();
    changed();
    fireScroll(AfterScroll);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    fireScroll(BeforeScroll);
    InternalLast();
    hasRecord_ = GetRecord(active_, gmPrior) == grOK;
    eof_ = true;
    bof_ = !hasRecord_;
    changed();
    fireScroll(AfterScroll);
}

bool TDataSet::stepNext()
{
    TRecordBuffer next = AllocRecordBuffer();
    if (GetRecord(next, gmNext) == grOK) {
        active_ = std::move(next);
        bof_ = false;
        return true;
    }
    // The cursor went past the end: put it back on the active row.
    GetRecord(next, gmPrior);
    eof_ = true;
    return false;
}

bool TDataSet::stepPrior()
{
    TRecordBuffer prior = AllocRecordBuffer();
    if (GetRecord(prior, gmPrior) == grOK) {
        active_ = std::move(prior);
        eof_ = false;
        return true;
    }
    GetRecord(prior, gmNext);
    bof_ = true;
    return false;
}

void TDataSet::Next()
{
    MoveBy(1);
}

void TDataSet::Prior()
{
    MoveBy(-1);
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    fireScroll(BeforeScroll);
    if (!hasRecord_ || (distance > 0 && eof_) || (distance < 0 && bof_))
        return 0;
    int moved = 0;
    for (; distance > 0 && stepNext(); --distance)
        ++moved;
    for (; distance < 0 && stepPrior(); ++distance)
        --moved;
    if (moved != 0)
        changed();
    fireScroll(AfterScroll);
    return moved;
}

int TDataSet::GetRecordCount()
{
    CheckActive();
    if (!hasRecord_)
        return 0;
    TBookmark here = GetBookmark();
    int count = 0;
    DisableControls();
    try {
        First();
        while (!eof_) {
            ++count;
            Next();
        }
        GotoBookmark(here);
    } catch (...) {
        EnableControls();
        throw;
    }
    --disableCount_;
    return count;
}

TBookmark TDataSet::GetBookmark() const
{
    if (!hasRecord_ || state_ != dsBrowse)
        return {};
    return GetBookmarkData(active_);
}

void TDataSet::GotoBookmark(const TBookmark& bookmark)
{
    CheckBrowseMode();
    if (bookmark.empty())
        return;
    fireScroll(BeforeScroll);
    InternalGotoBookmark(bookmark);
    TRecordBuffer row = AllocRecordBuffer();
    if (GetRecord(row, gmCurrent) == grOK) {
        active_ = std::move(row);
        hasRecord_ = true;
        bof_ = eof_ = false;
    }
    changed();
    fireScroll(AfterScroll);
}

void TDataSet::resync()
{
    TRecordBuffer row = AllocRecordBuffer();
    if (GetRecord(row, gmCurrent) == grOK) {
        active_ = std::move(row);
        hasRecord_ = true;
        bof_ = eof_ = false;
    } else if (GetRecord(row, gmPrior) == grOK) {
        active_ = std::move(row);
        hasRecord_ = true;
        bof_ = false;
        eof_ = true;
    } else {
        hasRecord_ = false;
        bof_ = eof_ = true;
    }
}

void TDataSet::Edit()
{
    CheckActive();
    if (state_ == dsEdit || state_ == dsInsert)
        return;
    if (!hasRecord_) {
        Insert();
        return;
    }
    if (!CanModify())
        throw EDatabaseError(TMessage(ReadOnlyDataSet, {}));
    fire(BeforeEdit);
    restore_ = std::make_unique<TRecordBuffer>(active_);
    InternalEdit();
    CalculateFields(active_);
    SetState(dsEdit);
    DataEvent(nullptr);
    fire(AfterEdit);
}

void TDataSet::Insert()
{
    CheckBrowseMode();
    if (!CanModify())
        throw EDatabaseError(TMessage(ReadOnlyDataSet, {}));
    fire(BeforeInsert);
    fireScroll(BeforeScroll);
    restore_ = std::make_unique<TRecordBuffer>(active_);
    TRecordBuffer fresh = AllocRecordBuffer();
    InternalInitRecord(fresh);
    fresh.calc.assign(calcCount_, TVariant{});
    active_ = std::move(fresh);
    SetState(dsInsert);
    fire(OnNewRecord);
    DataEvent(nullptr);
    fire(AfterInsert);
    fireScroll(AfterScroll);
}

void TDataSet::Post()
{
    CheckActive();
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    fire(BeforePost);
    bool inserting = state_ == dsInsert;
    checkOperation(&TDataSet::InternalPost, OnPostError);
    FreeOldValues();
    restore_.reset();
    SetState(dsBrowse);
    if (inserting)
        resync();
    else
        hasRecord_ = true;
    changed();
    fire(AfterPost);
}

void TDataSet::Cancel()
{
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    fire(BeforeCancel);
    bool inserting = state_ == dsInsert;
    InternalCancel();
    if (restore_)
        active_ = std::move(*restore_);
    restore_.reset();
    FreeOldValues();
    SetState(dsBrowse);
    if (inserting && !hasRecord_)
        ClearBuffers();
    changed();
    DoAfterCancel();
    fire(AfterCancel);
}

void TDataSet::Delete()
{
    CheckActive();
    if (state_ == dsInsert) {
        Cancel();
        return;
    }
    if (!hasRecord_)
        throw EDatabaseError(TMessage(DataSetEmpty, {}));
    if (!CanModify())
        throw EDatabaseError(TMessage(ReadOnlyDataSet, {}));
    CheckBrowseMode();
    fire(BeforeDelete);
    fireScroll(BeforeScroll);
    checkOperation(&TDataSet::InternalDelete, OnDeleteError);
    resync();
    changed();
    fire(AfterDelete);
    fireScroll(AfterScroll);
}

namespace {

std::vector<std::string> splitFieldNames(const std::string& names)
{
    std::vector<std::string> out;
    std::string current;
    for (char c : names) {
        if (c == ';') {
            out.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    out.push_back(current);
    return out;
}

std::string upper(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool sameValue(const TField& field, const TVariant& key, TLocateOptions options)
{
    if (field.IsNull() || VarIsEmpty(key))
        return field.IsNull() && VarIsEmpty(key);
    if (field.DataType() == ftString || field.DataType() == ftMemo || field.DataType() == ftBCD ||
        field.DataType() == ftFixedChar) {
        std::string text = field.AsString();
        std::string wanted = VarToStr(key);
        if (!(options & loCaseInsensitive)) {
            text = upper(text);
            wanted = upper(wanted);
        }
        if (options & loPartialKey)
            return text.find(wanted) != std::string::npos;
        return text == wanted;
    }
    try {
        if (field.DataType() == ftLargeint || field.DataType() == ftInteger || field.DataType() == ftSmallint)
            return field.AsInteger() == VarToInt(key);
        if (field.DataType() == ftBoolean)
            return field.AsBoolean() == VarToBool(key);
        return field.AsFloat() == VarToFloat(key);
    } catch (const EConvertError&) {
        return false;
    }
}

} // namespace

bool TDataSet::Locate(const std::string& keyFields, const std::vector<TVariant>& keyValues, TLocateOptions options)
{
    CheckBrowseMode();
    std::vector<TField*> fields;
    for (const std::string& name : splitFieldNames(keyFields))
        fields.push_back(&FieldByName(name));
    if (keyValues.size() != fields.size())
        throw EDatabaseError(TMessage(KeyCount, {}));
    fireScroll(BeforeScroll);
    DisableControls();
    bool found = false;
    try {
        First();
        while (!eof_ && !found) {
            found = true;
            for (size_t i = 0; i < fields.size() && found; ++i)
                found = sameValue(*fields[i], keyValues[i], options);
            if (!found)
                Next();
        }
    } catch (...) {
        EnableControls();
        throw;
    }
    EnableControls();
    if (found)
        fireScroll(AfterScroll);
    return found;
}
