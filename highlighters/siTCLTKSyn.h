// The Tcl/Tk highlighter, whose keywords are two editable sorted word lists.
#pragma once

#include "highlighters/mwScannerKit.h"

class TsiTCLTKSyn : public TmwCodeHighlighter {
public:
    enum TokenKind {
        tkComment, tkIdentifier, tkKey, tkNull, tkNumber, tkSpace, tkString, tkSymbol, tkUnknown, tkSecondKey
    };
    // 1..3 continue a comment closed by "*)", "}" and "*/"; 4 is normal.
    enum Range : std::uint8_t { rsAnsi = 1, rsPasStyle = 2, rsCStyle = 3, rsUnKnown = 4 };

    static const TmwHighlighterClass Class;

    TsiTCLTKSyn();

    std::string GetLanguageName() const override { return "Tcl/Tk"; }
    void Next() override;
    // The attributes and the "KeyWords" value of the key. Words loaded are
    // upper-cased, as the look-up needs them.
    bool LoadFromRegistry(HKEY rootKey, const std::string& key) override;
    bool SaveToRegistry(HKEY rootKey, const std::string& key) override;

    const TStringList& KeyWords() const { return keyWords_; }
    const TStringList& SecondKeyWords() const { return secondKeyWords_; }
    // Upper-cases the items of value in place, takes a sorted copy without
    // duplicates, and tells the hooked editors.
    void SetKeyWords(TStrings& value);
    void SetSecondKeyWords(TStrings& value);

    TmwHighLightAttributes* SecondKeyAttri;

private:
    static const TProcTable<TsiTCLTKSyn>& Procs();
    void SetWords(TStringList& own, TStrings& value);
    // Rebuilds the look-up copies of both lists.
    void IndexWords();
    void StringProc();
    void HashProc();
    void SlashProc();
    void SymbolProc();
    void NumberProc();
    void WordProc();

    TStringList keyWords_;
    TStringList secondKeyWords_;
    // The lists' words in byte order, searched for the exact upper-case word.
    std::vector<std::string> keyIndex_;
    std::vector<std::string> secondKeyIndex_;
    std::string word_; // the current word in upper case; reused, so scanning allocates nothing
};
