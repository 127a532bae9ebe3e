// The VBScript highlighter: keywords, numbers, strings, date literals,
// comments ("'" or "Rem") and symbols. Nothing spans lines.
#pragma once

#include "highlighters/mwScannerKit.h"

class TlbVbsSyn : public TmwCodeHighlighter {
public:
    enum TokenKind { tkComment, tkIdentifier, tkKey, tkNull, tkNumber, tkSpace, tkString, tkSymbol };
    enum Range : std::uint8_t { rsNormal = 1 };

    static const TmwHighlighterClass Class;

    TlbVbsSyn();

    TCharSet GetIdentChars() const override;
    std::string GetLanguageName() const override { return "MS VBScript"; }
    void Next() override;

private:
    static const TProcTable<TlbVbsSyn>& Procs();
    void NumberProc();
    void StringProc();
    void DateProc();
    void CommentProc();
    void WordProc();
    void AmpersandProc();
    void SymbolProc();
};
