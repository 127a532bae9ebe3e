// A component in streamed form, as it travels on the clipboard: its class,
// its name and its stored properties. The binary form is what the clipboard
// holds; the text form is what people read.
//
// Binary form: the signature "VXC0", then the class name and the component
// name, then the properties, each a name, a kind byte and a value, ended by
// an empty name. Names are a length byte and that many bytes; an integer is
// four bytes, low byte first; a string is a four-byte length and its bytes;
// an identifier (True, False, an enumeration value) is written like a name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

struct TStreamedProperty {
    enum TKind : std::uint8_t { Integer = 1, String = 2, Identifier = 3 };

    std::string Name;
    TKind Kind = Integer;
    std::int32_t Number = 0; // Integer
    std::string Text;        // String and Identifier
};

struct TStreamedComponent {
    std::string ClassName;
    std::string Name;
    std::vector<TStreamedProperty> Properties;
};

// Refuses names longer than 255 bytes or empty class and property names.
bool WriteComponent(const TStreamedComponent& component, std::string& bytes);
// False for anything but one whole component in the binary form.
bool ReadComponent(std::string_view bytes, TStreamedComponent& component);
// "object Name: TClass", one "  Property = value" line each, "end"; strings
// quoted with doubled quotes, control characters as #n.
std::vector<std::string> ComponentText(const TStreamedComponent& component);

} // namespace vx
