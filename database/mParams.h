// The named parameters of a query: their types and values, their binary forms
// for binding, and the stored "Data" form of the whole list (versions 1 and 2).
#pragma once

#include "database/DbDates.h"
#include "database/DbTypes.h"
#include "platform/TStringList.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TField;
class TmParams;

enum TParamType : std::uint8_t { ptUnknown, ptInput, ptOutput, ptInputOutput, ptResult };

class TmParam {
public:
    explicit TmParam(TmParams* owner = nullptr, const std::string& name = {}, TFieldType dataType = ftUnknown,
                     TParamType paramType = ptUnknown);

    std::string Name;
    TFieldType DataType = ftUnknown;
    TParamType ParamType = ptUnknown;
    bool Bound = false;
    // A memo whose value is the bytes of a binary column: bound as bytes, not as text.
    bool Binary = false;

    const TVariant& Value() const { return value_; }
    void SetValue(const TVariant& value);
    bool IsNull() const { return isNull_; }

    void SetAsBoolean(bool v);
    void SetAsFloat(double v);
    void SetAsCurrency(double v);
    void SetAsInteger(std::int32_t v);
    void SetAsLargeInt(std::int64_t v);
    void SetAsWord(std::uint16_t v);
    void SetAsSmallInt(std::int16_t v);
    void SetAsString(const std::string& v);
    void SetAsDate(TDateTime v);
    void SetAsTime(TDateTime v);
    void SetAsDateTime(TDateTime v);
    void SetAsMemo(const std::string& v);
    void SetAsBlob(const std::string& bytes);

    std::string AsString() const { return VarToStr(value_); }
    std::int64_t AsInteger() const { return VarToInt(value_); }
    double AsFloat() const { return VarToFloat(value_); }
    bool AsBoolean() const { return VarToBool(value_); }
    // 0 when null.
    TDateTime AsDateTime() const;

    void Clear();
    void Assign(const TmParam& source);
    void Assign(const TStringList& lines);
    // A picture saved to a memory stream: its bytes, type ftGraphic.
    void AssignGraphic(const std::string& savedPicture);
    // The field's type, null state or value in the dataset's present state; bound. A memo
    // longer than 255 bytes becomes a string, and a large integer an exact decimal (ftBCD).
    void AssignField(const TField& field);
    void AssignTo(TField& field) const;

    // Size and bytes of the value's binary form.
    std::size_t GetDataSize() const;
    std::string GetData() const;
    // Takes the value from a binary form of the data type.
    void SetData(std::string_view bytes);

    bool operator==(const TmParam& other) const;

private:
    void setTyped(TFieldType type, TVariant value);

    TmParams* owner_ = nullptr;
    TVariant value_;
    bool isNull_ = true;
};

class TmParams {
public:
    TmParams() = default;
    TmParams(const TmParams& other) { Assign(other); }
    TmParams& operator=(const TmParams& other)
    {
        if (this != &other)
            Assign(other);
        return *this;
    }

    int Count() const { return static_cast<int>(items_.size()); }
    TmParam& operator[](int index) { return *items_.at(static_cast<size_t>(index)); }
    const TmParam& operator[](int index) const { return *items_.at(static_cast<size_t>(index)); }
    // Case-insensitive; raises EDatabaseError "Parameter '<name>' not found".
    TmParam& ParamByName(const std::string& name);
    TmParam* FindParam(const std::string& name);
    TmParam& CreateParam(const std::string& name, TFieldType dataType, TParamType paramType);
    void Assign(const TmParams& source);
    // Each own parameter takes the first one of source with exactly its name.
    void AssignValues(const TmParams& source);
    bool operator==(const TmParams& other) const;
    void Clear() { items_.clear(); }

    // The stored "Data" form: version 1 (16-bit counts and lengths) unless asked for 2.
    std::string WriteBinaryData(int version = 1) const;
    // Replaces the list by a stored form of version 1 or 2; every count and
    // length is checked against the bytes that remain.
    void ReadBinaryData(std::string_view data);
    // Whether the stored form is written: when differing from the ancestor, or
    // without one when the list holds parameters.
    bool WritesData(const TmParams* ancestor) const;

private:
    std::vector<std::unique_ptr<TmParam>> items_;
};

// The largest value the stored form holds.
inline constexpr std::size_t kMaxStoredParamData = 2048;
