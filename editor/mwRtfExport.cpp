// The RTF exporter.
#include "editor/mwRtfExport.h"

#include "editor/mwCustomEditModel.h"
#include "editor/mwStrConst.h"
#include "platform/Cp1252.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <charconv>
#include <memory>

namespace {

const TmwExportClass RtfExportClass{"TmwRtfExport", [] {
                                        return std::unique_ptr<TmwCustomExport>(std::make_unique<TmwRtfExport>());
                                    }};
const bool registered = (RegisterExporter(RtfExportClass), true);

void AppendNumber(std::string& out, unsigned value)
{
    char digits[12];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

bool NeedsRtfEscape(char c) { return c == '\\' || c == '{' || c == '}'; }

void AppendHexByte(std::string& out, unsigned char byte)
{
    static constexpr char hex[] = "0123456789abcdef";
    out += "\\'";
    out += hex[byte >> 4];
    out += hex[byte & 0x0F];
}

// One UTF-16 code unit as RTF writes it: a signed 16-bit number, followed by
// the one character (\uc1) a reader without Unicode shows instead.
void AppendUnit(std::string& out, unsigned unit, int fallbackByte)
{
    out += "\\u";
    const int value = unit < 0x8000 ? static_cast<int>(unit) : static_cast<int>(unit) - 0x10000;
    char digits[8];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
    if (fallbackByte >= 0x80)
        AppendHexByte(out, static_cast<unsigned char>(fallbackByte));
    else
        out += '?';
}

// A character outside ASCII: characters beyond the Basic Multilingual Plane
// as their surrogate pair; the fallback is the character's Windows-1252 byte
// (the header's \ansicpg) where it has one.
void AppendUnicode(std::string& out, char32_t codePoint)
{
    if (codePoint > 0xFFFF) {
        const char32_t offset = codePoint - 0x10000;
        AppendUnit(out, 0xD800 + (offset >> 10), -1);
        AppendUnit(out, 0xDC00 + (offset & 0x3FF), -1);
        return;
    }
    AppendUnit(out, codePoint, vx::UnicodeToCp1252(codePoint));
}

// Appends text from its byte at, which lies outside ASCII; returns where the
// character after it begins.
std::size_t AppendNonAscii(std::string& out, std::string_view text, std::size_t at)
{
    std::size_t length = 0;
    AppendUnicode(out, vx::utf8::Decode(text, at, &length));
    return at + length;
}

} // namespace

void AppendRtfEscaped(std::string& out, std::string_view text)
{
    size_t from = 0;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) < 0x80 && !NeedsRtfEscape(c)) {
            ++i;
            continue;
        }
        out.append(text.substr(from, i - from));
        if (static_cast<unsigned char>(c) >= 0x80) {
            i = AppendNonAscii(out, text, i);
        } else {
            out += '\\';
            out += c;
            ++i;
        }
        from = i;
    }
    out.append(text.substr(from));
}

std::string RtfEscapeField(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            i = AppendNonAscii(out, text, i);
            continue;
        }
        if (b < 0x20)
            AppendHexByte(out, b);
        else if (NeedsRtfEscape(c))
            out += {'\\', c};
        else
            out += c;
        ++i;
    }
    return out;
}

TmwRtfExport::TmwRtfExport()
{
    (void)registered;
    SetFilter(mwRes::RtfFilter);
}

TmwRtfExport::~TmwRtfExport() = default;

std::string TmwRtfExport::GetFormatName() const { return mwRes::RtfFormatName; }

std::string TmwRtfExport::GetDisplayName() const { return mwRes::RtfFormatName; }

TmwCustomExport* TmwRtfExport::GetInstance() const
{
    static std::unique_ptr<TmwRtfExport> instance = std::make_unique<TmwRtfExport>();
    return instance.get();
}

