// Streaming a component to and from its binary and text forms.
#include "controls/clipboard/ComponentStream.h"

namespace vx {

namespace {

constexpr std::string_view Signature = "VXC0";

void PutName(std::string& out, const std::string& name)
{
    out += static_cast<char>(name.size());
    out += name;
}

void PutUInt32(std::string& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Reads from a byte range, failing once instead of reading past its end.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool Take(std::size_t size, std::string_view& out)
    {
        if (size > bytes_.size() - pos_)
            return false;
        out = bytes_.substr(pos_, size);
        pos_ += size;
        return true;
    }
    bool Byte(std::uint8_t& out)
    {
        std::string_view b;
        if (!Take(1, b))
            return false;
        out = static_cast<std::uint8_t>(b[0]);
        return true;
    }
    bool UInt32(std::uint32_t& out)
    {
        std::string_view b;
        if (!Take(4, b))
            return false;
        out = 0;
        for (int i = 3; i >= 0; --i)
            out = out << 8 | static_cast<std::uint8_t>(b[static_cast<std::size_t>(i)]);
        return true;
    }
    bool Name(std::string& out)
    {
        std::uint8_t size = 0;
        std::string_view b;
        if (!Byte(size) || !Take(size, b))
            return false;
        out.assign(b);
        return true;
    }
    bool AtEnd() const { return pos_ == bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

bool ReadValue(Reader& in, TStreamedProperty& p)
{
    std::uint8_t kind = 0;
    if (!in.Byte(kind))
        return false;
    p.Kind = static_cast<TStreamedProperty::TKind>(kind);
    switch (p.Kind) {
    case TStreamedProperty::Integer: {
        std::uint32_t value = 0;
        if (!in.UInt32(value))
            return false;
        p.Number = static_cast<std::int32_t>(value);
        return true;
    }
    case TStreamedProperty::String: {
        std::uint32_t size = 0;
        std::string_view text;
        if (!in.UInt32(size) || !in.Take(size, text))
            return false;
        p.Text.assign(text);
        return true;
    }
    case TStreamedProperty::Identifier:
        return in.Name(p.Text) && !p.Text.empty();
    default:
        return false;
    }
}

std::string Quoted(const std::string& text)
{
    std::string out;
    bool open = false;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32) {
            if (open)
                out += '\'';
            open = false;
            out += '#' + std::to_string(byte);
            continue;
        }
        if (!open)
            out += '\'';
        open = true;
        out += c;
        if (c == '\'')
            out += '\'';
    }
    if (open || out.empty())
        out += out.empty() ? "''" : "'";
    return out;
}

} // namespace

bool WriteComponent(const TStreamedComponent& component, std::string& bytes)
{
    const auto fits = [](const std::string& name) { return name.size() <= 255; };
    if (component.ClassName.empty() || !fits(component.ClassName) || !fits(component.Name))
        return false;
    std::string out(Signature);
    PutName(out, component.ClassName);
    PutName(out, component.Name);
    for (const TStreamedProperty& p : component.Properties) {
        if (p.Name.empty() || !fits(p.Name))
            return false;
        PutName(out, p.Name);
        out += static_cast<char>(p.Kind);
        switch (p.Kind) {
        case TStreamedProperty::Integer:
            PutUInt32(out, static_cast<std::uint32_t>(p.Number));
            break;
        case TStreamedProperty::String:
            if (p.Text.size() > 0xFFFFFFFFu)
                return false;
            PutUInt32(out, static_cast<std::uint32_t>(p.Text.size()));
            out += p.Text;
            break;
        case TStreamedProperty::Identifier:
            if (p.Text.empty() || !fits(p.Text))
                return false;
            PutName(out, p.Text);
            break;
        default:
            return false;
        }
    }
    out += '\0';
    bytes = std::move(out);
    return true;
}

bool ReadComponent(std::string_view bytes, TStreamedComponent& component)
{
    Reader in(bytes);
    std::string_view signature;
    TStreamedComponent read;
    if (!in.Take(Signature.size(), signature) || signature != Signature || !in.Name(read.ClassName) ||
        read.ClassName.empty() || !in.Name(read.Name))
        return false;
    for (;;) {
        TStreamedProperty p;
        if (!in.Name(p.Name))
            return false;
        if (p.Name.empty())
            break;
        if (!ReadValue(in, p))
            return false;
        read.Properties.push_back(std::move(p));
    }
    if (!in.AtEnd())
        return false;
    component = std::move(read);
    return true;
}

std::vector<std::string> ComponentText(const TStreamedComponent& component)
{
    std::vector<std::string> lines;
    lines.push_back("object " + component.Name + (component.Name.empty() ? "" : ": ") + component.ClassName);
    for (const TStreamedProperty& p : component.Properties) {
        std::string value;
        if (p.Kind == TStreamedProperty::Integer)
            value = std::to_string(p.Number);
        else if (p.Kind == TStreamedProperty::String)
            value = Quoted(p.Text);
        else
            value = p.Text;
        lines.push_back("  " + p.Name + " = " + value);
    }
    lines.push_back("end");
    return lines;
}

} // namespace vx
