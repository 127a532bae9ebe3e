#include "platform/RegTree.h"

#include "platform/TStringList.h"

#include <algorithm>

namespace vx::reg {

Key* Key::FindKey(std::string_view name) const
{
    for (const auto& key : keys_)
        if (SameText(key->name_, name))
            return key.get();
    return nullptr;
}

Key* Key::AddKey(std::string_view name)
{
    if (Key* existing = FindKey(name))
        return existing;
    keys_.push_back(std::make_unique<Key>(std::string(name)));
    return keys_.back().get();
}

bool Key::RemoveKey(std::string_view name)
{
    auto it = std::find_if(keys_.begin(), keys_.end(),
                           [name](const auto& key) { return SameText(key->name_, name); });
    if (it == keys_.end())
        return false;
    keys_.erase(it);
    return true;
}

const Value* Key::FindValue(std::string_view name) const
{
    for (const Value& value : values_)
        if (SameText(value.name, name))
            return &value;
    return nullptr;
}

Value& Key::SetValue(Value value)
{
    for (Value& existing : values_) {
        if (SameText(existing.name, value.name)) {
            value.name = existing.name;
            existing = std::move(value);
            return existing;
        }
    }
    values_.push_back(std::move(value));
    return values_.back();
}

bool Key::RemoveValue(std::string_view name)
{
    auto it = std::find_if(values_.begin(), values_.end(),
                           [name](const Value& value) { return SameText(value.name, name); });
    if (it == values_.end())
        return false;
    values_.erase(it);
    return true;
}

std::vector<std::string> SplitKeyPath(std::string_view path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

} // namespace vx::reg
