// The VBScript highlighter: the common scanner with VBScript's tables; "&H"
// hexadecimal numbers and exponent signs are numbers.
#include "highlighters/lbVBSSyn.h"

namespace {

using T = TlbVbsSyn;

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
             {"And", "Call", "Case", "Class", "Const", "Dim", "Do", "Each", "Else", "End", "Eqv", "Erase", "Error",
              "Exit", "Explicit", "For", "Function", "Get", "If", "Imp", "Is", "Let", "Loop", "Mod", "Next", "Not",
              "On", "Option", "Or", "Private", "property", "Public", "Randomize", "ReDim", "Rem", "Select", "Set",
              "Sub", "Then", "Wend", "While", "Xor"})
            words.push_back({w, T::tkKey});
        return TmwKeywordTable(Tables(), words);
    }();
    return keywords;
}

const TmwOperatorTable& Operators()
{
    static const TmwOperatorTable ops({"<=", "<>", ">="});
    return ops;
}

const std::array<bool, 256>& NumberChars()
{
    static const std::array<bool, 256> chars = [] {
        std::array<bool, 256> a{};
        for (unsigned char c : std::string_view(".0123456789Ee"))
            a[c] = true;
        return a;
    }();
    return chars;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

std::unique_ptr<TmwCustomHighLighter> Create() { return std::make_unique<TlbVbsSyn>(); }

} // namespace

const TmwHighlighterClass TlbVbsSyn::Class{"TlbVbsSyn", &Create};

TlbVbsSyn::TlbVbsSyn()
    : TmwScannerHighlighter(Tables(), &Keywords(), {tkNull, tkSpace, tkIdentifier, tkIdentifier}, rsNormal)
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
    SetDefaultFilter("VBScript files (*.vbs)|*.vbs");
}

TCharSet TlbVbsSyn::GetIdentChars() const { return IdentChars(); }

TmwHighLightAttributes* TlbVbsSyn::GetDefaultAttribute(int index) const
{
    switch (index) {
    case 0: return SpaceAttri;
    case 1: return CommentAttri;
    case 2: return KeyAttri;
    default: return nullptr;
    }
}

void TlbVbsSyn::Next()
{
    fTokenPos = Run;
    Dispatch(Procs());
}

void TlbVbsSyn::NumberProc()
{
    fTokenID = tkNumber;
    ++Run;
    ScanNumberBody(NumberChars());
}

// A doubled quote ends the string and the second one opens the next, so the
// text between still shows as string.
void TlbVbsSyn::StringProc()
{
    fTokenID = tkString;
    ++Run;
    if (Cur() == '"' && Peek() == '"')
        Run += 2;
    ScanQuoted('"', false);
}

void TlbVbsSyn::DateProc()
{
    fTokenID = tkString;
    ++Run;
    ScanQuoted('#', false);
}

void TlbVbsSyn::CommentProc()
{
    fTokenID = tkComment;
    RunToLineBreak();
}

void TlbVbsSyn::AmpersandProc()
{
    if ((Peek() == 'H' || Peek() == 'h') && IsHexDigit(Peek(2))) {
        fTokenID = tkNumber;
        Run += 2;
        while (IsHexDigit(Cur()))
            ++Run;
        return;
    }
    SymbolProc();
}

void TlbVbsSyn::SymbolProc()
{
    fTokenID = tkSymbol;
    Run += MatchOperator(Operators());
}

const TlbVbsSyn::TProcTable<TlbVbsSyn>& TlbVbsSyn::Procs()
{
    static const TProcTable<TlbVbsSyn> table = [] {
        auto t = CommonProcTable<TlbVbsSyn>(&T::UnknownProc);
        SetProcs<TlbVbsSyn>(t, "ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz", &T::IdentProc);
        SetProcs<TlbVbsSyn>(t, "0123456789", &T::NumberProc);
        SetProcs<TlbVbsSyn>(t, "\"", &T::StringProc);
        SetProcs<TlbVbsSyn>(t, "#", &T::DateProc);
        SetProcs<TlbVbsSyn>(t, "'", &T::CommentProc);
        SetProcs<TlbVbsSyn>(t, "&", &T::AmpersandProc);
        SetProcs<TlbVbsSyn>(t, "<>()*+,-./:;=^{}", &T::SymbolProc);
        return t;
    }();
    return table;
}
