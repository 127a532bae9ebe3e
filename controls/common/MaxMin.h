// Small integer helpers the controls share.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

namespace vx {

void SwapLong(std::int32_t& a, std::int32_t& b);
std::int32_t MaxLong(std::int32_t a, std::int32_t b);
std::int32_t MinLong(std::int32_t a, std::int32_t b);
// The largest element; the span must hold at least one.
int MaxInteger(std::span<const int> values);
int MaxInteger(std::initializer_list<int> values);

} // namespace vx
