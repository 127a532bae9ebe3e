// The VBScript highlighter: the common scanner with VBScript's tables; "&H"
// hexadecimal numbers and exponent signs are numbers.
#include "highlighters/lbVBSSyn.h"

namespace {

using T = TlbVbsSyn;

const TmwKeywordTable& Keywords()
{
    static const TmwKeywordTable keywords(TmwCharTables::Common(), T::tkKey,
        {"And", "Call", "Case", "Class", "Const", "Dim", "Do", "Each", "Else", "End", "Eqv", "Erase", "Error",
         "Exit", "Explicit", "For", "Function", "Get", "If", "Imp", "Is", "Let", "Loop", "Mod", "Next", "Not",
         "On", "Option", "Or", "Private", "property", "Public", "Randomize", "ReDim", "Select", "Set",
         "Sub", "Then", "Wend", "While", "Xor"});
    return keywords;
}

const TmwOperatorTable& Operators()
{
    static const TmwOperatorTable ops({"<=", "<>", ">="});
    return ops;
}

constexpr std::array<bool, 256> kNumberChars = CharTable(".0123456789Ee");

} // namespace

const TmwHighlighterClass TlbVbsSyn::Class{"TlbVbsSyn", &CreateHighlighter<TlbVbsSyn>};

TlbVbsSyn::TlbVbsSyn()
    : TmwCodeHighlighter(TmwCharTables::Common(), &Keywords(), {tkNull, tkSpace, tkIdentifier, tkIdentifier}, rsNormal,
                         {tkComment, tkIdentifier, tkKey, tkNumber, tkSpace, tkString, tkSymbol})
{
    RouteAttributeChanges();
    // Characters no routine claims (a backslash, "[", "|", ...) are identifiers too.
    MapKind(tkIdentifier, IdentifierAttri, true);
    SetDefaultFilter("VBScript files (*.vbs)|*.vbs");
}

TCharSet TlbVbsSyn::GetIdentChars() const { return StandardIdentChars(); }

void TlbVbsSyn::Next()
{
    fTokenPos = Run;
    Dispatch(Procs());
}

void TlbVbsSyn::NumberProc() { NumberToken(tkNumber, kNumberChars); }

// A doubled quote ends the string and the second one opens the next, so the
// text between still shows as string.
void TlbVbsSyn::StringProc() { QuotedToken(tkString, qtTripleOpener); }

void TlbVbsSyn::DateProc() { QuotedToken(tkString, qtPlain); }

void TlbVbsSyn::CommentProc() { TakeToLineBreak(tkComment); }

// "Rem" as a whole word is the other way to write a comment; in a longer word
// ("Remove") it is an ordinary identifier.
void TlbVbsSyn::WordProc()
{
    const int start = Run;
    IdentProc();
    const std::string_view word = TokenView();
    if (word.size() == 3 && (word[0] | 0x20) == 'r' && (word[1] | 0x20) == 'e' && (word[2] | 0x20) == 'm') {
        Run = start;
        CommentProc();
    }
}

void TlbVbsSyn::AmpersandProc()
{
    if ((Peek() == 'H' || Peek() == 'h') && IsHexDigitChar(Peek(2))) {
        TakeToken(tkNumber, 2);
        SkipHexDigits();
        return;
    }
    SymbolProc();
}

void TlbVbsSyn::SymbolProc() { OperatorToken(tkSymbol, Operators()); }

const TlbVbsSyn::TProcTable<TlbVbsSyn>& TlbVbsSyn::Procs()
{
    static const TProcTable<TlbVbsSyn> table = MakeProcTable<TlbVbsSyn>(&T::UnknownProc, {
        {kIdentStartChars, &T::WordProc},
        {kDigitChars, &T::NumberProc},
        {"\"", &T::StringProc},
        {"#", &T::DateProc},
        {"'", &T::CommentProc},
        {"&", &T::AmpersandProc},
        {"<>()*+,-./:;=^{}", &T::SymbolProc},
    });
    return table;
}
