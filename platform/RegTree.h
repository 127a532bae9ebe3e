// The in-memory registry tree: keys with ordered subkeys and ordered typed
// values. Names are compared without regard to case and kept as first written.
#pragma once

#include "platform/Exception.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

VX_DECLARE_EXCEPTION(ERegistryException, Exception);

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary, rdMultiString };

namespace vx::reg {

// One value. `bytes` holds the text of string and expand-string values and the
// data of binary values; `dword` the integer; `multi` the strings of a multi-string.
struct Value {
    std::string name;
    TRegDataType type = TRegDataType::rdUnknown;
    std::string bytes;
    std::uint32_t dword = 0;
    std::vector<std::string> multi;
};

class Key {
public:
    explicit Key(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }

    Key* FindKey(std::string_view name) const;
    // The existing subkey of that name, or a new last one.
    Key* AddKey(std::string_view name);
    bool RemoveKey(std::string_view name);
    const std::vector<std::unique_ptr<Key>>& Keys() const { return keys_; }

    const Value* FindValue(std::string_view name) const;
    // Replaces the data of an existing value (keeping its place and the case of
    // its name) or adds a new last value.
    Value& SetValue(Value value);
    bool RemoveValue(std::string_view name);
    const std::vector<Value>& Values() const { return values_; }

private:
    std::string name_;
    std::vector<std::unique_ptr<Key>> keys_;
    std::vector<Value> values_;
};

// "a\b\\c\" -> {"a", "b", "c"}: empty parts are dropped.
std::vector<std::string> SplitKeyPath(std::string_view path);

} // namespace vx::reg
