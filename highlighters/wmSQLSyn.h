// The SQL highlighter, with named colour schemes read from the registry store.
#pragma once

#include "highlighters/mwScannerKit.h"

class TwmSQLSyn : public TmwCodeHighlighter {
public:
    enum TokenKind { tkComment, tkIdentifier, tkKey, tkNull, tkNumber, tkString, tkSymbol, tkUnknown };
    enum Range : std::uint8_t { rsComment = 1, rsUnknown = 2 };

    static const TmwHighlighterClass Class;
    // Where the schemes live, one subkey each, under HKEY_CURRENT_USER.
    static constexpr char SchemesKey[] = "\\Software\\Vellumix\\Highlighters\\SQL\\";

    // Applies the first stored scheme, when there is one.
    TwmSQLSyn();

    std::string GetLanguageName() const override { return "SQL"; }
    unsigned GetCapability() const override { return hcUserSettings | hcRegistry | hcExportable; }
    void Next() override;
    // The names of the stored schemes; settings stays as it was when there is no scheme key.
    void EnumUserSettings(TStrings& settings) override;
    // Applies scheme number settingIndex; on any failure every attribute is as before.
    bool UseUserSettings(int settingIndex) override;

private:
    static const TProcTable<TwmSQLSyn>& Procs();
    void DoubleQuoteProc();
    void SingleQuoteProc();
    void LineCommentProc();
    void MinusProc();
    void SlashProc();
    void NumberProc();
    void SymbolProc();
};
