// A small language for the tests of the highlighter framework and the scanner
// kit: keywords (one pair of them sharing a hash), numbers, strings, symbols
// and a { } comment that spans lines.
#pragma once

#include "highlighters/mwScannerKit.h"

namespace vx::test {

enum TestKind { tkComment, tkIdentifier, tkKey, tkNull, tkNumber, tkSpace, tkString, tkSymbol, tkUnknown };
enum TestRange : std::uint8_t { rsNormal, rsComment };

inline const TmwCharTables& TestTables()
{
    static const TmwCharTables tables = TmwCharTables::Standard(MakeCharSet("_0123456789") |
                                                                CharRangeSet('A', 'Z') | CharRangeSet('a', 'z'));
    return tables;
}

inline const TmwKeywordTable& TestKeywords()
{
    static const TmwKeywordTable keywords(TestTables(), {{"if", tkKey}, {"then", tkKey}, {"else", tkKey},
                                                         {"end", tkKey}, {"x1", tkKey}, {"while", tkComment}});
    return keywords;
}

class TTestSyn : public TmwScannerHighlighter {
public:
    TTestSyn() : TmwScannerHighlighter(TestTables(), &TestKeywords(), {tkNull, tkSpace, tkIdentifier, tkUnknown}, rsNormal)
    {
        comment = MakeAttribute(mwAttrName::Comment, fsItalic);
        auto* identifier = MakeAttribute(mwAttrName::Identifier);
        key = MakeAttribute(mwAttrName::ReservedWord, fsBold);
        auto* number = MakeAttribute(mwAttrName::Number, {}, clBlue);
        space = MakeAttribute(mwAttrName::Space);
        auto* string = MakeAttribute(mwAttrName::String);
        auto* symbol = MakeAttribute(mwAttrName::Symbol);
        RouteAttributeChanges();
        MapKind(tkComment, comment, true);
        MapKind(tkIdentifier, identifier, false);
        MapKind(tkKey, key, false);
        MapKind(tkNumber, number, false);
        MapKind(tkSpace, space, false, true);
        MapKind(tkString, string, true);
        MapKind(tkSymbol, symbol, true);
        MapKind(tkUnknown, symbol, true);
    }

    TmwHighLightAttributes* GetDefaultAttribute(int index) const override
    {
        return index == 0 ? space : index == 1 ? comment : index == 2 ? key : nullptr;
    }
    std::string GetLanguageName() const override { return "Test"; }

    void Next() override
    {
        fTokenPos = Run;
        if (!ContinueBlockComment(kComment))
            Dispatch(Procs());
    }

    TmwHighLightAttributes* comment;
    TmwHighLightAttributes* key;
    TmwHighLightAttributes* space;

private:
    static constexpr TmwBlockComment kComment{"{", "}", tkComment, rsComment, rsNormal};

    static const TProcTable<TTestSyn>& Procs()
    {
        static const TProcTable<TTestSyn> table = [] {
            auto t = CommonProcTable<TTestSyn>(&TTestSyn::UnknownProc);
            SetProcs<TTestSyn>(t, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_", &TTestSyn::IdentProc);
            SetProcs<TTestSyn>(t, "0123456789", &TTestSyn::NumberProc);
            SetProcs<TTestSyn>(t, "\"", &TTestSyn::StringProc);
            SetProcs<TTestSyn>(t, "{", &TTestSyn::CommentOpen);
            SetProcs<TTestSyn>(t, ";,()=+-", &TTestSyn::SymbolProc);
            return t;
        }();
        return table;
    }

    void NumberProc()
    {
        fTokenID = tkNumber;
        while (Cur() >= '0' && Cur() <= '9')
            ++Run;
    }
    void StringProc()
    {
        fTokenID = tkString;
        ++Run;
        if (RunTo("\""))
            ++Run;
    }
    void CommentOpen() { OpenBlockComment(kComment); }
    void SymbolProc()
    {
        fTokenID = tkSymbol;
        ++Run;
    }
};

} // namespace vx::test
