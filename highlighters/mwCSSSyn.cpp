// The CSS highlighter: words are matched one at a time, so "font-family" is
// two keywords around a "-"; strings take either quote.
#include "highlighters/mwCSSSyn.h"

namespace {

using T = TmwCSSSyn;

constexpr TmwBlockComment kComment{"/*", "*/", T::tkComment, T::rsComment, T::rsNormal};

const TmwKeywordTable& Keywords()
{
    static const TmwKeywordTable keywords(TmwCharTables::Common(), T::tkKey,
        {"align", "background", "bottom", "color", "em", "face", "family", "font", "height", "horizontal",
         "left", "line", "margin", "overflow", "padding", "position", "pt", "px", "right", "shape", "size",
         "text", "top", "vertical", "weight", "width"});
    return keywords;
}

} // namespace

const TmwHighlighterClass TmwCSSSyn::Class{"TmwCSSSyn", &CreateHighlighter<TmwCSSSyn>};

TmwCSSSyn::TmwCSSSyn()
    : TmwCodeHighlighter(TmwCharTables::Common(), &Keywords(), {tkNull, tkSpace, tkIdentifier, tkUnknown}, rsNormal,
                         {tkComment, tkIdentifier, tkKey, tkNumber, tkSpace, tkString, tkSymbol}, mwAttrName::Key)
{
    RouteAttributeChanges();
    MapKind(tkUnknown, IdentifierAttri, true); // a backslash among them
    SetDefaultFilter("Cascading Stylesheets (*.css)|*.css");
}

TCharSet TmwCSSSyn::GetIdentChars() const { return StandardIdentChars(); }

void TmwCSSSyn::Next()
{
    fTokenPos = Run;
    if (!ContinueBlockComment(kComment))
        Dispatch(Procs());
}

void TmwCSSSyn::SlashProc()
{
    if (Peek() == '*')
        OpenBlockComment(kComment);
    else
        SymbolProc();
}

// "#" or "$" and the hexadecimal digits after it: "#fff", "#00FF00".
void TmwCSSSyn::HexNumberProc()
{
    TakeToken(tkNumber);
    SkipHexDigits();
}

// Digits and "."s; an exponent only where a digit follows the "e", so that
// "1.5em" is the number "1.5" and the unit "em".
void TmwCSSSyn::NumberProc()
{
    fTokenID = tkNumber;
    ++Run;
    for (;;) {
        const char c = Cur();
        if (IsDigitChar(c) || (c == '.' && Peek() != '.'))
            ++Run;
        else if ((c == 'e' || c == 'E') && IsDigitChar(Peek()))
            Run += 2;
        else
            return;
    }
}

void TmwCSSSyn::QuoteProc() { QuotedToken(tkString, qtTripleOpener); }

void TmwCSSSyn::BraceProc()
{
    TakeToken(tkString);
    SkipDigits();
}

void TmwCSSSyn::SymbolProc() { TakeToken(tkSymbol); }

const TmwCSSSyn::TProcTable<TmwCSSSyn>& TmwCSSSyn::Procs()
{
    static const TProcTable<TmwCSSSyn> table = MakeProcTable<TmwCSSSyn>(&T::UnknownProc, {
        // a form feed joins white space but does not start it
        {"\f", &T::UnknownProc},
        {kIdentStartChars, &T::IdentProc},
        {kDigitChars, &T::NumberProc},
        {"#$", &T::HexNumberProc},
        {"'\"", &T::QuoteProc},
        {"()", &T::SymbolProc},
        {"/", &T::SlashProc},
        {"{}", &T::BraceProc},
    });
    return table;
}
