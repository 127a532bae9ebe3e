#include "platform/RegFile.h"

#include "platform/AnsiText.h"
#include "platform/FileTexts.h"
#include "platform/TStringList.h"

#include <cstdio>

namespace vx::reg {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kEol = "\r\n";
// Hex data is wrapped once a line grows past this, as the export format does.
constexpr size_t kHexLineWidth = 76;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimRight(std::string_view s)
{
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view trimLeft(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    return s;
}

int hexDigit(char c) { return vx::DigitValue(c, 16); }

// --- writing

void appendQuoted(std::string& out, std::string_view s)
{
    out += '"';
    for (char c : s) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    out += '"';
}

void appendHex(std::string& out, std::string_view prefix, std::string_view bytes)
{
    static constexpr char digits[] = "0123456789abcdef";
    size_t lineStart = out.rfind('\n');
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    out += prefix;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            out += ',';
            if (out.size() - lineStart > kHexLineWidth) {
                out += "\\\r\n  ";
                lineStart = out.size() - 2;
            }
        }
        auto b = static_cast<unsigned char>(bytes[i]);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
}

std::string withTerminator(std::string_view s)
{
    std::string bytes(s);
    bytes += '\0';
    return bytes;
}

std::string encodeMulti(const std::vector<std::string>& strings)
{
    std::string bytes;
    for (const std::string& s : strings) {
        bytes += s;
        bytes += '\0';
    }
    bytes += '\0';
    return bytes;
}

void appendValue(std::string& out, const Value& value)
{
    if (value.name.empty())
        out += '@';
    else
        appendQuoted(out, value.name);
    out += '=';
    switch (value.type) {
    case TRegDataType::rdString:
        if (value.bytes.find_first_of("\r\n") == std::string::npos)
            appendQuoted(out, value.bytes);
        else
            appendHex(out, "hex(1):", withTerminator(value.bytes));
        break;
    case TRegDataType::rdExpandString:
        appendHex(out, "hex(2):", withTerminator(value.bytes));
        break;
    case TRegDataType::rdInteger: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(value.dword));
        out += buf;
        break;
    }
    case TRegDataType::rdMultiString:
        appendHex(out, "hex(7):", encodeMulti(value.multi));
        break;
    case TRegDataType::rdBinary:
    case TRegDataType::rdUnknown:
        appendHex(out, "hex:", value.bytes);
        break;
    }
    out += kEol;
}

void appendTree(std::string& out, const Key& key, const std::string& path, bool withHeader)
{
    if (withHeader) {
        out += '[';
        out += path;
        out += ']';
        out += kEol;
        for (const Value& value : key.Values())
            appendValue(out, value);
        out += kEol;
    }
    for (const auto& sub : key.Keys())
        appendTree(out, *sub, path + "\\" + sub->Name(), true);
}

// --- reading

std::vector<std::string> decodeMulti(std::string_view bytes)
{
    std::vector<std::string> strings;
    if (!bytes.empty() && bytes.back() == '\0')
        bytes.remove_suffix(1);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\0', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        strings.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return strings;
}

std::string withoutTerminator(std::string bytes)
{
    if (!bytes.empty() && bytes.back() == '\0')
        bytes.pop_back();
    return bytes;
}

class Parser {
public:
    Parser(std::string_view text, std::string_view rootName, TFileTexts& texts)
        : text_(text), rootName_(rootName), texts_(texts)
    {
    }

