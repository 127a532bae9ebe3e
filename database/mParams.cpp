#include "database/mParams.h"

#include "database/DataSet.h"
#include "platform/Exception.h"

#include <cmath>
#include <cstring>

namespace {

const TWording UnknownFieldType{"Field '%1' is of unknown type"};
const TWording ParamNotFound{"Parameter '%1' not found"};
const TWording ParamNameTooLong{"Parameter '%1', name too long to save"};
const TWording ParamDataTooLarge{"Parameter '%1', cannot save data larger than %2 bytes"};
const TWording CannotLoadParams{"Unable to load bind parameters"};

template <typename T>
void putLE(std::string& out, T value)
{
    using U = std::make_unsigned_t<T>;
    U u = static_cast<U>(value);
    for (size_t i = 0; i < sizeof(T); ++i)
        out += static_cast<char>((u >> (8 * i)) & 0xFF);
}

template <typename T>
T getLE(std::string_view bytes)
{
    using U = std::make_unsigned_t<T>;
    U u = 0;
    for (size_t i = 0; i < sizeof(T) && i < bytes.size(); ++i)
        u |= static_cast<U>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    return static_cast<T>(u);
}

std::string doubleBytes(double d)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof d);
    std::string out;
    putLE(out, bits);
    return out;
}

double bytesDouble(std::string_view bytes)
{
    std::uint64_t bits = getLE<std::uint64_t>(bytes);
    double d = 0;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

bool isRawType(TFieldType type)
{
    return type == ftBlob || type == ftGraphic || type == ftFmtMemo || type == ftParadoxOle ||
           type == ftDBaseOle || type == ftTypedBinary;
}

[[noreturn]] void typeError(TFieldType type, const std::string& name)
{
    if (type == ftUnknown)
        throw EDatabaseError(TMessage(UnknownFieldType, {name}));
    throw EDatabaseError(TMessage(UnsupportedField, {name}));
}

// A cursor over the stored form that never reads past its end.
class Reader {
public:
    explicit Reader(std::string_view data) : data_(data) {}
    std::string_view take(std::size_t n)
    {
        if (n > data_.size() - pos_)
            throw EReadError(TMessage(StreamReadError, {}));
        std::string_view out = data_.substr(pos_, n);
        pos_ += n;
        return out;
    }
    template <typename T>
    T number()
    {
        return getLE<T>(take(sizeof(T)));
    }
    // A count or length of 16 bits in version 1, 32 in version 2.
    std::size_t length(int version, bool shortInV1 = true)
    {
        if (version == 2)
            return number<std::uint32_t>();
        return shortInV1 ? number<std::uint16_t>() : number<std::uint8_t>();
    }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

} // namespace

// --- TmParam

TmParam::TmParam(TmParams* owner, const std::string& name, TFieldType dataType, TParamType paramType)
    : Name(name), DataType(dataType), ParamType(paramType), owner_(owner)
{
}

void TmParam::SetValue(const TVariant& value)
{
    value_ = value;
    isNull_ = VarIsEmpty(value);
    Bound = true;
}

void TmParam::setTyped(TFieldType type, TVariant value)
{
    DataType = type;
    Binary = false;
    value_ = std::move(value);
    Bound = true;
    isNull_ = false;
}

void TmParam::SetAsBoolean(bool v) { setTyped(ftBoolean, v); }
void TmParam::SetAsFloat(double v) { setTyped(ftFloat, v); }
void TmParam::SetAsCurrency(double v) { setTyped(ftCurrency, v); }
void TmParam::SetAsInteger(std::int32_t v) { setTyped(ftInteger, std::int64_t{v}); }
void TmParam::SetAsLargeInt(std::int64_t v) { setTyped(ftLargeint, v); }
void TmParam::SetAsWord(std::uint16_t v) { setTyped(ftWord, std::int64_t{v}); }
void TmParam::SetAsSmallInt(std::int16_t v) { setTyped(ftSmallint, std::int64_t{v}); }
void TmParam::SetAsString(const std::string& v) { setTyped(ftString, v); }
void TmParam::SetAsDate(TDateTime v) { setTyped(ftDate, v); }
void TmParam::SetAsTime(TDateTime v) { setTyped(ftTime, v); }
void TmParam::SetAsDateTime(TDateTime v) { setTyped(ftDateTime, v); }
void TmParam::SetAsMemo(const std::string& v) { setTyped(ftMemo, v); }
void TmParam::SetAsBlob(const std::string& bytes) { setTyped(ftBlob, bytes); }

TDateTime TmParam::AsDateTime() const
{
    return isNull_ ? 0.0 : VarToFloat(value_);
}

void TmParam::Clear()
{
    isNull_ = true;
    value_ = {};
}

void TmParam::Assign(const TmParam& source)
{
    if (&source == this)
        return;
    DataType = source.DataType;
    value_ = source.value_;
    isNull_ = source.isNull_;
    Bound = source.Bound;
    Binary = source.Binary;
    Name = source.Name;
    if (ParamType == ptUnknown)
        ParamType = source.ParamType;
}

void TmParam::Assign(const TStringList& lines)
{
    SetAsMemo(lines.Text());
}

void TmParam::AssignGraphic(const std::string& savedPicture)
{
    setTyped(ftGraphic, savedPicture);
}

void TmParam::AssignField(const TField& field)
{
    DataType = field.DataType();
    if (DataType == ftMemo && field.Size() > 255)
        DataType = ftString;
    // A large integer keeps every digit in a type the statement binds.
    if (DataType == ftLargeint)
        DataType = ftBCD;
    Binary = field.Binary();
    if (field.IsNull())
        Clear();
    else {
        value_ = field.Value();
        isNull_ = false;
    }
    Bound = true;
}

void TmParam::AssignTo(TField& field) const
{
    field.SetValue(isNull_ ? TVariant{} : value_);
}

std::size_t TmParam::GetDataSize() const
{
    return GetData().size();
}

std::string TmParam::GetData() const
{
    std::string out;
    switch (DataType) {
    case ftString:
    case ftMemo:
        out = VarToStr(value_);
        out += '\0';
        break;
    case ftSmallint:
    case ftWord: putLE(out, static_cast<std::int16_t>(VarToInt(value_))); break;
    case ftBoolean: putLE(out, static_cast<std::int16_t>(VarToBool(value_) ? -1 : 0)); break;
    case ftInteger:
    case ftAutoInc: putLE(out, static_cast<std::int32_t>(VarToInt(value_))); break;
    case ftLargeint: putLE(out, VarToInt(value_)); break;
    case ftDate: putLE(out, DateTimeToTimeStamp(VarToFloat(value_)).Date); break;
    case ftTime: putLE(out, DateTimeToTimeStamp(VarToFloat(value_)).Time); break;
    case ftFloat:
    case ftCurrency: out = doubleBytes(VarToFloat(value_)); break;
    case ftDateTime: out = doubleBytes(TimeStampToMSecs(DateTimeToTimeStamp(VarToFloat(value_)))); break;
    case ftCursor: break;
    default:
        if (!isRawType(DataType))
            typeError(DataType, Name);
        out = VarToStr(value_);
        break;
    }
    return out;
}

void TmParam::SetData(std::string_view bytes)
{
    auto need = [&](std::size_t n) {
        if (bytes.size() < n)
            throw EReadError(TMessage(StreamReadError, {}));
    };
    switch (DataType) {
    case ftString:
    case ftMemo: {
        std::string_view text = bytes.substr(0, bytes.find('\0'));
        value_ = std::string(text);
        break;
    }
    case ftSmallint: need(2); value_ = std::int64_t{getLE<std::int16_t>(bytes)}; break;
    case ftWord: need(2); value_ = std::int64_t{getLE<std::uint16_t>(bytes)}; break;
    case ftBoolean: need(2); value_ = getLE<std::int16_t>(bytes) != 0; break;
    case ftInteger:
    case ftAutoInc: need(4); value_ = std::int64_t{getLE<std::int32_t>(bytes)}; break;
    case ftLargeint: need(8); value_ = getLE<std::int64_t>(bytes); break;
    case ftFloat:
    case ftCurrency: need(8); value_ = bytesDouble(bytes); break;
    case ftDate: need(4); value_ = TimeStampToDateTime({0, getLE<std::int32_t>(bytes)}); break;
    case ftTime: need(4); value_ = TimeStampToDateTime({getLE<std::int32_t>(bytes), DateDelta}); break;
    case ftDateTime: {
        need(8);
        double msecs = bytesDouble(bytes);
        if (!std::isfinite(msecs) || std::fabs(msecs) > 1e15)
            throw EReadError(TMessage(StreamReadError, {}));
        value_ = TimeStampToDateTime(MSecsToTimeStamp(msecs));
        break;
    }
    case ftCursor: value_ = {}; break;
    default:
        if (!isRawType(DataType))
            typeError(DataType, Name);
        value_ = std::string(bytes);
        break;
    }
    isNull_ = false;
}

bool TmParam::operator==(const TmParam& other) const
{
    return value_ == other.value_ && Name == other.Name && DataType == other.DataType && isNull_ == other.isNull_ &&
           Bound == other.Bound && ParamType == other.ParamType;
}

// --- TmParams

TmParam* TmParams::FindParam(const std::string& name)
{
    for (auto& param : items_)
        if (SameText(param->Name, name))
            return param.get();
    return nullptr;
}

TmParam& TmParams::ParamByName(const std::string& name)
{
    if (TmParam* param = FindParam(name))
        return *param;
    throw EDatabaseError(TMessage(ParamNotFound, {name}));
}

TmParam& TmParams::CreateParam(const std::string& name, TFieldType dataType, TParamType paramType)
{
    items_.push_back(std::make_unique<TmParam>(this, name, dataType, paramType));
    return *items_.back();
}

void TmParams::Assign(const TmParams& source)
{
    if (&source == this)
        return;
    items_.clear();
    for (const auto& param : source.items_) {
        TmParam& copy = CreateParam(param->Name, param->DataType, param->ParamType);
        copy.Assign(*param);
    }
}

void TmParams::AssignValues(const TmParams& source)
{
    for (auto& param : items_)
        for (const auto& other : source.items_)
            if (other->Name == param->Name) {
                param->Assign(*other);
                break;
            }
}

bool TmParams::operator==(const TmParams& other) const
{
    if (items_.size() != other.items_.size())
        return false;
    for (size_t i = 0; i < items_.size(); ++i)
        if (!(*items_[i] == *other.items_[i]))
            return false;
    return true;
}

bool TmParams::WritesData(const TmParams* ancestor) const
{
    return ancestor ? !(*this == *ancestor) : !items_.empty();
}

std::string TmParams::WriteBinaryData(int version) const
{
    bool wide = version == 2;
    std::string out;
    putLE(out, static_cast<std::uint16_t>(wide ? 2 : 1));
    if (wide)
        putLE(out, static_cast<std::uint32_t>(items_.size()));
    else
        putLE(out, static_cast<std::uint16_t>(items_.size()));
    for (const auto& param : items_) {
        if (wide)
            putLE(out, static_cast<std::uint32_t>(param->Name.size()));
        else {
            if (param->Name.size() > 255)
                throw EDatabaseError(TMessage(ParamNameTooLong, {param->Name}));
            putLE(out, static_cast<std::uint8_t>(param->Name.size()));
        }
        out += param->Name;
        putLE(out, static_cast<std::uint8_t>(param->ParamType));
        putLE(out, static_cast<std::uint8_t>(param->DataType));
        if (param->DataType != ftUnknown) {
            std::string data = param->GetData();
            if (data.size() > kMaxStoredParamData)
                throw EDatabaseError(
                    TMessage(ParamDataTooLarge, {param->Name, std::to_string(kMaxStoredParamData)}));
            if (wide)
                putLE(out, static_cast<std::uint32_t>(data.size()));
            else
                putLE(out, static_cast<std::uint16_t>(data.size()));
            out += data;
        }
        putLE(out, static_cast<std::uint8_t>(param->IsNull()));
        putLE(out, static_cast<std::uint8_t>(param->Bound));
    }
    return out;
}

void TmParams::ReadBinaryData(std::string_view data)
{
    items_.clear();
    Reader in(data);
    int version = in.number<std::uint16_t>();
    if (version > 2)
        throw EDatabaseError(TMessage(CannotLoadParams, {}));
    std::size_t count = in.length(version);
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t nameLength = in.length(version, false);
        std::string name(in.take(nameLength));
        auto paramType = static_cast<TParamType>(in.number<std::uint8_t>());
        std::uint8_t dataType = in.number<std::uint8_t>();
        if (dataType >= kFieldTypeCount)
            throw EDatabaseError(TMessage(CannotLoadParams, {}));
        TmParam& param = CreateParam(name, static_cast<TFieldType>(dataType), paramType);
        if (param.DataType != ftUnknown) {
            std::size_t size = in.length(version);
            if (size > kMaxStoredParamData)
                throw EDatabaseError(TMessage(CannotLoadParams, {}));
            param.SetData(in.take(size));
        }
        bool isNull = in.number<std::uint8_t>() != 0;
        param.Bound = in.number<std::uint8_t>() != 0;
        if (isNull)
            param.Clear();
    }
}
