// TRegIniFile: the section/ident/value interface over the registry. The
// "file" is a key (under HKEY_CURRENT_USER unless the root is changed); each
// section is a subkey of it, or the key itself for "", or a key from the root
// when the section begins with "\"; each ident is a string value.
//
// Numbers and booleans are stored as strings ("12", "1"/"0"), as the class
// library's registry INI class does; ReadInteger also accepts an integer value.
// A missing or mistyped value reads as the default. Each write reaches the
// file before the call returns; errors of the store itself (a corrupt file
// being reported, a failed write) are raised as ERegistryException.
#pragma once

#include "platform/CustomIniFile.h"
#include "platform/Registry.h"

#include <string>

class TRegIniFile : public TCustomIniFile {
public:
    explicit TRegIniFile(const std::string& keyPath);

    HKEY RootKey() const { return root_; }
    // Raises ERegistryException "Invalid root key" for an unknown root.
    void SetRootKey(HKEY root);

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    int ReadInteger(const std::string& section, const std::string& ident, int def) override;
    // The value names of the section key.
    void ReadSection(const std::string& section, TStrings& idents) override;
    // The subkey names of the key.
    void ReadSections(TStrings& sections) override;
    // Deletes the section key with its subkeys; for "" the values of the key itself.
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    void UpdateFile() override {}

private:
    // The section's key path from the root, with a leading backslash.
    std::string sectionPath(const std::string& section) const;
    // Opens the section key read-only on reg; false when it does not exist.
    bool openSection(TRegistry& reg, const std::string& section) const;

    HKEY root_ = HKEY_CURRENT_USER;
};
