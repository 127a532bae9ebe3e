// The JScript highlighter: "/*" comments run over lines until "*/"; strings
// take backslash escapes; numbers take hexadecimal digits and exponent signs.
#include "highlighters/mwJScriptSyn.h"

namespace {

using T = TmwJScriptSyn;

const TCharSet& IdentChars()
{
    static const TCharSet chars =
        CharRangeSet('0', '9') | CharRangeSet('A', 'Z') | CharRangeSet('a', 'z') | MakeCharSet("_");
    return chars;
}

const TmwCharTables& Tables()
{
    static const TmwCharTables tables = TmwCharTables::Standard(IdentChars());
    return tables;
}

const TmwKeywordTable& Keywords()
{
    static const TmwKeywordTable keywords = [] {
        std::vector<TmwKeywordTable::TKeyword> words;
        for (const char* w : {
                 "abs", "acos", "action", "alert", "alinkColor", "Anchor", "anchors", "appCodeName", "Applet",
                 "applets", "appName", "appVersion", "Area", "arguments", "Array", "asin", "atan", "atan2", "back",
                 "bgColor", "big", "blink", "blur", "bold", "Boolean", "border", "break", "Button", "caller", "ceil",
                 "charAt", "Checkbox", "checked", "clearTimeout", "click", "close", "closed", "comment", "complete",
                 "confirm", "constructor", "continue", "cookie", "cos", "current", "Date", "defaultChecked",
                 "defaultSelected", "defaultStatus", "defaultValue", "description", "document", "domain", "E",
                 "elements", "else", "embeds", "enabledPlugin", "encoding", "escape", "eval", "exp", "fgColor",
                 "filename", "FileUpload", "fixed", "floor", "focus", "fontcolor", "fontsize", "for", "Form",
                 "forms", "forward", "Frame", "frames", "Function", "getDate", "getDay", "getHours", "getMinutes",
                 "getMonth", "getSeconds", "getTime", "getTimezoneOffset", "getYear", "go", "hash", "height",
                 "Hidden", "history", "host", "hostname", "href", "hspace", "if", "Image", "images", "in", "index",
                 "indexOf", "isNaN", "italics", "javaEnabled", "join", "lastIndexOf", "lastModified", "length",
                 "Link", "linkColor", "links", "LN10", "LN2", "location", "log", "LOG10E", "LOG2E", "loop",
                 "lowsrc", "Math", "max", "MAX_VALUE", "method", "MimeType", "mimeTypes", "min", "MIN_VALUE",
                 "name", "NaN", "navigator", "NEGATIVE_INFINITY", "new", "next", "Number", "object", "onAbort",
                 "onBlur", "onChange", "onClick", "onError", "onFocus", "onLoad", "onMouseOut", "onMouseOver",
                 "onReset", "onSelect", "onSubmit", "onUnload", "open", "opener", "Option", "options", "parent",
                 "parse", "parseFloat", "parseInt", "Password", "pathname", "PI", "Plugin", "plugins", "port",
                 "POSITIVE_INFINITY", "pow", "previous", "prompt", "property", "protocol", "prototype", "Radio",
                 "random", "referrer", "refresh", "reload", "replace", "reset", "return", "reverse", "round",
                 "scroll", "search", "Select", "selected", "selectedIndex", "self", "setDate", "setHours",
                 "setMinutes", "setMonth", "setSeconds", "setTime", "setTimeout", "setYear", "sin", "small", "sort",
                 "split", "sqrt", "SQRT1_2", "SQRT2", "src", "status", "strike", "String", "sub", "submit",
                 "substring", "suffixes", "sup", "taint", "taintEnabled", "tan", "target", "Text", "Textarea",
                 "this", "title", "toGMTString", "toLocaleString", "toLowerCase", "top", "toString", "toUpperCase",
                 "type", "unescape", "untaint", "URL", "userAgent", "UTC", "value", "valueOf", "var", "vlinkColor",
                 "vspace", "while", "width", "window", "with", "write", "writeln"})
            words.push_back({w, T::tkKey});
        return TmwKeywordTable(Tables(), words);
    }();
    return keywords;
}

const TmwOperatorTable& Operators()
{
    static const TmwOperatorTable ops(
        {"++", "+=", "--", "-=", "->", "&&", "&=", "||", "|=", "*=", "%=", "/=", "..."});
    return ops;
}

const std::array<bool, 256>& NumberChars()
{
    static const std::array<bool, 256> chars = [] {
        std::array<bool, 256> a{};
        for (unsigned char c : std::string_view(".0123456789ABCDEFXabcdefx"))
            a[c] = true;
        return a;
    }();
    return chars;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

std::unique_ptr<TmwCustomHighLighter> Create() { return std::make_unique<TmwJScriptSyn>(); }

} // namespace

const TmwHighlighterClass TmwJScriptSyn::Class{"TmwJScriptSyn", &Create};

TmwJScriptSyn::TmwJScriptSyn()
    : TmwScannerHighlighter(Tables(), &Keywords(), {tkNull, tkSpace, tkIdentifier, tkUnknown}, rsNormal)
{
    CommentAttri = MakeAttribute(mwAttrName::Comment, fsItalic);
    IdentifierAttri = MakeAttribute(mwAttrName::Identifier);
    KeyAttri = MakeAttribute(mwAttrName::ReservedWord, fsBold);
    NumberAttri = MakeAttribute(mwAttrName::Number);
    SpaceAttri = MakeAttribute(mwAttrName::Space);
    StringAttri = MakeAttribute(mwAttrName::String);
    SymbolAttri = MakeAttribute(mwAttrName::Symbol);
    RouteAttributeChanges();
    MapKind(tkComment, CommentAttri, true);
    MapKind(tkIdentifier, IdentifierAttri, false);
    MapKind(tkKey, KeyAttri, false);
    MapKind(tkNumber, NumberAttri, false);
    MapKind(tkSpace, SpaceAttri, false, true);
    MapKind(tkString, StringAttri, true);
    MapKind(tkSymbol, SymbolAttri, true);
    MapKind(tkUnknown, StringAttri, true);
    SetDefaultFilter("Javascript files (*.js)|*.js");
}

TCharSet TmwJScriptSyn::GetIdentChars() const { return IdentChars(); }

TmwHighLightAttributes* TmwJScriptSyn::GetDefaultAttribute(int index) const
{
    switch (index) {
    case 0: return SpaceAttri;
    case 1: return CommentAttri;
    case 2: return KeyAttri;
    default: return nullptr;
    }
}

void TmwJScriptSyn::Next()
{
    fTokenPos = Run;
    if (fRange == rsComment && !AtLineBreak())
        CommentBody();
    else
        Dispatch(Procs());
}

void TmwJScriptSyn::CommentBody()
{
    fTokenID = tkComment;
    if (RunTo("*/")) {
        Run += 2;
        fRange = rsNormal;
    } else {
        fRange = rsComment;
    }
}

void TmwJScriptSyn::SlashProc()
{
    if (Peek() == '*') {
        // The search starts after the opener, so "/*/" leaves the comment open.
        Run += 2;
        CommentBody();
    } else if (Peek() == '/') {
        fTokenID = tkComment;
        RunToLineBreak();
    } else {
        SymbolProc();
    }
}

void TmwJScriptSyn::NumberProc()
{
    fTokenID = tkNumber;
    ++Run;
    ScanNumberBody(NumberChars());
}

void TmwJScriptSyn::DollarProc()
{
    fTokenID = tkNumber;
    ++Run;
    while (IsHexDigit(Cur()))
        ++Run;
}

void TmwJScriptSyn::HashProc()
{
    fTokenID = tkString;
    ++Run;
    while (Cur() >= '0' && Cur() <= '9')
        ++Run;
}

void TmwJScriptSyn::QuoteProc()
{
    fTokenID = tkString;
    const char quote = Cur();
    ++Run;
    if (Cur() == quote && Peek() == quote)
        Run += 2;
    ScanQuoted(quote, true);
}

void TmwJScriptSyn::SymbolProc()
{
    fTokenID = tkSymbol;
    Run += MatchOperator(Operators());
}

const TmwJScriptSyn::TProcTable<TmwJScriptSyn>& TmwJScriptSyn::Procs()
{
    static const TProcTable<TmwJScriptSyn> table = [] {
        auto t = CommonProcTable<TmwJScriptSyn>(&T::UnknownProc);
        SetProcs<TmwJScriptSyn>(t, "ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz", &T::IdentProc);
        SetProcs<TmwJScriptSyn>(t, "0123456789", &T::NumberProc);
        SetProcs<TmwJScriptSyn>(t, "$", &T::DollarProc);
        SetProcs<TmwJScriptSyn>(t, "#", &T::HashProc);
        SetProcs<TmwJScriptSyn>(t, "\"'", &T::QuoteProc);
        SetProcs<TmwJScriptSyn>(t, "/", &T::SlashProc);
        SetProcs<TmwJScriptSyn>(t, "+-&|*%.(),{}~", &T::SymbolProc);
        return t;
    }();
    return table;
}
