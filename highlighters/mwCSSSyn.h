// The CSS highlighter: property-name parts and units as keywords, colours and
// numbers, strings, braces and block comments, which may span lines.
#pragma once

#include "highlighters/mwScannerKit.h"

class TmwCSSSyn : public TmwScannerHighlighter {
public:
    enum TokenKind { tkComment, tkIdentifier, tkKey, tkNull, tkNumber, tkSpace, tkString, tkSymbol, tkUnknown };
    // rsComment: inside a block comment that did not close on its line.
    enum Range : std::uint8_t { rsNormal = 0, rsComment = 1 };

    static const TmwHighlighterClass Class;

    TmwCSSSyn();

    TCharSet GetIdentChars() const override;
    TmwHighLightAttributes* GetDefaultAttribute(int index) const override;
    std::string GetLanguageName() const override { return "Cascading Stylesheets"; }
    void Next() override;

    TmwHighLightAttributes* CommentAttri;
    TmwHighLightAttributes* IdentifierAttri;
    TmwHighLightAttributes* KeyAttri;
    TmwHighLightAttributes* NumberAttri;
    TmwHighLightAttributes* SpaceAttri;
    TmwHighLightAttributes* StringAttri;
    TmwHighLightAttributes* SymbolAttri;

private:
    static const TProcTable<TmwCSSSyn>& Procs();
    void CommentBody();
    void SlashProc();
    void HexNumberProc();
    void NumberProc();
    void QuoteProc();
    void BraceProc();
    void SymbolProc();
};
