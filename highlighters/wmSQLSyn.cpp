// The SQL highlighter: comments, strings, numbers and keywords of SQL scripts,
// and the stored colour schemes.
#include "highlighters/wmSQLSyn.h"

namespace {

using T = TwmSQLSyn;

const TmwCharTables& Tables()
{
    // '_' weighs nothing in the hash; the whole word is compared anyway.
    static const TmwCharTables tables = TmwCharTables::Standard(
        CharRangeSet('0', '9') | CharRangeSet('A', 'Z') | CharRangeSet('a', 'z') | MakeCharSet("_"), 0);
    return tables;
}

const TmwKeywordTable& Keywords()
{
    static const TmwKeywordTable keywords = [] {
        std::vector<TmwKeywordTable::TKeyword> words;
        for (const char* w :
             {"ACTIVE",     "AFTER",     "ALL",       "ALTER",      "AND",         "ANY",         "AS",
              "ASC",        "ASCENDING", "AT",        "AUTO",       "BASE_NAME",   "BEFORE",      "BEGIN",
              "BETWEEN",    "BY",        "CACHE",     "CAST",       "CHECK",       "COLUMN",      "COMMIT",
              "COMMITTED",  "COMPUTED",  "CONDITIONAL", "CONSTRAINT", "CONTAINING", "COUNT",      "CREATE",
              "CURRENT",    "CURSOR",    "DATABASE",  "DEBUG",      "DECLARE",     "DEFAULT",     "DELETE",
              "DESC",       "DESCENDING", "DISTINCT", "DO",         "DOMAIN",      "DROP",        "ELSE",
              "END",        "ENTRY_POINT", "ESCAPE",  "EXCEPTION",  "EXECUTE",     "EXISTS",      "EXIT",
              "EXTERNAL",   "EXTRACT",   "FILTER",    "FOR",        "FOREIGN",     "FROM",        "FULL",
              "FUNCTION",   "GENERATOR", "GRANT",     "GROUP",      "HAVING",      "IF",          "IN",
              "INACTIVE",   "INDEX",     "INNER",     "INSERT",     "INTO",        "IS",          "ISOLATION",
              "JOIN",       "KEY",       "LEFT",      "LEVEL",      "LIKE",        "MERGE",       "NAMES",
              "NO",         "NOT",       "NULL",      "OF",         "ON",          "ONLY",        "OR",
              "ORDER",      "OUTER",     "PARAMETER", "PASSWORD",   "PLAN",        "POSITION",    "PRIMARY",
              "PRIVILEGES", "PROCEDURE", "PROTECTED", "READ",       "RETAIN",      "RETURNS",     "REVOKE",
              "RIGHT",      "ROLLBACK",  "SCHEMA",    "SELECT",     "SET",         "SHADOW",      "SHARED",
              "SNAPSHOT",   "SOME",      "SUSPEND",   "TABLE",      "THEN",        "TO",          "TRANSACTION",
              "TRIGGER",    "UNCOMMITTED", "UNION",   "UNIQUE",     "UPDATE",      "USER",        "USING",
              "VIEW",       "WAIT",      "WHEN",      "WHERE",      "WHILE",       "WITH",        "WORK"})
            words.push_back({w, T::tkKey});
        return TmwKeywordTable(Tables(), words);
    }();
    return keywords;
}

const std::array<bool, 256>& NumberChars()
{
    static const std::array<bool, 256> chars = [] {
        std::array<bool, 256> a{};
        for (unsigned char c : std::string_view(".0123456789ABCDEFXabcdefx_"))
            a[c] = true;
        return a;
    }();
    return chars;
}

std::unique_ptr<TmwCustomHighLighter> Create() { return std::make_unique<TwmSQLSyn>(); }

} // namespace

const TmwHighlighterClass TwmSQLSyn::Class{"TwmSQLSyn", &Create};

TwmSQLSyn::TwmSQLSyn()
    : TmwScannerHighlighter(Tables(), &Keywords(), {tkNull, tkSymbol, tkIdentifier, tkUnknown}, rsUnknown)
{
    CommentAttri = MakeAttribute(mwAttrName::Comment, fsItalic);
    IdentifierAttri = MakeAttribute(mwAttrName::Identifier);
    KeyAttri = MakeAttribute(mwAttrName::ReservedWord, fsBold);
    NumberAttri = MakeAttribute(mwAttrName::Number);
    StringAttri = MakeAttribute(mwAttrName::String);
    SymbolAttri = MakeAttribute(mwAttrName::Symbol);
    RouteAttributeChanges();
    MapKind(tkComment, CommentAttri, true);
    MapKind(tkIdentifier, IdentifierAttri, false);
    MapKind(tkKey, KeyAttri, false);
    MapKind(tkNumber, NumberAttri, false);
    MapKind(tkString, StringAttri, true);
    MapKind(tkSymbol, SymbolAttri, true);
    MapKind(tkUnknown, SymbolAttri, true);
    SetDefaultFilter("SQL files (*.sql)|*.sql");
    UseUserSettings(0);
}

