// The CSS highlighter: property-name parts and units as keywords, colours and
// numbers, strings, braces and block comments, which may span lines.
#pragma once

#include "highlighters/mwScannerKit.h"

class TmwCSSSyn : public TmwCodeHighlighter {
public:
    enum TokenKind { tkComment, tkIdentifier, tkKey, tkNull, tkNumber, tkSpace, tkString, tkSymbol, tkUnknown };
    // rsComment: inside a block comment that did not close on its line.
    enum Range : std::uint8_t { rsNormal = 0, rsComment = 1 };

    static const TmwHighlighterClass Class;

    TmwCSSSyn();

    TCharSet GetIdentChars() const override;
    std::string GetLanguageName() const override { return "Cascading Stylesheets"; }
    void Next() override;

private:
    static const TProcTable<TmwCSSSyn>& Procs();
    void SlashProc();
    void HexNumberProc();
    void NumberProc();
    void QuoteProc();
    void BraceProc();
    void SymbolProc();
};
