// Small integer helpers the controls share.
#include "controls/common/MaxMin.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace vx {

void SwapLong(std::int32_t& a, std::int32_t& b)
{
    std::swap(a, b);
}

std::int32_t MaxLong(std::int32_t a, std::int32_t b)
{
    return a > b ? a : b;
}

std::int32_t MinLong(std::int32_t a, std::int32_t b)
{
    return a < b ? a : b;
}

int MaxInteger(std::span<const int> values)
{
    assert(!values.empty());
    return *std::max_element(values.begin(), values.end());
}

int MaxInteger(std::initializer_list<int> values)
{
    return MaxInteger(std::span<const int>(values.begin(), values.size()));
}

} // namespace vx
