#include "platform/Registry.h"

#include "platform/RegFile.h"
#include "platform/RegStore.h"

#include <cstring>

using vx::reg::Key;
using vx::reg::Store;
using vx::reg::Value;

namespace {

const char* rootName(HKEY root)
{
    switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    default: return nullptr;
    }
}

Store& storeOf(HKEY root)
{
    return Store::For(rootName(root));
}

Key* walk(Key& root, const std::vector<std::string>& path)
{
    Key* key = &root;
    for (const std::string& part : path)
        if (!(key = key->FindKey(part)))
            return nullptr;
    return key;
}

// Walks down the path, creating what is missing; true when anything was created.
bool create(Key& root, const std::vector<std::string>& path, Key*& key)
{
    for (const std::string& part : path)
        vx::reg::CheckKeyName(part);
    bool created = false;
    key = &root;
    for (const std::string& part : path) {
        Key* next = key->FindKey(part);
        if (!next) {
            next = key->AddKey(part);
            created = true;
        }
        key = next;
    }
    return created;
}

bool isString(TRegDataType type)
{
    return type == TRegDataType::rdString || type == TRegDataType::rdExpandString;
}

} // namespace

TRegistry::~TRegistry()
{
    try {
        CloseKey();
    } catch (const std::exception&) {
        // A destructor cannot report; the store keeps the change pending.
    }
}

void TRegistry::SetRootKey(HKEY root)
{
    if (!rootName(root))
        throw ERegistryException("Invalid root key");
    CloseKey();
    root_ = root;
}

std::string TRegistry::CurrentPath() const
{
    std::string path;
    for (const std::string& part : path_) {
        if (!path.empty())
            path += '\\';
        path += part;
    }
    return path;
}

std::vector<std::string> TRegistry::target(std::string_view key) const
{
    std::vector<std::string> parts = vx::reg::SplitKeyPath(key);
    if (!key.empty() && key.front() == '\\')
        return parts;
    std::vector<std::string> path = path_;
    path.insert(path.end(), parts.begin(), parts.end());
    return path;
}

void TRegistry::changeKey(std::vector<std::string> path, bool readOnly, bool wrote)
{
    CloseKey();
    path_ = std::move(path);
    readOnly_ = readOnly;
    wrote_ = wrote;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate)
{
    std::vector<std::string> path = target(key);
    bool created = false;
    {
        auto access = storeOf(root_).Open();
        Key* found = walk(access.Root(), path);
        if (!found) {
            if (!canCreate)
                return false;
            created = create(access.Root(), path, found);
            access.Changed();
        }
    }
    changeKey(std::move(path), false, created);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key)
{
    std::vector<std::string> path = target(key);
    if (!walk(storeOf(root_).Open().Root(), path))
        return false;
    changeKey(std::move(path), true, false);
    return true;
}

void TRegistry::CloseKey()
{
    bool wrote = wrote_;
    path_.clear();
    readOnly_ = false;
    wrote_ = false;
    if (wrote)
        storeOf(root_).Flush();
}

bool TRegistry::CreateKey(const std::string& key)
{
    if (readOnly_)
        throw ERegistryException("Failed to create key " + key);
    {
        auto access = storeOf(root_).Open();
        Key* created = nullptr;
        if (!create(access.Root(), target(key), created))
            return true;
        access.Changed();
    }
    storeOf(root_).Flush();
    return true;
}

bool TRegistry::DeleteKey(const std::string& key)
{
    std::vector<std::string> path = target(key);
    if (readOnly_ || path.empty())
        return false;
    {
        auto access = storeOf(root_).Open();
        std::string last = path.back();
        path.pop_back();
        Key* parent = walk(access.Root(), path);
        if (!parent || !parent->RemoveKey(last))
            return false;
        access.Changed();
    }
    storeOf(root_).Flush();
    return true;
}

bool TRegistry::KeyExists(const std::string& key) const
{
    return walk(storeOf(root_).Open().Root(), target(key)) != nullptr;
}

bool TRegistry::HasSubKeys() const
{
    auto access = storeOf(root_).Open();
    Key* key = walk(access.Root(), path_);
    return key && !key->Keys().empty();
}

void TRegistry::GetKeyNames(TStrings& names) const
{
    names.BeginUpdate();
    names.Clear();
    {
        auto access = storeOf(root_).Open();
        if (Key* key = walk(access.Root(), path_))
            for (const auto& sub : key->Keys())
                names.Add(sub->Name());
    }
    names.EndUpdate();
}

void TRegistry::GetValueNames(TStrings& names) const
{
    names.BeginUpdate();
    names.Clear();
    {
        auto access = storeOf(root_).Open();
        if (Key* key = walk(access.Root(), path_))
            for (const Value& value : key->Values())
                names.Add(value.name);
    }
    names.EndUpdate();
}

