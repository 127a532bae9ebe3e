// The local web server's ASP parameters in the registry store: which dialog
// field holds which value, reading them by name and writing them back only
// when every field holds a value the server can take.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx::shell {

inline constexpr const char* AspParametersKey = "\\System\\CurrentControlSet\\Services\\W3Svc\\ASP\\Parameters";

enum class TAspValueKind { Dword, String };

struct TAspField {
    const char* Field; // component name of the dialog's edit
    const char* Label;
    const char* Value; // registry value name
    TAspValueKind Kind;
};

inline constexpr int AspFieldCount = 11;
// In the dialog's order.
const std::array<TAspField, AspFieldCount>& AspFields();

struct TAspSettings {
    bool KeyExists = false;
    // Each field's text, in the order of AspFields(); empty where the key
    // has no such value.
    std::array<std::string, AspFieldCount> Texts;
    // One line per DWORD value of the key, in the key's order: its position
    // among all values, ") ", and the value.
    std::vector<std::string> DwordLines;
};

// Reads HKEY_LOCAL_MACHINE's key; a missing key gives empty fields.
TAspSettings LoadAspSettings();

// The DWORD a field's text stands for: decimal digits with optional blanks
// around them, 0 to 4294967295; none otherwise.
std::optional<std::uint32_t> ParseDword(const std::string& text);

// Why the texts cannot be written, naming the first bad field; none when
// every field is fine. An empty DWORD field is fine: its value is left as it is.
std::optional<std::string> CheckAspTexts(const std::array<std::string, AspFieldCount>& texts);

enum class TAspSaveResult { NoKey, Written };
// Writes every field when the key exists. The texts must have passed
// CheckAspTexts; raises ERegistryException when the store refuses.
TAspSaveResult SaveAspSettings(const std::array<std::string, AspFieldCount>& texts);

} // namespace vx::shell
