// The CSS highlighter: words are matched one at a time, so "font-family" is
// two keywords around a "-"; strings take either quote.
#include "highlighters/mwCSSSyn.h"

namespace {

using T = TmwCSSSyn;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

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
             {"align", "background", "bottom", "color", "em", "face", "family", "font", "height", "horizontal",
              "left", "line", "margin", "overflow", "padding", "position", "pt", "px", "right", "shape", "size",
              "text", "top", "vertical", "weight", "width"})
            words.push_back({w, T::tkKey});
        return TmwKeywordTable(Tables(), words);
    }();
    return keywords;
}

std::unique_ptr<TmwCustomHighLighter> Create() { return std::make_unique<TmwCSSSyn>(); }

} // namespace

const TmwHighlighterClass TmwCSSSyn::Class{"TmwCSSSyn", &Create};

TmwCSSSyn::TmwCSSSyn()
    : TmwScannerHighlighter(Tables(), &Keywords(), {tkNull, tkSpace, tkIdentifier, tkUnknown}, rsNormal)
{
    CommentAttri = MakeAttribute(mwAttrName::Comment, fsItalic);
    IdentifierAttri = MakeAttribute(mwAttrName::Identifier);
    KeyAttri = MakeAttribute(mwAttrName::Key, fsBold);
    NumberAttri = MakeAttribute(mwAttrName::Number);
    SpaceAttri = MakeAttribute(mwAttrName::Space);
    StringAttri = MakeAttribute(mwAttrName::String);
    SymbolAttri = MakeAttribute(mwAttrName::Symbol);
    RouteAttributeChanges();
    MapKind(tkComment, CommentAttri, true);
    MapKind(tkIdentifier, IdentifierAttri, false);
    MapKind(tkUnknown, IdentifierAttri, false);
    MapKind(tkKey, KeyAttri, false);
    MapKind(tkNumber, NumberAttri, false);
    MapKind(tkSpace, SpaceAttri, false, true);
    MapKind(tkString, StringAttri, true);
    MapKind(tkSymbol, SymbolAttri, true);
    SetDefaultFilter("Cascading Stylesheets (*.css)|*.css");
}

TCharSet TmwCSSSyn::GetIdentChars() const { return IdentChars(); }

TmwHighLightAttributes* TmwCSSSyn::GetDefaultAttribute(int index) const
{
    switch (index) {
    case 0: return SpaceAttri;
    case 1: return CommentAttri;
    case 2: return KeyAttri;
    default: return nullptr;
    }
}

void TmwCSSSyn::Next()
{
    fTokenPos = Run;
    if (fRange == rsComment && !AtLineBreak())
        CommentBody();
    else
        Dispatch(Procs());
}

void TmwCSSSyn::CommentBody()
{
    fTokenID = tkComment;
    if (RunTo("*/")) {
        Run += 2;
        fRange = rsNormal;
    } else {
        fRange = rsComment;
    }
}

void TmwCSSSyn::SlashProc()
{
    if (Peek() != '*') {
        SymbolProc();
        return;
    }
    // The search starts after the opener, so "/*/" leaves the comment open.
    Run += 2;
    CommentBody();
}

// "#" or "$" and the hexadecimal digits after it: "#fff", "#00FF00".
void TmwCSSSyn::HexNumberProc()
{
    fTokenID = tkNumber;
    ++Run;
    while (IsHexDigit(Cur()))
        ++Run;
}

// Digits and "."s; an exponent only where a digit follows the "e", so that
// "1.5em" is the number "1.5" and the unit "em".
void TmwCSSSyn::NumberProc()
{
    fTokenID = tkNumber;
    ++Run;
    for (;;) {
        const char c = Cur();
        if (IsDigit(c) || (c == '.' && Peek() != '.'))
            ++Run;
        else if ((c == 'e' || c == 'E') && IsDigit(Peek()))
            Run += 2;
        else
            return;
    }
}

void TmwCSSSyn::QuoteProc()
{
    fTokenID = tkString;
    const char quote = Cur();
    ++Run;
    if (Cur() == quote && Peek() == quote)
        Run += 2;
    ScanQuoted(quote, false);
}

void TmwCSSSyn::BraceProc()
{
    fTokenID = tkString;
    ++Run;
    while (IsDigit(Cur()))
        ++Run;
}

void TmwCSSSyn::SymbolProc()
{
    fTokenID = tkSymbol;
    ++Run;
}

const TmwCSSSyn::TProcTable<TmwCSSSyn>& TmwCSSSyn::Procs()
{
    static const TProcTable<TmwCSSSyn> table = [] {
        auto t = CommonProcTable<TmwCSSSyn>(&T::UnknownProc);
        t[12] = &T::UnknownProc; // a form feed joins white space but does not start it
        SetProcs<TmwCSSSyn>(t, "ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz", &T::IdentProc);
        SetProcs<TmwCSSSyn>(t, "0123456789", &T::NumberProc);
        SetProcs<TmwCSSSyn>(t, "#$", &T::HexNumberProc);
        SetProcs<TmwCSSSyn>(t, "'\"", &T::QuoteProc);
        SetProcs<TmwCSSSyn>(t, "()", &T::SymbolProc);
        SetProcs<TmwCSSSyn>(t, "/", &T::SlashProc);
        SetProcs<TmwCSSSyn>(t, "{}", &T::BraceProc);
        return t;
    }();
    return table;
}
