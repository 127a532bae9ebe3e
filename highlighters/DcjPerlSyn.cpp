// The Perl highlighter: comments, strings, numbers, operators, and words that
// are keywords, word operators, pragmas or special variables, exactly as written.
#include "highlighters/DcjPerlSyn.h"

namespace {

using T = TDcjPerlSyn;

const TCharSet& HashRunChars()
{
    static const TCharSet chars = StandardIdentChars() | MakeCharSet("$%@");
    return chars;
}

// The hash sums raw character codes over "$%@", digits, letters and '_';
// identifiers continue over digits, letters and '_' (letters outside ASCII included).
const TmwCharTables& Tables()
{
    static const TmwCharTables tables = [] {
        TmwCharTables t;
        for (int c = 0; c < 256; ++c) {
            auto i = static_cast<size_t>(c);
            t.HashChars[i] = HashRunChars()[i];
            t.Identifiers[i] = t.HashChars[i] && c != '$' && c != '%' && c != '@';
            t.mHashTable[i] = t.HashChars[i] ? c : 0;
        }
        return t;
    }();
    return tables;
}

const TmwKeywordTable& Words()
{
    static const TmwKeywordTable table = [] {
        using K = TmwKeywordTable;
        std::vector<K::TKeyword> w;
        K::AddWords(w, T::tkKey,
            {"abs", "accept", "alarm", "atan2", "bind", "binmode", "bless", "caller", "chdir", "chmod", "chomp",
             "chop", "chown", "chr", "chroot", "close", "closedir", "connect", "cos", "crypt", "dbmclose",
             "dbmopen", "defined", "delete", "die", "do", "dump", "each", "else", "elsif", "endgrent",
             "endhostent", "endnetent", "endprotoent", "endpwent", "endservent", "eof", "eval", "exec", "exists",
             "exit", "exp", "fcntl", "fileno", "flock", "for", "foreach", "fork", "format", "formline", "getc",
             "getgrent", "getgrgid", "getgrnam", "gethostbyaddr", "gethostbyname", "gethostent", "getlogin",
             "getnetbyaddr", "getnetbyname", "getnetent", "getpeername", "getpgrp", "getppid", "getpriority",
             "getprotobyname", "getprotobynumber", "getprotoent", "getpwent", "getpwnam", "getpwuid",
             "getservbyname", "getservbyport", "getservent", "getsockname", "getsockopt", "glob", "gmtime",
             "goto", "grep", "hex", "if", "import", "index", "int", "ioctl", "join", "keys", "kill", "last",
             "lc", "lcfirst", "length", "link", "listen", "local", "localtime", "log", "lstat", "m", "map",
             "mkdir", "msgctl", "msgget", "msgrcv", "msgsnd", "my", "next", "no", "oct", "open", "opendir",
             "ord", "pack", "package", "pipe", "pop", "pos", "print", "push", "q", "qq", "quotemeta", "qw",
             "qx", "rand", "read", "readdir", "readlink", "recv", "redo", "ref", "rename", "require", "reset",
             "return", "reverse", "rewinddir", "rindex", "rmdir", "scalar", "seek", "seekdir", "select",
             "semctl", "semget", "semop", "send", "setgrent", "sethostent", "setnetent", "setpgrp",
             "setpriority", "setprotoent", "setpwent", "setservent", "setsockopt", "shift", "shmctl", "shmget",
             "shmread", "shmwrite", "shutdown", "sin", "sleep", "socket", "socketpair", "sort", "splice",
             "split", "sprintf", "sqrt", "srand", "stat", "study", "sub", "substr", "symlink", "syscall",
             "sysread", "system", "syswrite", "tell", "telldir", "tie", "time", "times", "tr", "truncate", "uc",
             "ucfirst", "umask", "undef", "unless", "unlink", "unpack", "unshift", "untie", "use", "utime",
             "values", "vec", "wait", "waitpid", "wantarray", "warn", "while", "write"});
        K::AddWords(w, T::tkOperator, {"and", "cmp", "eq", "ge", "gt", "le", "lt", "ne", "not", "or", "xor"});
        K::AddWords(w, T::tkPragma,
            {"constant", "diagnostics", "integer", "less", "locale", "sigtrap", "strict", "subs", "vars"});
        K::AddWords(w, T::tkVariable,
            {"$ACCUMULATOR", "$ARG", "$ARGV", "$BASETIME", "$CHILD_ERROR", "$DEBUGGING", "$EFFECTIVE_GROUP_ID",
             "$EFFECTIVE_USER_ID", "$EGID", "$ENV", "$ERRNO", "$EUID", "$EVAL_ERROR", "$EXECUTABLE_NAME",
             "$FORMAT_FORMFEED", "$FORMAT_LINES_LEFT", "$FORMAT_LINES_PER_PAGE", "$FORMAT_LINE_BREAK_CHARACTERS",
             "$FORMAT_NAME", "$FORMAT_PAGE_NUMBER", "$FORMAT_TOP_NAME", "$GID", "$INPLACE_EDIT",
             "$INPUT_LINE_NUMBER", "$INPUT_RECORD_SEPARATOR", "$LAST_PAREN_MATCH", "$LIST_SEPARATOR", "$MATCH",
             "$MULTILINE_MATCHING", "$NR", "$OFMT", "$ORS", "$OS_ERROR", "$OUTPUT_AUTOFLUSH",
             "$OUTPUT_FIELD_SEPARATOR", "$PERLDB", "$PERL_VERSION", "$PID", "$POSTMATCH", "$PREMATCH",
             "$PROCESS_ID", "$PROGRAM_NAME", "$REAL_GROUP_ID", "$REAL_USER_ID", "$RS", "$SIG",
             "$SUBSCRIPT_SEPARATOR", "$SUBSEP", "$SYSTEM_FD_MAX", "$UID", "$WARNING", "%INC", "@ARGV", "@INC"});
        return TmwKeywordTable(Tables(), w, true);
    }();
    return table;
}

const TmwOperatorTable& Operators()
{
    static const TmwOperatorTable ops({"!=", "!~", "&&=", "&&", "&=", "**=", "**", "*=", "++", "+=", "--", "-=",
                                       "->", "/=", "^=", "::", "<<=", "<<", "<=>", "<=", "==", "=>", "=~", ">=",
                                       ">>=", ">>", "|=", "||=", "||", "...", "..", ".="});
    return ops;
}

constexpr std::array<bool, 256> kNumberChars = CharTable(".0123456789ABCDEFXabcdefx_");

// What may follow "$" in a two-character special variable.
const TCharSet& SpecialAfterDollar()
{
    static const TCharSet chars = CharRangeSet('0', '9') | MakeCharSet("!\"#$%&'()*+-./:;<=>?@[\\]_`|~");
    return chars;
}

} // namespace