void TwmSQLSyn::Next()
{
    fTokenPos = Run;
    if (fRange == rsComment) {
        if (AtLineBreak())
            Dispatch(Procs());
        else
            CommentBody();
        return;
    }
    fRange = rsUnknown;
    Dispatch(Procs());
}

TmwHighLightAttributes* TwmSQLSyn::GetDefaultAttribute(int index) const
{
    switch (index) {
    case 1: return CommentAttri;
    case 2: return KeyAttri;
    default: return nullptr;
    }
}

void TwmSQLSyn::CommentBody()
{
    fTokenID = tkComment;
    if (RunTo("*/")) {
        Run += 2;
        fRange = rsUnknown;
    }
}

void TwmSQLSyn::DoubleQuoteProc()
{
    fTokenID = tkString;
    // A string opened by three quotes is not closed by the second and third.
    if (Peek(1) == '"' && Peek(2) == '"')
        Run += 2;
    ++Run;
    ScanQuoted('"', true);
}

void TwmSQLSyn::SingleQuoteProc()
{
    fTokenID = tkString;
    ++Run;
    ScanQuoted('\'', false);
}

void TwmSQLSyn::LineCommentProc()
{
    fTokenID = tkComment;
    RunToLineBreak();
}

void TwmSQLSyn::MinusProc()
{
    if (Peek() == '-')
        LineCommentProc();
    else
        SymbolProc();
}

void TwmSQLSyn::SlashProc()
{
    if (Peek() == '*') {
        // The scan starts after the opener, so "/*/" leaves the comment open.
        fRange = rsComment;
        Run += 2;
        CommentBody();
    } else if (Peek() == '/') {
        LineCommentProc();
    } else {
        SymbolProc();
    }
}

void TwmSQLSyn::NumberProc()
{
    if (Cur() == '.' && !(Peek() >= '0' && Peek() <= '9')) {
        SymbolProc();
        return;
    }
    fTokenID = tkNumber;
    ++Run;
    ScanNumberBody(NumberChars());
}

void TwmSQLSyn::SymbolProc()
{
    fTokenID = tkSymbol;
    ++Run;
}

void TwmSQLSyn::EnumUserSettings(TStrings& settings)
{
    TBetterRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.OpenKeyReadOnly(SchemesKey)) {
        reg.GetKeyNames(settings);
        reg.CloseKey();
    }
}

bool TwmSQLSyn::UseUserSettings(int settingIndex)
{
    TStringList names;
    try {
        EnumUserSettings(names);
    } catch (const Exception&) {
        return false;
    }
    if (settingIndex < 0 || settingIndex >= names.Count())
        return false;
    TmwHighLightAttributes* attributes[] = {CommentAttri, IdentifierAttri, KeyAttri,
                                            NumberAttri,  StringAttri,     SymbolAttri};
    std::vector<std::unique_ptr<TmwHighLightAttributes>> saved;
    for (auto* a : attributes) {
        saved.push_back(std::make_unique<TmwHighLightAttributes>(a->Name()));
        saved.back()->Assign(*a);
    }
    try {
        std::string scheme = std::string(SchemesKey) + names[settingIndex];
        for (auto* a : attributes) {
            TBetterRegistry reg;
            reg.SetRootKey(HKEY_CURRENT_USER);
            if (reg.OpenKeyReadOnly(scheme))
                a->LoadFromRegistry(reg); // a missing attribute keeps its colours
        }
        return true;
    } catch (const std::exception&) {
        for (size_t i = 0; i < saved.size(); ++i)
            attributes[i]->Assign(*saved[i]);
        return false;
    }
}

const TwmSQLSyn::TProcTable<TwmSQLSyn>& TwmSQLSyn::Procs()
{
    static const TProcTable<TwmSQLSyn> table = [] {
        auto t = CommonProcTable<TwmSQLSyn>(&T::UnknownProc);
        SetProcs<TwmSQLSyn>(t, "\"", &T::DoubleQuoteProc);
        SetProcs<TwmSQLSyn>(t, "'", &T::SingleQuoteProc);
        SetProcs<TwmSQLSyn>(t, "#", &T::LineCommentProc);
        SetProcs<TwmSQLSyn>(t, "-", &T::MinusProc);
        SetProcs<TwmSQLSyn>(t, "/", &T::SlashProc);
        SetProcs<TwmSQLSyn>(t, ".0123456789", &T::NumberProc);
        SetProcs<TwmSQLSyn>(t, "ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz", &T::IdentProc);
        SetProcs<TwmSQLSyn>(t, "&()*+,:;<=>?[\\]^|", &T::SymbolProc);
        return t;
    }();
    return table;
}
