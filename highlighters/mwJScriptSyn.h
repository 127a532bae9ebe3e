// The JScript highlighter: keywords and browser object names, numbers,
// strings, comments and operators of client-side script.
#pragma once

#include "highlighters/mwScannerKit.h"

class TmwJScriptSyn : public TmwScannerHighlighter {
public:
    enum TokenKind { tkComment, tkIdentifier, tkKey, tkNull, tkNumber, tkSpace, tkString, tkSymbol, tkUnknown };
    // rsComment: inside a block comment that did not close on its line.
    enum Range : std::uint8_t { rsNormal = 1, rsComment = 2 };

    static const TmwHighlighterClass Class;

    TmwJScriptSyn();

    TCharSet GetIdentChars() const override;
    TmwHighLightAttributes* GetDefaultAttribute(int index) const override;
    std::string GetLanguageName() const override { return "Javascript"; }
    void Next() override;

    TmwHighLightAttributes* CommentAttri;
    TmwHighLightAttributes* IdentifierAttri;
    TmwHighLightAttributes* KeyAttri;
    TmwHighLightAttributes* NumberAttri;
    TmwHighLightAttributes* SpaceAttri;
    TmwHighLightAttributes* StringAttri;
    TmwHighLightAttributes* SymbolAttri;

private:
    static const TProcTable<TmwJScriptSyn>& Procs();
    void CommentBody();
    void SlashProc();
    void NumberProc();
    void DollarProc();
    void HashProc();
    void QuoteProc();
    void SymbolProc();
};
