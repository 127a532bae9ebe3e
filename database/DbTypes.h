// The class library's field types, the value a field or parameter holds, and
// the database error of the data-access framework.
#pragma once

#include "platform/Exception.h"

#include <cstdint>
#include <string>
#include <variant>

// The ordinals are stored in parameter lists: keep the order.
enum TFieldType : std::uint8_t {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
    ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
    ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString,
    ftLargeint
};
inline constexpr int kFieldTypeCount = ftLargeint + 1;

// Empty (no value), Boolean, integer, float (dates and times too) or text.
using TVariant = std::variant<std::monostate, bool, std::int64_t, double, std::string>;

inline bool VarIsEmpty(const TVariant& v)
{
    return std::holds_alternative<std::monostate>(v);
}

// Conversions as the class library's variants make them; raise EConvertError when impossible.
std::string VarToStr(const TVariant& v);
std::int64_t VarToInt(const TVariant& v);
double VarToFloat(const TVariant& v);
bool VarToBool(const TVariant& v);

VX_DECLARE_EXCEPTION(EDatabaseError, Exception);

// Messages more than one file of the data-access framework raises.
extern const TWording NotEditing;        // "Dataset not in edit or insert mode"
extern const TWording DataSetOpen;       // "Cannot perform this operation on an open dataset"
extern const TWording UnsupportedField;  // "Field '%1' is of an unsupported type"