    std::unique_ptr<Key> Run()
    {
        auto root = std::make_unique<Key>(std::string(rootName_));
        if (text_.empty())
            return root;
        std::string_view line;
        if (!nextLine(line) || trimRight(line) != kHeader)
            fail("the file does not begin with " + std::string(kHeader));
        Key* current = nullptr;
        while (nextLine(line)) {
            std::string_view content = trimLeft(line);
            if (content.empty() || content.front() == ';')
                continue;
            if (content.front() == '[')
                current = section(*root, content);
            else if (content.front() == '"' || content.front() == '@') {
                if (!current)
                    fail("a value before the first key");
                current->SetValue(value(content));
                // Every value line is written with its line end: one without
                // is a file cut short inside the value.
                if (!lineEnded_)
                    fail("the file ends inside a value");
            } else
                fail("unexpected text");
        }
        return root;
    }

private:
    bool nextLine(std::string_view& line)
    {
        if (pos_ >= text_.size())
            return false;
        size_t end = text_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos)
            end = text_.size();
        line = text_.substr(pos_, end - pos_);
        pos_ = end;
        lineEnded_ = pos_ < text_.size();
        if (lineEnded_)
            pos_ += text_.compare(pos_, 2, "\r\n") == 0 ? 2 : 1;
        ++lineNo_;
        return true;
    }

    [[noreturn]] void fail(const std::string& reason) const
    {
        throw ERegFileError("line " + std::to_string(lineNo_) + ": " + reason);
    }

    Key* section(Key& root, std::string_view line)
    {
        size_t close = line.rfind(']');
        if (close == std::string_view::npos || !trimRight(line.substr(close + 1)).empty())
            fail("a key line must end with ]");
        std::string_view path = line.substr(1, close - 1);
        size_t slash = path.find('\\');
        std::string_view rootPart = path.substr(0, slash);
        if (!SameText(rootPart, rootName_))
            fail("the key is not under " + std::string(rootName_));
        Key* key = &root;
        while (slash != std::string_view::npos) {
            size_t start = slash + 1;
            slash = path.find('\\', start);
            std::string_view part = path.substr(start, slash == std::string_view::npos ? slash : slash - start);
            if (part.empty())
                fail("empty key name");
            key = key->AddKey(texts_(part));
        }
        return key;
    }

    std::string quoted(std::string_view line, size_t& pos) const
    {
        std::string s;
        for (++pos;; ++pos) {
            if (pos >= line.size())
                fail("unterminated string");
            char c = line[pos];
            if (c == '"') {
                ++pos;
                return s;
            }
            if (c == '\\') {
                if (pos + 1 >= line.size() || (line[pos + 1] != '\\' && line[pos + 1] != '"'))
                    fail("invalid escape in a string");
                c = line[++pos];
            }
            s += c;
        }
    }

    Value value(std::string_view line)
    {
        Value v;
        size_t pos = 0;
        if (line.front() == '@')
            pos = 1;
        else
            v.name = texts_(quoted(line, pos));
        std::string_view rest = trimLeft(line.substr(pos));
        if (rest.empty() || rest.front() != '=')
            fail("= expected after the value name");
        rest = trimLeft(rest.substr(1));
        if (!rest.empty() && rest.front() == '"') {
            pos = 0;
            v.type = TRegDataType::rdString;
            v.bytes = texts_(quoted(rest, pos));
            if (!trimRight(rest.substr(pos)).empty())
                fail("unexpected text after a string");
        } else if (rest.substr(0, 6) == "dword:") {
            v.type = TRegDataType::rdInteger;
            v.dword = dword(trimRight(rest.substr(6)));
        } else if (rest.substr(0, 4) == "hex:") {
            v.type = TRegDataType::rdBinary;
            v.bytes = hexBytes(rest.substr(4));
        } else if (rest.substr(0, 4) == "hex(") {
            hexValue(rest.substr(4), v);
        } else
            fail("unknown value data");
        return v;
    }

    std::uint32_t dword(std::string_view digits) const
    {
        if (digits.empty() || digits.size() > 8)
            fail("a dword needs one to eight hex digits");
        std::uint32_t n = 0;
        for (char c : digits) {
            int d = hexDigit(c);
            if (d < 0)
                fail("invalid hex digit in a dword");
            n = n * 16 + static_cast<std::uint32_t>(d);
        }
        return n;
    }

    void hexValue(std::string_view rest, Value& v)
    {
        size_t close = rest.find(')');
        if (close == std::string_view::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
            fail("hex( must be followed by a type and ):");
        std::uint32_t kind = dword(rest.substr(0, close));
        std::string bytes = hexBytes(rest.substr(close + 2));
        switch (kind) {
        case 1:
            v.type = TRegDataType::rdString;
            v.bytes = texts_(withoutTerminator(std::move(bytes)));
            break;
        case 2:
            v.type = TRegDataType::rdExpandString;
            v.bytes = texts_(withoutTerminator(std::move(bytes)));
            break;
        case 3:
            v.type = TRegDataType::rdBinary;
            v.bytes = std::move(bytes);
            break;
        case 4:
            if (bytes.size() != 4)
                fail("a hex(4) value needs four bytes");
            v.type = TRegDataType::rdInteger;
            for (int i = 3; i >= 0; --i)
                v.dword = v.dword << 8 | static_cast<unsigned char>(bytes[static_cast<size_t>(i)]);
            break;
        case 7:
            v.type = TRegDataType::rdMultiString;
            v.multi = decodeMulti(bytes);
            for (std::string& text : v.multi)
                text = texts_(text);
            break;
        default:
            fail("unsupported value type hex(" + std::to_string(kind) + ")");
        }
    }

    // Comma-separated byte pairs, continued on the next line after a final backslash.
    std::string hexBytes(std::string_view rest)
    {
        std::string joined;
        for (;;) {
            rest = trimRight(rest);
            bool continued = !rest.empty() && rest.back() == '\\';
            if (continued)
                rest.remove_suffix(1);
            joined += rest;
            if (!continued)
                break;
            if (!nextLine(rest))
                fail("hex data continues past the end of the file");
            rest = trimLeft(rest);
        }
        std::string bytes;
        std::string_view all = joined;
        if (trimLeft(all).empty())
            return bytes;
        size_t start = 0;
        for (;;) {
            size_t comma = all.find(',', start);
            std::string_view token = trimRight(trimLeft(all.substr(start, comma == std::string_view::npos ? comma : comma - start)));
            int hi = token.size() == 2 ? hexDigit(token[0]) : -1;
            int lo = token.size() == 2 ? hexDigit(token[1]) : -1;
            if (hi < 0 || lo < 0)
                fail("invalid hex byte");
            bytes += static_cast<char>(hi * 16 + lo);
            if (comma == std::string_view::npos)
                return bytes;
            start = comma + 1;
        }
    }

    std::string_view text_;
    std::string_view rootName_;
    TFileTexts& texts_;
    size_t pos_ = 0;
    int lineNo_ = 0;
    bool lineEnded_ = false;
};

} // namespace

std::string FormatRegFile(const Key& root, std::string_view rootName)
{
    std::string out(kHeader);
    out += kEol;
    out += kEol;
    appendTree(out, root, std::string(rootName), !root.Values().empty());
    return out;
}

std::unique_ptr<Key> ParseRegFile(std::string_view text, std::string_view rootName)
{
    return ReadFileTexts([&](TFileTexts& texts) { return Parser(text, rootName, texts).Run(); });
}

void CheckKeyName(std::string_view name)
{
    if (name.find_first_of("\r\n\\") != std::string_view::npos)
        throw ERegistryException("Invalid key name '" + std::string(name) + "'");
}

void CheckValueName(std::string_view name)
{
    if (name.find_first_of("\r\n") != std::string_view::npos)
        throw ERegistryException("Invalid value name '" + std::string(name) + "'");
}

} // namespace vx::reg