const TmwHighlighterClass TDcjPerlSyn::Class{"TDcjPerlSyn", &CreateHighlighter<TDcjPerlSyn>};

TDcjPerlSyn::TDcjPerlSyn()
    : TmwCodeHighlighter(Tables(), &Words(), {tkNull, tkSpace, tkIdentifier, tkIllegal}, 0,
                         {tkComment, tkIdentifier, tkKey, tkNumber, tkSpace, tkString, tkSymbol})
{
    SpaceAttri->SetForeground(clWindow);
    InvalidAttri = MakeAttribute(mwAttrName::IllegalChar);
    OperatorAttri = MakeAttribute(mwAttrName::Operator);
    PragmaAttri = MakeAttribute(mwAttrName::Pragma, fsBold);
    VariableAttri = MakeAttribute(mwAttrName::Variable, fsBold);
    RouteAttributeChanges();
    MapKind(tkOperator, OperatorAttri, false);
    MapKind(tkPragma, PragmaAttri, false);
    MapKind(tkIllegal, InvalidAttri, true);
    ExportKindAs(tkIllegal, SymbolAttri);
    MapKind(tkVariable, VariableAttri, true); // "$" and a backslash make one
    SetDefaultFilter("Perl files (*.pl,*.pm,*.cgi)|*.pl;*.pm;*.cgi");
}

TCharSet TDcjPerlSyn::GetIdentChars() const { return HashRunChars(); }

void TDcjPerlSyn::Next()
{
    fTokenPos = Run;
    Dispatch(Procs());
}

void TDcjPerlSyn::CommentProc() { TakeToLineBreak(tkComment); }

void TDcjPerlSyn::DoubleQuoteProc() { QuotedToken(tkString, qtBackslash | qtTripleOpener); }

// Single quotes take \' and \\ in, so a backslash keeps the next character in the string.
void TDcjPerlSyn::SingleQuoteProc() { QuotedToken(tkString, qtBackslash); }

void TDcjPerlSyn::WordProc()
{
    char c = Cur();
    char next = Peek();
    bool lastOnLine = Run + 1 >= fLineLen;
    if (c == '$' && !lastOnLine && InSet(SpecialAfterDollar(), next))
        return TakeToken(tkVariable, 2);
    if (c == '$' && next == '^' && !lastOnLine) {
        bool named = Run + 2 < fLineLen && std::string_view("ADFILPTWX").find(Peek(2)) != std::string_view::npos;
        if (named)
            return TakeToken(tkVariable, 3);
        if (Run + 2 >= fLineLen)
            return TakeToken(tkVariable, 2);
    }
    if ((c == '%' || c == 'x') && lastOnLine)
        return TakeToken(tkSymbol, 1);
    if ((c == '%' || c == 'x') && next == '=')
        return TakeToken(tkSymbol, 2);
    IdentProc();
}

void TDcjPerlSyn::NumberProc()
{
    if (Cur() == '.' && !IsDigitChar(Peek()))
        SymbolProc(); // concatenation and ranges: ".", "..", "...", ".="
    else
        NumberToken(tkNumber, kNumberChars);
}

void TDcjPerlSyn::SymbolProc() { OperatorToken(tkSymbol, Operators()); }

const TDcjPerlSyn::TProcTable<TDcjPerlSyn>& TDcjPerlSyn::Procs()
{
    static const TProcTable<TDcjPerlSyn> table = MakeProcTable<TDcjPerlSyn>(&T::UnknownProc, {
        {"#", &T::CommentProc},
        {"\"", &T::DoubleQuoteProc},
        {"'", &T::SingleQuoteProc},
        {"$%@", &T::WordProc},
        {kIdentStartChars, &T::WordProc},
        {".0123456789", &T::NumberProc},
        {"!&*+-/^:<=>|(),;?[\\]{}~", &T::SymbolProc},
    });
    return table;
}
