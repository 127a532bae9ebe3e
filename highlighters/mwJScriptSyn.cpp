// The JScript highlighter: "/*" comments run over lines until "*/"; strings
// take backslash escapes; numbers take hexadecimal digits and exponent signs.
#include "highlighters/mwJScriptSyn.h"

namespace {

using T = TmwJScriptSyn;

constexpr TmwBlockComment kComment{"/*", "*/", T::tkComment, T::rsComment, T::rsNormal};

const TmwKeywordTable& Keywords()
{
    static const TmwKeywordTable keywords(TmwCharTables::Common(), T::tkKey, {
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
        "vspace", "while", "width", "window", "with", "write", "writeln"});
    return keywords;
}

const TmwOperatorTable& Operators()
{
    static const TmwOperatorTable ops(
        {"++", "+=", "--", "-=", "->", "&&", "&=", "||", "|=", "*=", "%=", "/=", "..."});
    return ops;
}

constexpr std::array<bool, 256> kNumberChars = CharTable(".0123456789ABCDEFXabcdefx");

} // namespace

const TmwHighlighterClass TmwJScriptSyn::Class{"TmwJScriptSyn", &CreateHighlighter<TmwJScriptSyn>};

TmwJScriptSyn::TmwJScriptSyn()
    : TmwCodeHighlighter(TmwCharTables::Common(), &Keywords(), {tkNull, tkSpace, tkIdentifier, tkUnknown}, rsNormal,
                         {tkComment, tkIdentifier, tkKey, tkNumber, tkSpace, tkString, tkSymbol})
{
    RouteAttributeChanges();
    MapKind(tkUnknown, StringAttri, true);
    SetDefaultFilter("Javascript files (*.js)|*.js");
}

TCharSet TmwJScriptSyn::GetIdentChars() const { return StandardIdentChars(); }

void TmwJScriptSyn::Next()
{
    fTokenPos = Run;
    if (!ContinueBlockComment(kComment))
        Dispatch(Procs());
}

void TmwJScriptSyn::SlashProc()
{
    if (Peek() == '*')
        OpenBlockComment(kComment);
    else if (Peek() == '/')
        TakeToLineBreak(tkComment);
    else
        SymbolProc();
}

void TmwJScriptSyn::NumberProc() { NumberToken(tkNumber, kNumberChars); }

void TmwJScriptSyn::DollarProc()
{
    TakeToken(tkNumber);
    SkipHexDigits();
}

void TmwJScriptSyn::HashProc()
{
    TakeToken(tkString);
    SkipDigits();
}

void TmwJScriptSyn::QuoteProc() { QuotedToken(tkString, qtBackslash | qtTripleOpener); }

void TmwJScriptSyn::SymbolProc() { OperatorToken(tkSymbol, Operators()); }

const TmwJScriptSyn::TProcTable<TmwJScriptSyn>& TmwJScriptSyn::Procs()
{
    static const TProcTable<TmwJScriptSyn> table = MakeProcTable<TmwJScriptSyn>(&T::UnknownProc, {
        {kIdentStartChars, &T::IdentProc},
        {kDigitChars, &T::NumberProc},
        {"$", &T::DollarProc},
        {"#", &T::HashProc},
        {"\"'", &T::QuoteProc},
        {"/", &T::SlashProc},
        {"+-&|*%.(),{}~", &T::SymbolProc},
    });
    return table;
}
