// The Tcl/Tk highlighter: comments, strings, numbers and words looked up in
// the two word lists, which are stored in the registry with the attributes.
#include "highlighters/siTCLTKSyn.h"

#include "platform/AnsiText.h"

#include <algorithm>

namespace {

using T = TsiTCLTKSyn;

// The comments by the range that continues them.
constexpr TmwBlockComment kComments[] = {
    {"(*", "*)", T::tkComment, T::rsAnsi, T::rsUnKnown},
    {"{", "}", T::tkComment, T::rsPasStyle, T::rsUnKnown},
    {"/*", "*/", T::tkComment, T::rsCStyle, T::rsUnKnown},
};

constexpr std::array<bool, 256> kNumberChars = CharTable(".0123456789Ee");

constexpr const char* kBuiltInWords[] = {
    "AFTER", "APPEND", "ARRAY", "BELL", "BGERROR", "BINARY", "BIND", "BINDIDPROC", "BINDPROC", "BINDTAGS",
    "BITMAP", "BREAK", "BUTTON", "CANVAS", "CATCH", "CD", "CHECKBUTTON", "CLIPBOARD", "CLOCK", "CLOSE", "CONCAT",
    "CONTINUE", "DESTROY", "ELSE", "ENTRY", "EOF", "ERROR", "EVAL", "EVENT", "EXEC", "EXIT", "EXPR", "FBLOCKED",
    "FCONFIGURE", "FCOPY", "FILE", "FILEEVENT", "FILENAME", "FLUSH", "FOCUS", "FONT", "FOR", "FOREACH", "FORMAT",
    "FRAME", "GETS", "GLOB", "GLOBAL", "GRAB", "GRID", "HISTORY", "HTTP", "IF", "IMAGE", "INCR", "INFO", "INTERP",
    "JOIN", "LABEL", "LAPPEND", "LIBRARY", "LINDEX", "LINSERT", "LIST", "LISTBOX", "LLENGTH", "LOAD", "LOADTK",
    "LOWER", "LRANGE", "LREPLACE", "LSEARCH", "LSORT", "MENU", "MESSAGE", "NAMESPACE", "NAMESPUPD", "OPEN",
    "OPTION", "OPTIONS", "PACK", "PACKAGE", "PHOTO", "PID", "PKG_MKINDEX", "PLACE", "PROC", "PUTS", "PWD",
    "RADIOBUTTON", "RAISE", "READ", "REGEXP", "REGISTRY", "REGSUB", "RENAME", "RESOURCE", "RETURN", "RGB",
    "SAFEBASE", "SCALE", "SCAN", "SEEK", "SELECTION", "SEND", "SENDOUT", "SET", "SOCKET", "SOURCE", "SPLIT",
    "STRING", "SUBST", "SWITCH", "TCL", "TCLVARS", "TELL", "TEXT", "THEN", "TIME", "TK", "TK_BISQUE",
    "TK_CHOOSECOLOR", "TK_DIALOG", "TK_FOCUSFOLLOWSMOUSE", "TK_FOCUSNEXT", "TK_FOCUSPREV", "TK_GETOPENFILE",
    "TK_GETSAVEFILE", "TK_MESSAGEBOX", "TK_OPTIONMENU", "TK_POPUP", "TK_SETPALETTE", "TKERROR", "TKVARS",
    "TKWAIT", "TOPLEVEL", "TRACE", "UNKNOWN", "UNSET", "UPDATE", "UPLEVEL", "UPVAR", "VARIABLE", "VWAIT", "WHILE",
    "WINFO", "WM"};

void MakeWordList(TStringList& list)
{
    list.SetSorted(true);
    list.SetDuplicates(TDuplicates::dupIgnore);
}

// Upper-cases every item in place, keeping a sorted list sorted.
void UpperCaseItems(TStrings& list)
{
    bool sorted = list.Sorted();
    list.BeginUpdate();
    list.SetSorted(false);
    for (int i = 0; i < list.Count(); ++i)
        list.Put(i, vx::UpperCase(list[i]));
    list.SetSorted(sorted);
    list.EndUpdate();
}

std::vector<std::string> SortedWords(const TStringList& list)
{
    std::vector<std::string> words;
    for (int i = 0; i < list.Count(); ++i)
        words.push_back(list[i]);
    std::sort(words.begin(), words.end());
    return words;
}

bool Holds(const std::vector<std::string>& index, const std::string& word)
{
    return std::binary_search(index.begin(), index.end(), word);
}

} // namespace

const TmwHighlighterClass TsiTCLTKSyn::Class{"TsiTCLTKSyn", &CreateHighlighter<TsiTCLTKSyn>};