const Value* TRegistry::findValue(Key& root, const std::string& name) const
{
    Key* key = walk(root, path_);
    return key ? key->FindValue(name) : nullptr;
}

bool TRegistry::ValueExists(const std::string& name) const
{
    auto access = storeOf(root_).Open();
    return findValue(access.Root(), name) != nullptr;
}

bool TRegistry::DeleteValue(const std::string& name)
{
    if (readOnly_)
        return false;
    auto access = storeOf(root_).Open();
    Key* key = walk(access.Root(), path_);
    if (!key || !key->RemoveValue(name))
        return false;
    access.Changed();
    wrote_ = true;
    return true;
}

TRegDataType TRegistry::GetDataType(const std::string& name) const
{
    auto access = storeOf(root_).Open();
    const Value* value = findValue(access.Root(), name);
    return value ? value->type : TRegDataType::rdUnknown;
}

std::string TRegistry::ReadString(const std::string& name) const
{
    auto access = storeOf(root_).Open();
    const Value* value = findValue(access.Root(), name);
    return value && isString(value->type) ? value->bytes : std::string();
}

int TRegistry::ReadInteger(const std::string& name) const
{
    auto access = storeOf(root_).Open();
    const Value* value = findValue(access.Root(), name);
    if (!value || value->type != TRegDataType::rdInteger)
        throw ERegistryException("Invalid data type for '" + name + "'");
    return static_cast<int>(value->dword);
}

std::string TRegistry::ReadBinaryData(const std::string& name) const
{
    auto access = storeOf(root_).Open();
    const Value* value = findValue(access.Root(), name);
    return value && value->type == TRegDataType::rdBinary ? value->bytes : std::string();
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int bufSize) const
{
    std::string bytes = ReadBinaryData(name);
    if (bytes.empty())
        return 0;
    if (bufSize < 0 || bytes.size() > static_cast<size_t>(bufSize))
        throw ERegistryException("Invalid data size for '" + name + "'");
    std::memcpy(buffer, bytes.data(), bytes.size());
    return static_cast<int>(bytes.size());
}

std::vector<std::string> TRegistry::ReadMultiString(const std::string& name) const
{
    auto access = storeOf(root_).Open();
    const Value* value = findValue(access.Root(), name);
    return value && value->type == TRegDataType::rdMultiString ? value->multi : std::vector<std::string>();
}

void TRegistry::put(Value value)
{
    if (readOnly_)
        throw ERegistryException("Failed to set data for '" + value.name + "'");
    vx::reg::CheckValueName(value.name);
    auto access = storeOf(root_).Open();
    Key* key = walk(access.Root(), path_);
    if (!key)
        throw ERegistryException("Failed to set data for '" + value.name + "'");
    key->SetValue(std::move(value));
    access.Changed();
    wrote_ = true;
}

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    put({name, TRegDataType::rdString, value, 0, {}});
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value)
{
    put({name, TRegDataType::rdExpandString, value, 0, {}});
}

void TRegistry::WriteInteger(const std::string& name, int value)
{
    put({name, TRegDataType::rdInteger, {}, static_cast<std::uint32_t>(value), {}});
}

void TRegistry::WriteBinaryData(const std::string& name, const void* data, int size)
{
    if (size < 0 || (size > 0 && !data))
        throw ERegistryException("Failed to set data for '" + name + "'");
    WriteBinaryData(name, std::string_view(static_cast<const char*>(data), static_cast<size_t>(size)));
}

void TRegistry::WriteBinaryData(const std::string& name, std::string_view bytes)
{
    put({name, TRegDataType::rdBinary, std::string(bytes), 0, {}});
}

void TRegistry::WriteMultiString(const std::string& name, const std::vector<std::string>& strings)
{
    put({name, TRegDataType::rdMultiString, {}, 0, strings});
}

void TRegistry::ResetStoreForTests()
{
    Store::ResetAll();
}

std::string RegReadStringDef(const TRegistry& reg, const std::string& name, const std::string& def)
{
    try {
        if (isString(reg.GetDataType(name)))
            return reg.ReadString(name);
    } catch (const std::exception&) {
        // An unreadable store answers the default, as a missing value does.
    }
    return def;
}

int RegReadIntegerDef(const TRegistry& reg, const std::string& name, int def)
{
    try {
        if (reg.GetDataType(name) == TRegDataType::rdInteger)
            return reg.ReadInteger(name);
    } catch (const std::exception&) {
        // An unreadable store answers the default, as a missing value does.
    }
    return def;
}
