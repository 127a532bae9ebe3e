// The JScript highlighter: keywords and browser object names, numbers,
// strings, comments and operators of client-side script.
#pragma once

#include "highlighters/mwScannerKit.h"

class TmwJScriptSyn : public TmwCodeHighlighter {
public:
    enum TokenKind { tkComment, tkIdentifier, tkKey, tkNull, tkNumber, tkSpace, tkString, tkSymbol, tkUnknown };
    // rsComment: inside a block comment that did not close on its line.
    enum Range : std::uint8_t { rsNormal = 1, rsComment = 2 };

    static const TmwHighlighterClass Class;

    TmwJScriptSyn();

    TCharSet GetIdentChars() const override;
    std::string GetLanguageName() const override { return "Javascript"; }
    void Next() override;

private:
    static const TProcTable<TmwJScriptSyn>& Procs();
    void SlashProc();
    void NumberProc();
    void DollarProc();
    void HashProc();
    void QuoteProc();
    void SymbolProc();
};
