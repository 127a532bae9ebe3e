// The PHP highlighter: strings and block comments that run over lines,
// variables, numbers, operators and keywords.
#include "highlighters/wmPHPSyn.h"

namespace {

using T = TwmPHPSyn;

constexpr TmwBlockComment kComment{"/*", "*/", T::tkComment, T::rsComment, T::rsUnknown};

const TmwKeywordTable& Keywords()
{
    static const TmwKeywordTable keywords(TmwCharTables::Common(), T::tkKey,
        {"and",      "array",     "break",       "case",      "cfunction",      "class",
         "const",    "continue",  "default",     "die",       "do",             "double",
         "echo",     "else",      "elseif",      "empty",     "endfor",         "endif",
         "endswitch", "endwhile", "eval",        "exit",      "extends",        "false",
         "float",    "for",       "function",    "global",    "highlight_file", "highlight_string",
         "if",       "include",   "int",         "integer",   "isset",          "list",
         "new",      "object",    "old_function", "or",       "print",          "real",
         "require",  "return",    "show_source", "static",    "string",         "switch",
         "true",     "unset",     "var",         "while",     "xor",            "__FILE__",
         "__LINE__"});
    return keywords;
}

const TmwOperatorTable& Operators()
{
    static const TmwOperatorTable ops({"!=", "%=", "*=", "^=", "&&", "&=", "++", "+=", "--", "-=", "->", "<<=",
                                       "<<", "<=", "==", "=>", ">=", ">>", "|=", "||", "/="});
    return ops;
}

constexpr std::array<bool, 256> kNumberChars = CharTable(".0123456789ABCDEFLXabcdeflx");

} // namespace

const TmwHighlighterClass TwmPHPSyn::Class{"TwmPHPSyn", &CreateHighlighter<TwmPHPSyn>};

TwmPHPSyn::TwmPHPSyn()
    : TmwCodeHighlighter(TmwCharTables::Common(), &Keywords(), {tkNull, tkSpace, tkIdentifier, tkUnknown}, rsUnknown,
                         {tkComment, tkIdentifier, tkKey, tkNumber, tkSpace, tkString, tkSymbol})
{
    InvalidSymbolAttri = MakeAttribute(mwAttrName::InvalidSymbol);
    VariableAttri = MakeAttribute(mwAttrName::Variable);
    RouteAttributeChanges();
    MapKind(tkUnknown, IdentifierAttri, true); // a backslash among them
    MapKind(tkInvalidSymbol, InvalidSymbolAttri, false);
    MapKind(tkVariable, VariableAttri, true); // its name may hold letters outside ASCII
    SetDefaultFilter("PHP files (*.php,*.php3,*.phtml,*.inc)|*.php;*.php3;*.phtml;*.inc");
}

TCharSet TwmPHPSyn::GetIdentChars() const { return StandardIdentChars(); }

void TwmPHPSyn::Next()
{
    fTokenPos = Run;
    if (fRange != rsUnknown && !AtLineBreak()) {
        switch (fRange) {
        case rsString39: StringBody('\'', rsString39); return;
        case rsString34: StringBody('"', rsString34); return;
        case rsComment: BlockCommentBody(kComment); return;
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

void TwmPHPSyn::LineCommentProc() { TakeToLineBreak(tkComment); }

void TwmPHPSyn::VariableProc()
{
    TakeToken(tkVariable);
    while (tables_.IsIdent(Cur()))
        ++Run;
}

void TwmPHPSyn::InvalidSymbolProc() { TakeToken(tkInvalidSymbol); }

void TwmPHPSyn::SlashProc()
{
    if (Peek() == '*')
        OpenBlockComment(kComment);
    else if (Peek() == '/')
        LineCommentProc();
    else
        SymbolProc();
}

void TwmPHPSyn::NumberProc() { NumberToken(tkNumber, kNumberChars); }

void TwmPHPSyn::SymbolProc() { OperatorToken(tkSymbol, Operators()); }

const TwmPHPSyn::TProcTable<TwmPHPSyn>& TwmPHPSyn::Procs()
{
    static const TProcTable<TwmPHPSyn> table = MakeProcTable<TwmPHPSyn>(&T::UnknownProc, {
        {"\"", &T::DoubleQuoteProc},
        {"'", &T::SingleQuoteProc},
        {"#", &T::LineCommentProc},
        {"$", &T::VariableProc},
        {"@", &T::InvalidSymbolProc},
        {"/", &T::SlashProc},
        {kDigitChars, &T::NumberProc},
        {kIdentStartChars, &T::IdentProc},
        {"!%*^&+-<=>|(),.:;?[]{}~", &T::SymbolProc},
    });
    return table;
}
