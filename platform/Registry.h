// TRegistry: keys and typed values under the four usual roots, as the class
// library's registry wrapper offers them. Each root is one shared tree per
// process, kept in a REGEDIT4 file under the config folder (see RegStore.h).
//
// Key and value names are case-insensitive and case-preserving; key paths are
// backslash-separated, relative to the current key or, with a leading
// backslash, to the root. A value of another type than the one asked for reads
// as absent. What was written through a key reaches the file when that key is
// closed (CloseKey, opening another key, changing the root, destruction);
// CreateKey and DeleteKey reach it at once.
#pragma once

#include "platform/RegTree.h"
#include "platform/TStringList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using HKEY = std::uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;

class TRegistry {
public:
    TRegistry() = default;
    // Closes the current key; a failure to write the file is not raised here
    // (the change stays pending and goes out with the next write of that root).
    virtual ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return root_; }
    // Closes the current key. Raises ERegistryException "Invalid root key" for
    // anything but the four roots above.
    void SetRootKey(HKEY root);
    // The current key's path from the root, without a leading backslash.
    std::string CurrentPath() const;

    // Makes the key the current one; false when it is missing and !canCreate.
    bool OpenKey(const std::string& key, bool canCreate);
    // As OpenKey without creating; writes through the key then raise.
    bool OpenKeyReadOnly(const std::string& key);
    // Writes what was written through the current key to the file, then makes
    // the root current. Raises ERegistryException when the file cannot be written.
    void CloseKey();

    // Creates the key and every missing key above it. Raises ERegistryException
    // "Failed to create key <key>" through a read-only key.
    bool CreateKey(const std::string& key);
    // Deletes the key with all its subkeys; false when missing or read-only.
    bool DeleteKey(const std::string& key);
    bool KeyExists(const std::string& key) const;
    bool HasSubKeys() const;
    // Names in the order the keys or values were created.
    void GetKeyNames(TStrings& names) const;
    void GetValueNames(TStrings& names) const;

    bool ValueExists(const std::string& name) const;
    bool DeleteValue(const std::string& name);
    // rdUnknown when the value is missing.
    TRegDataType GetDataType(const std::string& name) const;

    // "" when missing or not a string or expand string.
    std::string ReadString(const std::string& name) const;
    // Raises ERegistryException "Invalid data type for '<name>'" when the value
    // is missing or not an integer.
    int ReadInteger(const std::string& name) const;
    bool ReadBool(const std::string& name) const { return ReadInteger(name) != 0; }
    // The bytes; "" when missing or not binary.
    std::string ReadBinaryData(const std::string& name) const;
    // Copies the bytes into buffer and returns their count (0 when missing or not
    // binary). Raises ERegistryException "Invalid data size for '<name>'" when
    // they do not fit in bufSize bytes.
    int ReadBinaryData(const std::string& name, void* buffer, int bufSize) const;
    // Empty when missing or not a multi string.
    std::vector<std::string> ReadMultiString(const std::string& name) const;

    // Each raises ERegistryException "Failed to set data for '<name>'" when the
    // current key is read-only or was deleted meanwhile. "" names the default value.
    void WriteString(const std::string& name, const std::string& value);
    void WriteExpandString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int value);
    // Stored as the integer 1 or 0.
    void WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }
    void WriteBinaryData(const std::string& name, const void* data, int size);
    void WriteBinaryData(const std::string& name, std::string_view bytes);
    void WriteMultiString(const std::string& name, const std::vector<std::string>& strings);

    // Drops every loaded tree so the next access reads the files again, as a new
    // process would; changes not yet written are lost.
    static void ResetStoreForTests();

private:
    std::vector<std::string> target(std::string_view key) const;
    const vx::reg::Value* findValue(vx::reg::Key& root, const std::string& name) const;
    void put(vx::reg::Value value);
    void changeKey(std::vector<std::string> path, bool readOnly, bool wrote);

    HKEY root_ = HKEY_CURRENT_USER;
    std::vector<std::string> path_;
    bool readOnly_ = false;
    bool wrote_ = false;
};

// The string or expand string, or def when missing, mistyped or unreadable. Never raises.
std::string RegReadStringDef(const TRegistry& reg, const std::string& name, const std::string& def);
// The integer, or def when missing, mistyped or unreadable. Never raises.
int RegReadIntegerDef(const TRegistry& reg, const std::string& name, int def);
