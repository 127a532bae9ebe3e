// Every word of every language's keyword lists scans as one token of its kind:
// in the case it is listed and, where the language ignores case, in upper and
// in lower case too; in Perl, which does not, the other case is no keyword.
#include "highlighters/DcjPerlSyn.h"
#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/mwCSSSyn.h"
#include "highlighters/mwJScriptSyn.h"
#include "highlighters/siTCLTKSyn.h"
#include "highlighters/wmPHPSyn.h"
#include "highlighters/wmSQLSyn.h"
#include "platform/AnsiText.h"
#include "tests/highlighters/HighlighterTestSupport.h"

#include <gtest/gtest.h>

#include <span>

using namespace vx::test;

namespace {

const char* const kHtmlTags[] = {
    "!DOCTYPE", "A", "ABBR", "ACRONYM", "ADDRESS", "APPLET", "AREA", "B", "BASE", "BASEFONT", "BGSOUND", "BIG",
    "BLINK", "BLOCKQUOTE", "BODY", "BR", "BUTTON", "CAPTION", "CENTER", "CITE", "CODE", "COL", "COLGROUP",
    "COMMENT", "DD", "DEL", "DFN", "DIR", "DIV", "DL", "DT", "EM", "EMBED", "FIELDSET", "FONT", "FORM", "FRAME",
    "FRAMESET", "H1", "H2", "H3", "H4", "H5", "H6", "HEAD", "HR", "HTML", "I", "IFRAME", "ILAYER", "IMG", "INPUT",
    "INS", "ISINDEX", "KBD", "KEYGEN", "LABEL", "LAYER", "LEGEND", "LI", "LINK", "LISTING", "MAP", "MARQUEE",
    "MENU", "META", "MULTICOL", "NEXTID", "NOBR", "NOEMBED", "NOFRAMES", "NOLAYER", "NOSCRIPT", "OBJECT", "OL",
    "OPTION", "P", "PARAM", "PLAINTEXT", "PRE", "Q", "S", "SAMP", "SCRIPT", "SELECT", "SERVER", "SMALL", "SPACER",
    "SPAN", "STRIKE", "STRONG", "STYLE", "SUB", "SUP", "TABLE", "TBODY", "TD", "TEXTAREA", "TFOOT", "TH", "THEAD",
    "TITLE", "TR", "TT", "U", "UL", "VAR", "WBR", "XMP", "/A", "/ABBR", "/ACRONYM", "/ADDRESS", "/APPLET", "/B",
    "/BIG", "/BLINK", "/BLOCKQUOTE", "/BODY", "/BUTTON", "/CAPTION", "/CENTER", "/CITE", "/CODE", "/COLGROUP",
    "/COMMENT", "/DD", "/DEL", "/DFN", "/DIR", "/DIV", "/DL", "/DT", "/EM", "/EMBED", "/FIELDSET", "/FONT", "/FORM",
    "/FRAMESET", "/H1", "/H2", "/H3", "/H4", "/H5", "/H6", "/HEAD", "/HTML", "/I", "/IFRAME", "/ILAYER", "/INS",
    "/KBD", "/LABEL", "/LAYER", "/LEGEND", "/LI", "/LISTING", "/MAP", "/MARQUEE", "/MENU", "/MULTICOL", "/NOBR",
    "/NOEMBED", "/NOFRAMES", "/NOLAYER", "/NOSCRIPT", "/OBJECT", "/OL", "/OPTION", "/P", "/PRE", "/Q", "/S",
    "/SAMP", "/SCRIPT", "/SELECT", "/SERVER", "/SMALL", "/SPAN", "/STRIKE", "/STRONG", "/STYLE", "/SUB", "/SUP",
    "/TABLE", "/TBODY", "/TD", "/TEXTAREA", "/TFOOT", "/TH", "/THEAD", "/TITLE", "/TR", "/TT", "/U", "/UL", "/VAR",
    "/XMP"
};

const char* const kJScriptWords[] = {
    "abs", "acos", "action", "alert", "alinkColor", "Anchor", "anchors", "appCodeName", "Applet", "applets",
    "appName", "appVersion", "Area", "arguments", "Array", "asin", "atan", "atan2", "back", "bgColor", "big",
    "blink", "blur", "bold", "Boolean", "border", "break", "Button", "caller", "ceil", "charAt", "Checkbox",
    "checked", "clearTimeout", "click", "close", "closed", "comment", "complete", "confirm", "constructor",
    "continue", "cookie", "cos", "current", "Date", "defaultChecked", "defaultSelected", "defaultStatus",
    "defaultValue", "description", "document", "domain", "E", "elements", "else", "embeds", "enabledPlugin",
    "encoding", "escape", "eval", "exp", "fgColor", "filename", "FileUpload", "fixed", "floor", "focus",
    "fontcolor", "fontsize", "for", "Form", "forms", "forward", "Frame", "frames", "Function", "getDate", "getDay",
    "getHours", "getMinutes", "getMonth", "getSeconds", "getTime", "getTimezoneOffset", "getYear", "go", "hash",
    "height", "Hidden", "history", "host", "hostname", "href", "hspace", "if", "Image", "images", "in", "index",
    "indexOf", "isNaN", "italics", "javaEnabled", "join", "lastIndexOf", "lastModified", "length", "Link",
    "linkColor", "links", "LN10", "LN2", "location", "log", "LOG10E", "LOG2E", "loop", "lowsrc", "Math", "max",
    "MAX_VALUE", "method", "MimeType", "mimeTypes", "min", "MIN_VALUE", "name", "NaN", "navigator",
    "NEGATIVE_INFINITY", "new", "next", "Number", "object", "onAbort", "onBlur", "onChange", "onClick", "onError",
    "onFocus", "onLoad", "onMouseOut", "onMouseOver", "onReset", "onSelect", "onSubmit", "onUnload", "open",
    "opener", "Option", "options", "parent", "parse", "parseFloat", "parseInt", "Password", "pathname", "PI",
    "Plugin", "plugins", "port", "POSITIVE_INFINITY", "pow", "previous", "prompt", "property", "protocol",
    "prototype", "Radio", "random", "referrer", "refresh", "reload", "replace", "reset", "return", "reverse",
    "round", "scroll", "search", "Select", "selected", "selectedIndex", "self", "setDate", "setHours", "setMinutes",
    "setMonth", "setSeconds", "setTime", "setTimeout", "setYear", "sin", "small", "sort", "split", "sqrt",
    "SQRT1_2", "SQRT2", "src", "status", "strike", "String", "sub", "submit", "substring", "suffixes", "sup",
    "taint", "taintEnabled", "tan", "target", "Text", "Textarea", "this", "title", "toGMTString", "toLocaleString",
    "toLowerCase", "top", "toString", "toUpperCase", "type", "unescape", "untaint", "URL", "userAgent", "UTC",
    "value", "valueOf", "var", "vlinkColor", "vspace", "while", "width", "window", "with", "write", "writeln"
};

const char* const kVbsWords[] = {
    "And", "Call", "Case", "Class", "Const", "Dim", "Do", "Each", "Else", "End", "Eqv", "Erase", "Error", "Exit",
    "Explicit", "For", "Function", "Get", "If", "Imp", "Is", "Let", "Loop", "Mod", "Next", "Not", "On", "Option",
    "Or", "Private", "property", "Public", "Randomize", "ReDim", "Select", "Set", "Sub", "Then", "Wend",
    "While", "Xor"
};

const char* const kSqlWords[] = {
    "ACTIVE", "AFTER", "ALL", "ALTER", "AND", "ANY", "AS", "ASC", "ASCENDING", "AT", "AUTO", "BASE_NAME", "BEFORE",
    "BEGIN", "BETWEEN", "BY", "CACHE", "CAST", "CHECK", "COLUMN", "COMMIT", "COMMITTED", "COMPUTED", "CONDITIONAL",
    "CONSTRAINT", "CONTAINING", "COUNT", "CREATE", "CURRENT", "CURSOR", "DATABASE", "DEBUG", "DECLARE", "DEFAULT",
    "DELETE", "DESC", "DESCENDING", "DISTINCT", "DO", "DOMAIN", "DROP", "ELSE", "END", "ENTRY_POINT", "ESCAPE",
    "EXCEPTION", "EXECUTE", "EXISTS", "EXIT", "EXTERNAL", "EXTRACT", "FILTER", "FOR", "FOREIGN", "FROM", "FULL",
    "FUNCTION", "GENERATOR", "GRANT", "GROUP", "HAVING", "IF", "IN", "INACTIVE", "INDEX", "INNER", "INSERT", "INTO",
    "IS", "ISOLATION", "JOIN", "KEY", "LEFT", "LEVEL", "LIKE", "MERGE", "NAMES", "NO", "NOT", "NULL", "OF", "ON",
    "ONLY", "OR", "ORDER", "OUTER", "PARAMETER", "PASSWORD", "PLAN", "POSITION", "PRIMARY", "PRIVILEGES",
    "PROCEDURE", "PROTECTED", "READ", "RETAIN", "RETURNS", "REVOKE", "RIGHT", "ROLLBACK", "SCHEMA", "SELECT", "SET",
    "SHADOW", "SHARED", "SNAPSHOT", "SOME", "SUSPEND", "TABLE", "THEN", "TO", "TRANSACTION", "TRIGGER",
    "UNCOMMITTED", "UNION", "UNIQUE", "UPDATE", "USER", "USING", "VIEW", "WAIT", "WHEN", "WHERE", "WHILE", "WITH",
    "WORK"
};

const char* const kPhpWords[] = {
    "and", "array", "break", "case", "cfunction", "class", "const", "continue", "default", "die", "do", "double",
    "echo", "else", "elseif", "empty", "endfor", "endif", "endswitch", "endwhile", "eval", "exit", "extends",
    "false", "float", "for", "function", "global", "highlight_file", "highlight_string", "if", "include", "int",
    "integer", "isset", "list", "new", "object", "old_function", "or", "print", "real", "require", "return",
    "show_source", "static", "string", "switch", "true", "unset", "var", "while", "xor", "__FILE__", "__LINE__"
};

const char* const kCssWords[] = {
    "align", "background", "bottom", "color", "em", "face", "family", "font", "height", "horizontal", "left",
    "line", "margin", "overflow", "padding", "position", "pt", "px", "right", "shape", "size", "text", "top",
    "vertical", "weight", "width"
};

const char* const kPerlKeywords[] = {
    "abs", "accept", "alarm", "atan2", "bind", "binmode", "bless", "caller", "chdir", "chmod", "chomp", "chop",
    "chown", "chr", "chroot", "close", "closedir", "connect", "cos", "crypt", "dbmclose", "dbmopen", "defined",
    "delete", "die", "do", "dump", "each", "else", "elsif", "endgrent", "endhostent", "endnetent", "endprotoent",
    "endpwent", "endservent", "eof", "eval", "exec", "exists", "exit", "exp", "fcntl", "fileno", "flock", "for",
    "foreach", "fork", "format", "formline", "getc", "getgrent", "getgrgid", "getgrnam", "gethostbyaddr",
    "gethostbyname", "gethostent", "getlogin", "getnetbyaddr", "getnetbyname", "getnetent", "getpeername",
    "getpgrp", "getppid", "getpriority", "getprotobyname", "getprotobynumber", "getprotoent", "getpwent",
    "getpwnam", "getpwuid", "getservbyname", "getservbyport", "getservent", "getsockname", "getsockopt", "glob",
    "gmtime", "goto", "grep", "hex", "if", "import", "index", "int", "ioctl", "join", "keys", "kill", "last", "lc",
    "lcfirst", "length", "link", "listen", "local", "localtime", "log", "lstat", "m", "map", "mkdir", "msgctl",
    "msgget", "msgrcv", "msgsnd", "my", "next", "no", "oct", "open", "opendir", "ord", "pack", "package", "pipe",
    "pop", "pos", "print", "push", "q", "qq", "quotemeta", "qw", "qx", "rand", "read", "readdir", "readlink",
    "recv", "redo", "ref", "rename", "require", "reset", "return", "reverse", "rewinddir", "rindex", "rmdir",
    "scalar", "seek", "seekdir", "select", "semctl", "semget", "semop", "send", "setgrent", "sethostent",
    "setnetent", "setpgrp", "setpriority", "setprotoent", "setpwent", "setservent", "setsockopt", "shift", "shmctl",
    "shmget", "shmread", "shmwrite", "shutdown", "sin", "sleep", "socket", "socketpair", "sort", "splice", "split",
    "sprintf", "sqrt", "srand", "stat", "study", "sub", "substr", "symlink", "syscall", "sysread", "system",
    "syswrite", "tell", "telldir", "tie", "time", "times", "tr", "truncate", "uc", "ucfirst", "umask", "undef",
    "unless", "unlink", "unpack", "unshift", "untie", "use", "utime", "values", "vec", "wait", "waitpid",
    "wantarray", "warn", "while", "write"
};

const char* const kPerlOperators[] = {
    "and", "cmp", "eq", "ge", "gt", "le", "lt", "ne", "not", "or", "xor"
};

const char* const kPerlPragmas[] = {
    "constant", "diagnostics", "integer", "less", "locale", "sigtrap", "strict", "subs", "vars"
};

const char* const kPerlVariables[] = {
    "$ACCUMULATOR", "$ARG", "$ARGV", "$BASETIME", "$CHILD_ERROR", "$DEBUGGING", "$EFFECTIVE_GROUP_ID",
    "$EFFECTIVE_USER_ID", "$EGID", "$ENV", "$ERRNO", "$EUID", "$EVAL_ERROR", "$EXECUTABLE_NAME", "$FORMAT_FORMFEED",
    "$FORMAT_LINES_LEFT", "$FORMAT_LINES_PER_PAGE", "$FORMAT_LINE_BREAK_CHARACTERS", "$FORMAT_NAME",
    "$FORMAT_PAGE_NUMBER", "$FORMAT_TOP_NAME", "$GID", "$INPLACE_EDIT", "$INPUT_LINE_NUMBER",
    "$INPUT_RECORD_SEPARATOR", "$LAST_PAREN_MATCH", "$LIST_SEPARATOR", "$MATCH", "$MULTILINE_MATCHING", "$NR",
    "$OFMT", "$ORS", "$OS_ERROR", "$OUTPUT_AUTOFLUSH", "$OUTPUT_FIELD_SEPARATOR", "$PERLDB", "$PERL_VERSION",
    "$PID", "$POSTMATCH", "$PREMATCH", "$PROCESS_ID", "$PROGRAM_NAME", "$REAL_GROUP_ID", "$REAL_USER_ID", "$RS",
    "$SIG", "$SUBSCRIPT_SEPARATOR", "$SUBSEP", "$SYSTEM_FD_MAX", "$UID", "$WARNING", "%INC", "@ARGV", "@INC"
};

const char* const kTclWords[] = {
    "AFTER", "APPEND", "ARRAY", "BELL", "BGERROR", "BINARY", "BIND", "BINDIDPROC", "BINDPROC", "BINDTAGS", "BITMAP",
    "BREAK", "BUTTON", "CANVAS", "CATCH", "CD", "CHECKBUTTON", "CLIPBOARD", "CLOCK", "CLOSE", "CONCAT", "CONTINUE",
    "DESTROY", "ELSE", "ENTRY", "EOF", "ERROR", "EVAL", "EVENT", "EXEC", "EXIT", "EXPR", "FBLOCKED", "FCONFIGURE",
    "FCOPY", "FILE", "FILEEVENT", "FILENAME", "FLUSH", "FOCUS", "FONT", "FOR", "FOREACH", "FORMAT", "FRAME", "GETS",
    "GLOB", "GLOBAL", "GRAB", "GRID", "HISTORY", "HTTP", "IF", "IMAGE", "INCR", "INFO", "INTERP", "JOIN", "LABEL",
    "LAPPEND", "LIBRARY", "LINDEX", "LINSERT", "LIST", "LISTBOX", "LLENGTH", "LOAD", "LOADTK", "LOWER", "LRANGE",
    "LREPLACE", "LSEARCH", "LSORT", "MENU", "MESSAGE", "NAMESPACE", "NAMESPUPD", "OPEN", "OPTION", "OPTIONS",
    "PACK", "PACKAGE", "PHOTO", "PID", "PKG_MKINDEX", "PLACE", "PROC", "PUTS", "PWD", "RADIOBUTTON", "RAISE",
    "READ", "REGEXP", "REGISTRY", "REGSUB", "RENAME", "RESOURCE", "RETURN", "RGB", "SAFEBASE", "SCALE", "SCAN",
    "SEEK", "SELECTION", "SEND", "SENDOUT", "SET", "SOCKET", "SOURCE", "SPLIT", "STRING", "SUBST", "SWITCH", "TCL",
    "TCLVARS", "TELL", "TEXT", "THEN", "TIME", "TK", "TK_BISQUE", "TK_CHOOSECOLOR", "TK_DIALOG",
    "TK_FOCUSFOLLOWSMOUSE", "TK_FOCUSNEXT", "TK_FOCUSPREV", "TK_GETOPENFILE", "TK_GETSAVEFILE", "TK_MESSAGEBOX",
    "TK_OPTIONMENU", "TK_POPUP", "TK_SETPALETTE", "TKERROR", "TKVARS", "TKWAIT", "TOPLEVEL", "TRACE", "UNKNOWN",
    "UNSET", "UPDATE", "UPLEVEL", "UPVAR", "VARIABLE", "VWAIT", "WHILE", "WINFO", "WM"
};

std::string SwapCase(const std::string& word)
{
    std::string swapped = word;
    for (char& c : swapped)
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A')
            : c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return swapped;
}

// Scans each form of each word alone on a line from range and expects one
// token, the whole word, of the form's kind.
void ExpectWordKinds(TmwCustomHighLighter& hl, std::span<const char* const> words, std::int32_t range, int kind,
                     bool ignoresCase, int otherCaseKind = -1)
{
    for (const char* listed : words) {
        std::vector<std::pair<std::string, int>> forms = {{listed, kind}};
        if (ignoresCase) {
            forms.emplace_back(vx::UpperCase(listed), kind);
            forms.emplace_back(vx::LowerCase(listed), kind);
        } else {
            forms.emplace_back(SwapCase(listed), otherCaseKind);
        }
        for (const auto& [word, expected] : forms) {
            const auto tokens = Scan(hl, word, range);
            ASSERT_FALSE(tokens.empty()) << word;
            EXPECT_EQ(tokens[0].text, word);
            EXPECT_EQ(tokens[0].kind, expected) << word;
        }
    }
}

} // namespace

