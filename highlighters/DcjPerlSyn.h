// The Perl highlighter: no state across lines, case-sensitive words of four kinds.
#pragma once

#include "highlighters/mwScannerKit.h"

class TDcjPerlSyn : public TmwCodeHighlighter {
public:
    enum TokenKind {
        tkComment, tkIdentifier, tkKey, tkNull, tkNumber, tkOperator,
        tkPragma, tkSpace, tkString, tkSymbol, tkIllegal, tkVariable
    };

    static const TmwHighlighterClass Class;

    TDcjPerlSyn();

    TCharSet GetIdentChars() const override;
    std::string GetLanguageName() const override { return "Perl"; }
    void Next() override;

    TmwHighLightAttributes* InvalidAttri;
    TmwHighLightAttributes* OperatorAttri;
    TmwHighLightAttributes* PragmaAttri;
    TmwHighLightAttributes* VariableAttri;

private:
    static const TProcTable<TDcjPerlSyn>& Procs();
    void CommentProc();
    void DoubleQuoteProc();
    void SingleQuoteProc();
    void WordProc();
    void NumberProc();
    void SymbolProc();
};
