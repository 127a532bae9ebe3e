// The PHP highlighter: strings and block comments that run over lines,
// variables, numbers, operators and keywords.
#include "highlighters/wmPHPSyn.h"

namespace {

using T = TwmPHPSyn;

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
        for (const char* w :
             {"and",      "array",     "break",       "case",      "cfunction",      "class",
              "const",    "continue",  "default",     "die",       "do",             "double",
              "echo",     "else",      "elseif",      "empty",     "endfor",         "endif",
              "endswitch", "endwhile", "eval",        "exit",      "extends",        "false",
              "float",    "for",       "function",    "global",    "highlight_file", "highlight_string",
              "if",       "include",   "int",         "integer",   "isset",          "list",
              "new",      "object",    "old_function", "or",       "print",          "real",
              "require",  "return",    "show_source", "static",    "string",         "switch",
              "true",     "unset",     "var",         "while",     "xor",            "__FILE__",
              "__LINE__"})
            words.push_back({w, T::tkKey});
        return TmwKeywordTable(Tables(), words);
    }();
    return keywords;
}

const TmwOperatorTable& Operators()
{
    static const TmwOperatorTable ops({"!=", "%=", "*=", "^=", "&&", "&=", "++", "+=", "--", "-=", "->", "<<=",
                                       "<<", "<=", "==", "=>", ">=", ">>", "|=", "||", "/="});
    return ops;
}

const std::array<bool, 256>& NumberChars()
{
    static const std::array<bool, 256> chars = [] {
        std::array<bool, 256> a{};
        for (unsigned char c : std::string_view(".0123456789ABCDEFLXabcdeflx"))
            a[c] = true;
        return a;
    }();
    return chars;
}

std::unique_ptr<TmwCustomHighLighter> Create() { return std::make_unique<TwmPHPSyn>(); }

} // namespace

const TmwHighlighterClass TwmPHPSyn::Class{"TwmPHPSyn", &Create};

TwmPHPSyn::TwmPHPSyn()
    : TmwScannerHighlighter(Tables(), &Keywords(), {tkNull, tkSpace, tkIdentifier, tkUnknown}, rsUnknown)
{
    CommentAttri = MakeAttribute(mwAttrName::Comment, fsItalic);
    IdentifierAttri = MakeAttribute(mwAttrName::Identifier);
    InvalidSymbolAttri = MakeAttribute(mwAttrName::InvalidSymbol);
    KeyAttri = MakeAttribute(mwAttrName::ReservedWord, fsBold);
    NumberAttri = MakeAttribute(mwAttrName::Number);
    SpaceAttri = MakeAttribute(mwAttrName::Space);
    StringAttri = MakeAttribute(mwAttrName::String);
    SymbolAttri = MakeAttribute(mwAttrName::Symbol);
    VariableAttri = MakeAttribute(mwAttrName::Variable);
    RouteAttributeChanges();
    MapKind(tkComment, CommentAttri, true);
    MapKind(tkIdentifier, IdentifierAttri, false);
    MapKind(tkUnknown, IdentifierAttri, false);
    MapKind(tkInvalidSymbol, InvalidSymbolAttri, false);
    MapKind(tkKey, KeyAttri, false);
    MapKind(tkNumber, NumberAttri, false);
    MapKind(tkSpace, SpaceAttri, false, true);
    MapKind(tkString, StringAttri, true);
    MapKind(tkSymbol, SymbolAttri, true);
    MapKind(tkVariable, VariableAttri, false);
    SetDefaultFilter("PHP files (*.php,*.php3,*.phtml,*.inc)|*.php;*.php3;*.phtml;*.inc");
}

TCharSet TwmPHPSyn::GetIdentChars() const { return IdentChars(); }

TmwHighLightAttributes* TwmPHPSyn::GetDefaultAttribute(int index) const
{
    switch (index) {
    case 0: return SpaceAttri;
    case 1: return CommentAttri;
    case 2: return KeyAttri;
    default: return nullptr;
    }
}

void TwmPHPSyn::Next()
{
    fTokenPos = Run;
    if (fRange != rsUnknown && !AtLineBreak()) {
        switch (fRange) {
        case rsString39: StringBody('\'', rsString39); return;
        case rsString34: StringBody('"', rsString34); return;
        case rsComment: CommentBody(); return;
        default: break;
        }
    }
    // Here a string or comment range is at the line end, which leaves it as it is.
    if (fRange > rsComment)
        fRange = rsUnknown;
    Dispatch(Procs());
}

void TwmPHPSyn::StringBody(char quote, Range range)
{
    // A backslash takes the next character in, in both quote styles as in PHP.
    fTokenID = tkString;
    fRange = ScanQuoted(quote, true) ? rsUnknown : range;
}

void TwmPHPSyn::CommentBody()
{
    fTokenID = tkComment;
    if (RunTo("*/")) {
        Run += 2;
        fRange = rsUnknown;
    } else {
        fRange = rsComment;
    }
}

void TwmPHPSyn::DoubleQuoteProc()
{
    ++Run;
    StringBody('"', rsString34);
}

void TwmPHPSyn::SingleQuoteProc()
{
    ++Run;
    StringBody('\'', rsString39);
}

void TwmPHPSyn::LineCommentProc()
{
    fTokenID = tkComment;
    RunToLineBreak();
}

void TwmPHPSyn::VariableProc()
{
    fTokenID = tkVariable;
    ++Run;
    while (tables_.IsIdent(Cur()))
        ++Run;
}

void TwmPHPSyn::InvalidSymbolProc()
{
    fTokenID = tkInvalidSymbol;
    ++Run;
}

void TwmPHPSyn::SlashProc()
{
    if (Peek() == '*') {
        // The scan starts after the opener, so "/*/" leaves the comment open.
        Run += 2;
        CommentBody();
    } else if (Peek() == '/') {
        LineCommentProc();
    } else {
        SymbolProc();
    }
}

void TwmPHPSyn::NumberProc()
{
    fTokenID = tkNumber;
    ++Run;
    ScanNumberBody(NumberChars());
}

void TwmPHPSyn::SymbolProc()
{
    fTokenID = tkSymbol;
    Run += MatchOperator(Operators());
}

const TwmPHPSyn::TProcTable<TwmPHPSyn>& TwmPHPSyn::Procs()
{
    static const TProcTable<TwmPHPSyn> table = [] {
        auto t = CommonProcTable<TwmPHPSyn>(&T::UnknownProc);
        SetProcs<TwmPHPSyn>(t, "\"", &T::DoubleQuoteProc);
        SetProcs<TwmPHPSyn>(t, "'", &T::SingleQuoteProc);
        SetProcs<TwmPHPSyn>(t, "#", &T::LineCommentProc);
        SetProcs<TwmPHPSyn>(t, "$", &T::VariableProc);
        SetProcs<TwmPHPSyn>(t, "@", &T::InvalidSymbolProc);
        SetProcs<TwmPHPSyn>(t, "/", &T::SlashProc);
        SetProcs<TwmPHPSyn>(t, "0123456789", &T::NumberProc);
        SetProcs<TwmPHPSyn>(t, "ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz", &T::IdentProc);
        SetProcs<TwmPHPSyn>(t, "!%*^&+-<=>|(),.:;?[]{}~", &T::SymbolProc);
        return t;
    }();
    return table;
}