void TmwRtfExport::Setup(TmwCustomEditModel* editor, TmwCustomHighLighter* highlighter, int lineCount)
{
    TmwCustomExport::Setup(editor, highlighter, lineCount);
    fontSize_ = "\\fs";
    AppendNumber(fontSize_, static_cast<unsigned>(std::max(Look().FontSize, 1)) * 2);
}

void TmwRtfExport::Clear()
{
    TmwCustomExport::Clear();
    colors_.clear();
    characters_.Clear();
}

int TmwRtfExport::ColorIndex(TColor color)
{
    auto it = std::find(colors_.begin(), colors_.end(), color);
    if (it != colors_.end())
        return static_cast<int>(it - colors_.begin());
    colors_.push_back(color);
    return static_cast<int>(colors_.size()) - 1;
}

void TmwRtfExport::FormatToken(const std::string& token, TmwHighLightAttributes* attribute, bool needsEscape,
                               bool isSpace)
{
    // Every token is escaped, whatever needsEscape says: not every highlighter
    // flags all the kinds whose text can hold a brace or a backslash, and one
    // unescaped brace breaks the whole document.
    if (attribute || !token.empty()) {
        const std::string_view text = characters_.Take(token);
        if (!text.empty())
            AppendRun(text, attribute ? *attribute : plain_);
        return;
    }
    AppendRtfEscaped(Out(), characters_.Flush());
    Out() += "\r\n\\par ";
    ForgetLastAttribute();
}

void TmwRtfExport::AppendRun(std::string_view token, const TmwHighLightAttributes& attribute)
{
    std::string& out = Out();
    const int foreground = ColorIndex(attribute.Foreground());
    const int background = useBackGround_ ? ColorIndex(attribute.Background()) : 0;
    if (AttributeChanged(attribute)) {
        out += "\\plain";
        out += fontSize_;
        if (useBackGround_) {
            out += "\\cb";
            AppendNumber(out, static_cast<unsigned>(background));
        }
        out += "\\cf";
        AppendNumber(out, static_cast<unsigned>(foreground));
        const TFontStyles style = attribute.Style();
        if (style.Contains(fsBold))
            out += "\\b";
        if (style.Contains(fsItalic))
            out += "\\i";
        if (style.Contains(fsUnderline))
            out += "\\ul";
        if (style.Contains(fsStrikeOut))
            out += "\\strike";
        out += ' ';
        AppendRtfEscaped(out, token);
        if (useBackGround_) {
            // The run is closed: a following token of the same attribute needs its own.
            out += "\\plain\\f0";
            out += fontSize_;
            out += ' ';
            ForgetLastAttribute();
        }
        return;
    }
    AppendRtfEscaped(out, token);
}

std::string TmwRtfExport::ColorTable() const
{
    std::string table = "{\\colortbl";
    for (TColor color : colors_) {
        const TColor rgb = ResolveColor(color);
        table += "\\red";
        AppendNumber(table, rgb & 0xFF);
        table += "\\green";
        AppendNumber(table, (rgb >> 8) & 0xFF);
        table += "\\blue";
        AppendNumber(table, (rgb >> 16) & 0xFF);
        table += ';';
    }
    table += '}';
    return table;
}

std::string TmwRtfExport::GetHeader()
{
    std::string header = "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0\\deftab720";
    header += "{\\fonttbl{\\f0\\fmodern " + RtfEscapeField(Look().FontName) + ";}}";
    header += "\r\n" + ColorTable() + "\r\n";
    header += "{\\info{\\comment Generated by mwRtfExport}\r\n";
    header += "{\\title " + RtfEscapeField(Title()) + "}}";
    if (useBackGround_) {
        header += "\r\n{\\*\\background{\\shp{{\\sp{\\sn fillColor}{\\sv ";
        AppendNumber(header, ResolveColor(Editor() ? Editor()->Color() : clWindow));
        header += "}}}}}";
    }
    header += "\r\n\\deflang1033\\pard\\plain \r\n";
    return header;
}