TEST(LanguageWordLists, HtmlTagNamesOpeningAndClosing)
{
    ThkHTMLSyn hl;
    ExpectWordKinds(hl, kHtmlTags, ThkHTMLSyn::rsKey, ThkHTMLSyn::tkKey, true);
}

TEST(LanguageWordLists, JScriptKeywordsAndObjectNames)
{
    TmwJScriptSyn hl;
    ExpectWordKinds(hl, kJScriptWords, TmwJScriptSyn::rsNormal, TmwJScriptSyn::tkKey, true);
}

TEST(LanguageWordLists, VbsKeywords)
{
    TlbVbsSyn hl;
    ExpectWordKinds(hl, kVbsWords, TlbVbsSyn::rsNormal, TlbVbsSyn::tkKey, true);
}

TEST(LanguageWordLists, SqlKeywords)
{
    TwmSQLSyn hl;
    ExpectWordKinds(hl, kSqlWords, TwmSQLSyn::rsUnknown, TwmSQLSyn::tkKey, true);
}

TEST(LanguageWordLists, PhpKeywords)
{
    TwmPHPSyn hl;
    ExpectWordKinds(hl, kPhpWords, TwmPHPSyn::rsUnknown, TwmPHPSyn::tkKey, true);
}

TEST(LanguageWordLists, CssPropertyPartsAndUnits)
{
    TmwCSSSyn hl;
    ExpectWordKinds(hl, kCssWords, TmwCSSSyn::rsNormal, TmwCSSSyn::tkKey, true);
}

TEST(LanguageWordLists, PerlWordsOfFourKindsExactlyAsWritten)
{
    using P = TDcjPerlSyn;
    P hl;
    ExpectWordKinds(hl, kPerlKeywords, 0, P::tkKey, false, P::tkIdentifier);
    ExpectWordKinds(hl, kPerlOperators, 0, P::tkOperator, false, P::tkIdentifier);
    ExpectWordKinds(hl, kPerlPragmas, 0, P::tkPragma, false, P::tkIdentifier);
    ExpectWordKinds(hl, kPerlVariables, 0, P::tkVariable, false, P::tkIdentifier);
}

TEST(LanguageWordLists, TclBuiltInWordsInAnyCase)
{
    TsiTCLTKSyn hl;
    EXPECT_EQ(hl.KeyWords().Count(), static_cast<int>(std::size(kTclWords)));
    ExpectWordKinds(hl, kTclWords, TsiTCLTKSyn::rsUnKnown, TsiTCLTKSyn::tkKey, true);
}