TsiTCLTKSyn::TsiTCLTKSyn()
    : TmwCodeHighlighter(TmwCharTables::Common(), nullptr, {tkNull, tkSpace, tkIdentifier, tkUnknown}, rsUnKnown,
                         {tkComment, tkIdentifier, tkKey, tkNumber, tkSpace, tkString, tkSymbol})
{
    MakeWordList(keyWords_);
    MakeWordList(secondKeyWords_);
    keyWords_.BeginUpdate();
    for (const char* w : kBuiltInWords)
        keyWords_.Add(w);
    keyWords_.EndUpdate();
    IndexWords();
    SecondKeyAttri = MakeAttribute(mwAttrName::SecondReservedWord, fsBold);
    RouteAttributeChanges();
    // The word lists are the user's: their words may hold letters outside ASCII.
    MapKind(tkKey, KeyAttri, true);
    MapKind(tkSecondKey, SecondKeyAttri, true);
    MapKind(tkUnknown, SymbolAttri, true);
    SetDefaultFilter("Tcl/Tk files (*.tcl)|*.tcl");
}

void TsiTCLTKSyn::Next()
{
    fTokenPos = Run;
    if (fRange >= rsAnsi && fRange <= rsCStyle && ContinueBlockComment(kComments[fRange - rsAnsi]))
        return;
    Dispatch(Procs());
}

// A backslash quotes the next character, as Tcl's substitution does.
void TsiTCLTKSyn::StringProc() { QuotedToken(tkString, qtBackslash | qtTripleOpener); }

void TsiTCLTKSyn::HashProc() { TakeToLineBreak(tkComment); }

void TsiTCLTKSyn::SlashProc()
{
    if (Peek() == '/')
        HashProc();
    else if (Peek() == '*')
        OpenBlockComment(kComments[rsCStyle - rsAnsi]);
    else
        SymbolProc();
}

void TsiTCLTKSyn::SymbolProc() { TakeToken(tkSymbol); }

void TsiTCLTKSyn::NumberProc() { NumberToken(tkNumber, kNumberChars); }

void TsiTCLTKSyn::WordProc()
{
    word_.clear();
    while (tables_.IsIdent(Cur())) {
        char c = Cur();
        word_ += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        ++Run;
    }
    fTokenID = Holds(keyIndex_, word_) ? tkKey : Holds(secondKeyIndex_, word_) ? tkSecondKey : tkIdentifier;
}

void TsiTCLTKSyn::IndexWords()
{
    keyIndex_ = SortedWords(keyWords_);
    secondKeyIndex_ = SortedWords(secondKeyWords_);
}

void TsiTCLTKSyn::SetWords(TStringList& own, TStrings& value)
{
    UpperCaseItems(value);
    own.Assign(value);
    IndexWords();
    AttributeChanged(nullptr);
}

void TsiTCLTKSyn::SetKeyWords(TStrings& value) { SetWords(keyWords_, value); }

void TsiTCLTKSyn::SetSecondKeyWords(TStrings& value) { SetWords(secondKeyWords_, value); }

bool TsiTCLTKSyn::LoadFromRegistry(HKEY rootKey, const std::string& key)
{
    try {
        TBetterRegistry reg;
        reg.SetRootKey(rootKey);
        if (!reg.OpenKeyReadOnly(key))
            return false;
        auto type = reg.GetDataType("KeyWords");
        if (type == TRegDataType::rdString || type == TRegDataType::rdExpandString) {
            TStringList words;
            words.SetText(reg.ReadString("KeyWords"));
            UpperCaseItems(words);
            keyWords_.Assign(words);
            IndexWords();
        }
    } catch (const Exception&) {
        return false;
    }
    return TmwCustomHighLighter::LoadFromRegistry(rootKey, key);
}

bool TsiTCLTKSyn::SaveToRegistry(HKEY rootKey, const std::string& key)
{
    try {
        TBetterRegistry reg;
        reg.SetRootKey(rootKey);
        if (!reg.OpenKey(key, true))
            return false;
        reg.WriteString("KeyWords", keyWords_.Text());
        reg.CloseKey();
    } catch (const Exception&) {
        return false;
    }
    return TmwCustomHighLighter::SaveToRegistry(rootKey, key);
}

const TsiTCLTKSyn::TProcTable<TsiTCLTKSyn>& TsiTCLTKSyn::Procs()
{
    static const TProcTable<TsiTCLTKSyn> table = MakeProcTable<TsiTCLTKSyn>(&T::UnknownProc, {
        // a form feed starts no white space (but continues it)
        {"\f", &T::UnknownProc},
        {"\"", &T::StringProc},
        {"#", &T::HashProc},
        {"/", &T::SlashProc},
        {"(;{", &T::SymbolProc},
        {kDigitChars, &T::NumberProc},
        {kIdentStartChars, &T::WordProc},
    });
    return table;
}
