// The SQL highlighter: comments, strings, numbers and keywords of SQL scripts,
// and the stored colour schemes.
#include "highlighters/wmSQLSyn.h"

namespace {

using T = TwmSQLSyn;

const TmwCharTables& Tables()
{
    // '_' weighs nothing in the hash; the whole word is compared anyway.
    static const TmwCharTables tables = TmwCharTables::Standard(StandardIdentChars(), 0);
    return tables;
}

constexpr TmwBlockComment kComment{"/*", "*/", T::tkComment, T::rsComment, T::rsUnknown};

const TmwKeywordTable& Keywords()
{
    static const TmwKeywordTable keywords(Tables(), T::tkKey,
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
         "VIEW",       "WAIT",      "WHEN",      "WHERE",      "WHILE",       "WITH",        "WORK"});
    return keywords;
}

constexpr std::array<bool, 256> kNumberChars = CharTable(".0123456789ABCDEFXabcdefx_");

} // namespace

const TmwHighlighterClass TwmSQLSyn::Class{"TwmSQLSyn", &CreateHighlighter<TwmSQLSyn>};

TwmSQLSyn::TwmSQLSyn()
    : TmwCodeHighlighter(Tables(), &Keywords(), {tkNull, tkSymbol, tkIdentifier, tkUnknown}, rsUnknown,
                         {tkComment, tkIdentifier, tkKey, tkNumber, -1, tkString, tkSymbol})
{
    RouteAttributeChanges();
    MapKind(tkUnknown, SymbolAttri, true);
    SetDefaultFilter("SQL files (*.sql)|*.sql");
    UseUserSettings(0);
}

void TwmSQLSyn::Next()
{
    fTokenPos = Run;
    if (ContinueBlockComment(kComment))
        return;
    // Any range but an open comment's (which a line break keeps) is forgotten.
    if (fRange != rsComment)
        fRange = rsUnknown;
    Dispatch(Procs());
}

void TwmSQLSyn::DoubleQuoteProc() { QuotedToken(tkString, qtBackslash | qtTripleOpener); }

void TwmSQLSyn::SingleQuoteProc() { QuotedToken(tkString, qtPlain); }

void TwmSQLSyn::LineCommentProc() { TakeToLineBreak(tkComment); }

void TwmSQLSyn::MinusProc()
{
    if (Peek() == '-')
        LineCommentProc();
    else
        SymbolProc();
}

void TwmSQLSyn::SlashProc()
{
    if (Peek() == '*')
        OpenBlockComment(kComment);
    else if (Peek() == '/')
        LineCommentProc();
    else
        SymbolProc();
}

void TwmSQLSyn::NumberProc()
{
    if (Cur() == '.' && !IsDigitChar(Peek()))
        SymbolProc();
    else
        NumberToken(tkNumber, kNumberChars);
}

void TwmSQLSyn::SymbolProc() { TakeToken(tkSymbol); }

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
        // A change hook that fails again while the old colours go back must
        // neither escape nor keep the attributes after it from going back.
        for (size_t i = 0; i < saved.size(); ++i) {
            try {
                attributes[i]->Assign(*saved[i]);
            } catch (const std::exception&) {
            }
        }
        return false;
    }
}

const TwmSQLSyn::TProcTable<TwmSQLSyn>& TwmSQLSyn::Procs()
{
    static const TProcTable<TwmSQLSyn> table = MakeProcTable<TwmSQLSyn>(&T::UnknownProc, {
        {"\"", &T::DoubleQuoteProc},
        {"'", &T::SingleQuoteProc},
        {"#", &T::LineCommentProc},
        {"-", &T::MinusProc},
        {"/", &T::SlashProc},
        {".0123456789", &T::NumberProc},
        {kIdentStartChars, &T::IdentProc},
        {"&()*+,:;<=>?[\\]^|", &T::SymbolProc},
    });
    return table;
}
