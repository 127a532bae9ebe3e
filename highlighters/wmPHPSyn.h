// The PHP highlighter: the code between PHP's start and end tags.
#pragma once

#include "highlighters/mwScannerKit.h"

class TwmPHPSyn : public TmwCodeHighlighter {
public:
    enum TokenKind {
        tkComment, tkIdentifier, tkInvalidSymbol, tkKey, tkNull, tkNumber,
        tkSpace, tkString, tkSymbol, tkUnknown, tkVariable
    };
    enum Range : std::uint8_t { rsUnknown, rsString39, rsString34, rsComment };

    static const TmwHighlighterClass Class;

    TwmPHPSyn();

    TCharSet GetIdentChars() const override;
    std::string GetLanguageName() const override { return "PHP"; }
    void Next() override;

    TmwHighLightAttributes* InvalidSymbolAttri;
    TmwHighLightAttributes* VariableAttri;

private:
    static const TProcTable<TwmPHPSyn>& Procs();
    void StringBody(char quote, Range range);
    void DoubleQuoteProc();
    void SingleQuoteProc();
    void LineCommentProc();
    void VariableProc();
    void InvalidSymbolProc();
    void SlashProc();
    void NumberProc();
    void SymbolProc();
};
