// The HTML highlighter: text between tags, tag names, attribute names and
// values, comments, character entities and "<%" server blocks.
#pragma once

#include "highlighters/mwScannerKit.h"

class ThkHTMLSyn : public TmwScannerHighlighter {
public:
    enum TokenKind {
        tkAmpersand, tkAsp, tkComment, tkIdentifier, tkKey, tkNull,
        tkSpace, tkString, tkSymbol, tkText, tkUndefKey, tkValue
    };
    enum Range : std::uint8_t {
        rsAmpersand = 0, // an entity follows the text token just delivered
        rsASP = 1,
        rsComment = 2,
        rsKey = 3,       // after "<": the tag name comes next
        rsParam = 4,     // inside a tag, after its name
        rsText = 5,
        rsValue = 7,     // inside a tag after "=": a value comes next
    };

    static const TmwHighlighterClass Class;
    // The character entities, in the order they are looked for.
    static const std::vector<std::string>& Entities();

    ThkHTMLSyn();

    TCharSet GetIdentChars() const override;
    std::string GetLanguageName() const override { return "HTML Document"; }
    void Next() override;
    // Each of these forgets an entity found but not yet delivered.
    void SetLine(const std::string& NewValue, int LineNumber) override;
    void SetLineForExport(const std::string& NewValue) override;
    void SetRange(std::int32_t value) override;
    void ResetRange() override;

    TmwHighLightAttributes* ASPAttri;
    TmwHighLightAttributes* IdentifierAttri;
    TmwHighLightAttributes* SymbolAttri;
    TmwHighLightAttributes* TextAttri;
    TmwHighLightAttributes* UndefKeyAttri;
    TmwHighLightAttributes* ValueAttri;
    TmwHighLightAttributes* AndAttri;

private:
    static const TProcTable<ThkHTMLSyn>& Procs();

    // Index of the first entity written at position at, or -1.
    int FindEntity(int at) const;
    void DeliverEntity(int index);
    // The kind of the tag name at Run; fStringLen is its length (0 when none starts there).
    int TagKind();
    // An "<%" block or a "<!--" comment, up to ">" after closer ("%" or "--").
    void BlockProc(int kind, std::string_view closer);
    std::int32_t ScanExtra() const override { return fAndCode; }
    void SetScanExtra(std::int32_t value) override { fAndCode = value; }

    void TextProc();
    void TagSpaceProc();
    void StringProc();
    void AmpersandProc();
    void OpenProc();
    void EqualsProc();
    void CloseProc();
    void WordProc();

    int fAndCode = -1; // the entity found by the text scan and delivered next, or -1
};
