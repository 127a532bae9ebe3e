#include "database/DbTypes.h"

#include <charconv>
#include <cmath>
#include <cstdio>

const TWording NotEditing{"Dataset not in edit or insert mode"};
const TWording DataSetOpen{"Cannot perform this operation on an open dataset"};
const TWording UnsupportedField{"Field '%1' is of an unsupported type"};

namespace {

const TWording BadConversion{"Invalid variant type conversion"};
const TWording NotAnInteger{"'%1' is not a valid integer value"};

template <typename T>
bool parseNumber(const std::string& text, T& out)
{
    const char* first = text.data();
    const char* last = first + text.size();
    while (first < last && *first == ' ')
        ++first;
    while (last > first && last[-1] == ' ')
        --last;
    auto [end, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && end == last && first != last;
}

} // namespace

std::string VarToStr(const TVariant& v)
{
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(bool b) const { return b ? "True" : "False"; }
        std::string operator()(std::int64_t i) const { return std::to_string(i); }
        std::string operator()(double d) const
        {
            char buffer[40];
            std::snprintf(buffer, sizeof buffer, "%.15g", d);
            return buffer;
        }
        std::string operator()(const std::string& s) const { return s; }
    };
    return std::visit(Visitor{}, v);
}

std::int64_t VarToInt(const TVariant& v)
{
    if (auto* i = std::get_if<std::int64_t>(&v))
        return *i;
    if (auto* b = std::get_if<bool>(&v))
        return *b ? -1 : 0;
    if (auto* d = std::get_if<double>(&v)) {
        if (!std::isfinite(*d) || std::fabs(*d) > 9.2e18)
            throw EConvertError(TMessage(BadConversion, {}));
        return std::llround(*d);
    }
    if (VarIsEmpty(v))
        return 0;
    std::int64_t out = 0;
    if (!parseNumber(std::get<std::string>(v), out))
        throw EConvertError(TMessage(NotAnInteger, {std::get<std::string>(v)}));
    return out;
}

double VarToFloat(const TVariant& v)
{
    if (auto* d = std::get_if<double>(&v))
        return *d;
    if (auto* i = std::get_if<std::int64_t>(&v))
        return static_cast<double>(*i);
    if (auto* b = std::get_if<bool>(&v))
        return *b ? -1.0 : 0.0;
    if (VarIsEmpty(v))
        return 0.0;
    double out = 0;
    if (!parseNumber(std::get<std::string>(v), out))
        throw EConvertError(TMessage(NotAFloatingPointValue, {std::get<std::string>(v)}));
    return out;
}

bool VarToBool(const TVariant& v)
{
    if (auto* b = std::get_if<bool>(&v))
        return *b;
    if (auto* s = std::get_if<std::string>(&v)) {
        if (*s == "True" || *s == "true" || *s == "TRUE")
            return true;
        if (*s == "False" || *s == "false" || *s == "FALSE")
            return false;
    }
    return VarToFloat(v) != 0.0;
}
