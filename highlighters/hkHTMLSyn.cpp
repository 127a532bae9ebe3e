// The HTML highlighter: a state machine inside and outside tags, tag names
// hashed with their trailing digits, and an entity table. No token is empty.
#include "highlighters/hkHTMLSyn.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

using T = ThkHTMLSyn;

// Tag names hash "!" to 123, "/" to 122, letters to 1..26 and the digits of
// the run that follows them to their value (so "H1" is 9).
constexpr int kTagSlots = 244;

bool IsTagNameChar(char c)
{
    return c == '!' || c == '/' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           static_cast<unsigned char>(c) >= 0x80;
}

const TCharSet& IdentChars()
{
    static const TCharSet chars =
        CharRangeSet('0', '9') | CharRangeSet('A', 'Z') | CharRangeSet('a', 'z') | NonAsciiChars();
    return chars;
}

const TmwCharTables& Tables()
{
    static const TmwCharTables tables = [] {
        TmwCharTables t = TmwCharTables::Standard(IdentChars(), 0);
        t.mHashTable['!'] = 123;
        t.mHashTable['/'] = 122;
        for (int d = 0; d <= 9; ++d)
            t.mHashTable[static_cast<size_t>('0' + d)] = d;
        return t;
    }();
    return tables;
}

const TmwKeywordTable& Keywords()
{
    static const TmwKeywordTable keywords = [] {
        static const char* const open[] = {
            "!DOCTYPE", "A", "ABBR", "ACRONYM", "ADDRESS", "APPLET", "AREA", "B", "BASE", "BASEFONT", "BGSOUND",
            "BIG", "BLINK", "BLOCKQUOTE", "BODY", "BR", "BUTTON", "CAPTION", "CENTER", "CITE", "CODE", "COL",
            "COLGROUP", "COMMENT", "DD", "DEL", "DFN", "DIR", "DIV", "DL", "DT", "EM", "EMBED", "FIELDSET",
            "FONT", "FORM", "FRAME", "FRAMESET", "H1", "H2", "H3", "H4", "H5", "H6", "HEAD", "HR", "HTML", "I",
            "IFRAME", "ILAYER", "IMG", "INPUT", "INS", "ISINDEX", "KBD", "KEYGEN", "LABEL", "LAYER", "LEGEND",
            "LI", "LINK", "LISTING", "MAP", "MARQUEE", "MENU", "META", "MULTICOL", "NEXTID", "NOBR", "NOEMBED",
            "NOFRAMES", "NOLAYER", "NOSCRIPT", "OBJECT", "OL", "OPTION", "P", "PARAM", "PLAINTEXT", "PRE", "Q",
            "S", "SAMP", "SCRIPT", "SELECT", "SERVER", "SMALL", "SPACER", "SPAN", "STRIKE", "STRONG", "STYLE",
            "SUB", "SUP", "TABLE", "TBODY", "TD", "TEXTAREA", "TFOOT", "TH", "THEAD", "TITLE", "TR", "TT", "U",
            "UL", "VAR", "WBR", "XMP"};
        static const char* const closing[] = {
            "A", "ABBR", "ACRONYM", "ADDRESS", "APPLET", "B", "BIG", "BLINK", "BLOCKQUOTE", "BODY", "BUTTON",
            "CAPTION", "CENTER", "CITE", "CODE", "COLGROUP", "COMMENT", "DD", "DEL", "DFN", "DIR", "DIV", "DL",
            "DT", "EM", "EMBED", "FIELDSET", "FONT", "FORM", "FRAMESET", "H1", "H2", "H3", "H4", "H5", "H6",
            "HEAD", "HTML", "I", "IFRAME", "ILAYER", "INS", "KBD", "LABEL", "LAYER", "LEGEND", "LI", "LISTING",
            "MAP", "MARQUEE", "MENU", "MULTICOL", "NOBR", "NOEMBED", "NOFRAMES", "NOLAYER", "NOSCRIPT", "OBJECT",
            "OL", "OPTION", "P", "PRE", "Q", "S", "SAMP", "SCRIPT", "SELECT", "SERVER", "SMALL", "SPAN", "STRIKE",
            "STRONG", "STYLE", "SUB", "SUP", "TABLE", "TBODY", "TD", "TEXTAREA", "TFOOT", "TH", "THEAD", "TITLE",
            "TR", "TT", "U", "UL", "VAR", "XMP"};
        std::vector<std::string> closingWords;
        std::vector<TmwKeywordTable::TKeyword> words;
        for (const char* w : open)
            words.push_back({w, T::tkKey});
        for (const char* w : closing)
            closingWords.push_back(std::string("/") + w);
        for (const std::string& w : closingWords)
            words.push_back({w.c_str(), T::tkKey});
        return TmwKeywordTable(Tables(), words);
    }();
    return keywords;
}

} // namespace

const TmwHighlighterClass ThkHTMLSyn::Class{"ThkHTMLSyn", &CreateHighlighter<ThkHTMLSyn>};

const std::vector<std::string>& ThkHTMLSyn::Entities()
{
    static const std::vector<std::string> entities = {
        "&amp;", "&lt;", "&gt;", "&quot;", "&trade;", "&nbsp;", "&copy;", "&reg;", "&Agrave;", "&Aacute;",
        "&Acirc;", "&Atilde;", "&Auml;", "&Aring;", "&AElig;", "&Ccedil;", "&Egrave;", "&Eacute;", "&Ecirc;",
        "&Euml;", "&Igrave;", "&Iacute;", "&Icirc;", "&Iuml;", "&ETH;", "&Ntilde;", "&Ograve;", "&Oacute;",
        "&Ocirc;", "&Otilde;", "&Ouml;", "&Oslash;", "&Ugrave;", "&Uacute;", "&Ucirc;", "&Uuml;", "&Yacute;",
        "&THORN;", "&szlig;", "&agrave;", "&aacute;", "&acirc;", "&atilde;", "&auml;", "&aring;", "&aelig;",
        "&ccedil;", "&egrave;", "&eacute;", "&ecirc;", "&euml;", "&igrave;", "&iacute;", "&icirc;", "&iuml;",
        "&eth;", "&ntilde;", "&ograve;", "&oacute;", "&ocirc;", "&otilde;", "&ouml;", "&oslash;", "&ugrave;",
        "&uacute;", "&ucirc;", "&uuml;", "&yacute;", "&thorn;", "&yuml;", "&iexcl;", "&cent;", "&pound;",
        "&curren;", "&yen;", "&brvbar;", "&sect;", "&uml;", "&ordf;", "&laquo;", "&shy;", "&macr;", "&deg;",
        "&plusmn;", "&sup2;", "&sup3;", "&acute;", "&micro;", "&middot;", "&cedil;", "&sup1;", "&ordm;",
        "&raquo;", "&frac14;", "&frac12;", "&frac34;", "&iquest;", "&times;", "&divide;", "&euro;", "&#9;",
        "&#127;", "&#128;", "&#129;", "&#130;", "&#131;", "&#132;", "&hellip;", "&#134;", "&#135;", "&#136;",
        "&#137;", "&#138;", "&#139;", "&#140;", "&#141;", "&#142;", "&#143;", "&#144;", "&#152;", "&#153;",
        "&#154;", "&#155;", "&#156;", "&#157;", "&#158;", "&#159;", "&#161;", "&#162;", "&#163;", "&#164;",
        "&#165;", "&#166;", "&#167;", "&#168;", "&#170;", "&#175;", "&#176;", "&#177;", "&#178;", "&#180;",
        "&#181;", "&#183;", "&#184;", "&#185;", "&#186;", "&#188;", "&#189;", "&#190;", "&#191;", "&#215;"};
    return entities;
}

ThkHTMLSyn::ThkHTMLSyn()
    : TmwScannerHighlighter(Tables(), &Keywords(), {tkNull, tkSpace, tkIdentifier, tkText}, rsText)
{
    ASPAttri = MakeAttribute(mwAttrName::Asp, {}, clBlack, clYellow);
    CommentAttri = MakeAttribute(mwAttrName::Comment);
    IdentifierAttri = MakeAttribute(mwAttrName::Identifier, fsBold);
    KeyAttri = MakeAttribute(mwAttrName::ReservedWord, fsBold, 0xFF0080);
    SpaceAttri = MakeAttribute(mwAttrName::Space);
    SymbolAttri = MakeAttribute(mwAttrName::Symbol, fsBold);
    TextAttri = MakeAttribute(mwAttrName::Text);
    UndefKeyAttri = MakeAttribute(mwAttrName::UnknownWord, fsBold, clRed);
    ValueAttri = MakeAttribute(mwAttrName::Value, {}, 0xFF8000);
    AndAttri = MakeAttribute(mwAttrName::EscapeAmpersand, fsBold, clLime);
    RouteAttributeChanges();
    MapKind(tkAmpersand, AndAttri, false);
    MapKind(tkAsp, ASPAttri, true);
    MapKind(tkComment, CommentAttri, true);
    // Words inside a tag may hold any character but blanks, quotes, "=" and ">".
    MapKind(tkIdentifier, IdentifierAttri, true);
    MapKind(tkKey, KeyAttri, false);
    MapKind(tkSpace, SpaceAttri, false, true);
    MapKind(tkString, ValueAttri, true);
    MapKind(tkSymbol, SymbolAttri, true);
    MapKind(tkText, TextAttri, true);
    MapKind(tkUndefKey, UndefKeyAttri, true);
    MapKind(tkValue, ValueAttri, true);
    SetDefaultFilter("HTML Document (*.htm,*.html)|*.htm;*.html");
}

TCharSet ThkHTMLSyn::GetIdentChars() const { return IdentChars(); }

void ThkHTMLSyn::SetLine(const std::string& NewValue, int LineNumber)
{
    fAndCode = -1;
    TmwScannerHighlighter::SetLine(NewValue, LineNumber);
}

void ThkHTMLSyn::SetLineForExport(const std::string& NewValue)
{
    fAndCode = -1;
    TmwScannerHighlighter::SetLineForExport(NewValue);
}

void ThkHTMLSyn::SetRange(std::int32_t value)
{
    fAndCode = -1;
    TmwScannerHighlighter::SetRange(value);
}

void ThkHTMLSyn::ResetRange()
{
    fAndCode = -1;
    TmwScannerHighlighter::ResetRange();
}

void ThkHTMLSyn::Next()
{
    fTokenPos = Run;
    switch (fRange) {
    case rsASP: BlockProc(tkAsp, "%"); break;
    case rsComment: BlockProc(tkComment, "--"); break;
    case rsText: TextProc(); break;
    default: Dispatch(Procs()); break;
    }
}

int ThkHTMLSyn::FindEntity(int at) const
{
    const auto rest = std::string_view(fLine).substr(static_cast<size_t>(at), static_cast<size_t>(fLineLen - at));
    // Each list of those sharing the character after '&' (in either case) in
    // the order of all: the first that matches is the one of the whole list.
    static const auto byInitial = [] {
        std::array<std::vector<std::size_t>, 256> lists;
        const std::vector<std::string>& entities = Entities();
        for (std::size_t i = 0; i < entities.size(); ++i)
            lists[static_cast<unsigned char>(AsciiUpper(entities[i][1]))].push_back(i);
        return lists;
    }();
    if (rest.size() < 2)
        return -1;
    const std::vector<std::string>& entities = Entities();
    for (std::size_t i : byInitial[static_cast<unsigned char>(AsciiUpper(rest[1]))])
        if (entities[i].size() <= rest.size() && SameKeyword(rest.substr(0, entities[i].size()), entities[i]))
            return static_cast<int>(i);
    return -1;
}

void ThkHTMLSyn::DeliverEntity(int index)
{
    fTokenID = tkAmpersand;
    Run += static_cast<int>(Entities()[static_cast<size_t>(index)].size());
    fAndCode = -1;
    fRange = rsText;
}

void ThkHTMLSyn::TextProc()
{
    const auto first = static_cast<unsigned char>(Cur());
    if (first < 32 || first == '<') {
        Dispatch(Procs());
        return;
    }
    if (first == '&') {
        const int entity = FindEntity(Run);
        if (entity >= 0) {
            DeliverEntity(entity);
            return;
        }
    }
    fTokenID = tkText;
    ++Run;
    for (;;) {
        const auto c = static_cast<unsigned char>(Cur());
        if (c < 32 || c == '<')
            return;
        if (c == '&') {
            const int entity = FindEntity(Run);
            if (entity >= 0) {
                fAndCode = entity;
                fRange = rsAmpersand;
                return;
            }
        }
        ++Run;
    }
}

void ThkHTMLSyn::BlockProc(int kind, std::string_view closer)
{
    if (AtLineBreak()) {
        Dispatch(Procs());
        return;
    }
    fTokenID = kind;
    const int back = static_cast<int>(closer.size());
    // From one '>' to the next: the lines of a block have few of them.
    const char* const start = fLine.data();
    const char* const end = start + fLineLen;
    for (;;) {
        const char* from = start + Run;
        const char* stop = end;
        const auto* closing = static_cast<const char*>(std::memchr(from, '>', static_cast<size_t>(end - from)));
        if (closing)
            stop = closing;
        for (const char lineBreak : {'\r', '\n'})
            if (const void* at = std::memchr(from, lineBreak, static_cast<size_t>(stop - from))) {
                stop = static_cast<const char*>(at);
                closing = nullptr;
            }
        Run = static_cast<int>(stop - start);
        if (!closing)
            return;
        // The closer may be the end of the opening "<%" or "<!--" itself.
        if (Run >= back && std::string_view(fLine).substr(static_cast<size_t>(Run - back), closer.size()) == closer) {
            ++Run;
            fRange = rsText;
            return;
        }
        ++Run;
    }
}

// White space in which a tab starts a token of its own.
void ThkHTMLSyn::TagSpaceProc()
{
    fTokenID = tkSpace;
    ++Run;
    for (;;) {
        const auto c = static_cast<unsigned char>(Cur());
        if (c == 0 || c > 32 || c == 9 || c == 10 || c == 13)
            return;
        ++Run;
    }
}

void ThkHTMLSyn::StringProc()
{
    if (fRange == rsValue) {
        fRange = rsParam;
        fTokenID = tkValue;
    } else {
        fTokenID = tkString;
    }
    ++Run;
    ScanQuoted('"', false);
}

// An "&" met outside text, or the entity the text scan stopped at.
void ThkHTMLSyn::AmpersandProc()
{
    const int entity = fAndCode >= 0 ? fAndCode : FindEntity(Run);
    fAndCode = -1;
    fRange = rsText;
    if (entity >= 0)
        DeliverEntity(entity);
    else
        TextProc(); // an "&" that begins no entity is text
}

void ThkHTMLSyn::OpenProc()
{
    ++Run;
    if (Cur() == '!' && Peek() == '-' && Peek(2) == '-') {
        fRange = rsComment;
        fTokenID = tkComment;
        Run += 3;
    } else if (Cur() == '%') {
        fRange = rsASP;
        fTokenID = tkAsp;
        ++Run;
    } else {
        fRange = rsKey;
        fTokenID = tkSymbol;
    }
}

void ThkHTMLSyn::EqualsProc()
{
    fRange = rsValue;
    fTokenID = tkSymbol;
    ++Run;
}

void ThkHTMLSyn::CloseProc()
{
    fRange = rsText;
    fTokenID = tkSymbol;
    ++Run;
}

int ThkHTMLSyn::TagKind()
{
    fToIdent = Run;
    int p = Run;
    int hash = 0;
    while (IsTagNameChar(fLine[static_cast<size_t>(p)]))
        hash += tables_.Hash(fLine[static_cast<size_t>(p++)]);
    while (IsDigitChar(fLine[static_cast<size_t>(p)]))
        hash += tables_.Hash(fLine[static_cast<size_t>(p++)]);
    fStringLen = p - Run;
    if (hash >= kTagSlots)
        return tkIdentifier;
    return keywords_->Find(std::string_view(fLine).substr(static_cast<size_t>(Run), static_cast<size_t>(fStringLen)),
                           hash, tkUndefKey);
}

void ThkHTMLSyn::WordProc()
{
    if (fRange == rsKey) {
        fRange = rsParam;
        const int kind = TagKind();
        if (fStringLen > 0) {
            fTokenID = kind;
            Run += fStringLen;
            return;
        }
        // No tag name starts here: the characters are a word of the tag.
    } else if (fRange == rsValue) {
        fRange = rsParam;
        fTokenID = tkValue;
        ++Run;
        while (static_cast<unsigned char>(Cur()) >= 33 && Cur() != '>')
            ++Run;
        return;
    }
    fTokenID = tkIdentifier;
    ++Run;
    for (;;) {
        const char c = Cur();
        if (static_cast<unsigned char>(c) < 33 || c == '"' || c == '=' || c == '>')
            return;
        ++Run;
    }
}

const ThkHTMLSyn::TProcTable<ThkHTMLSyn>& ThkHTMLSyn::Procs()
{
    static const TProcTable<ThkHTMLSyn> table = [] {
        auto t = CommonProcTable<ThkHTMLSyn>(&T::WordProc);
        for (int c = 1; c <= 32; ++c)
            if (c != 10 && c != 13)
                t[static_cast<size_t>(c)] = &T::TagSpaceProc;
        SetProcs<ThkHTMLSyn>(t, "\"", &T::StringProc);
        SetProcs<ThkHTMLSyn>(t, "&", &T::AmpersandProc);
        SetProcs<ThkHTMLSyn>(t, "<", &T::OpenProc);
        SetProcs<ThkHTMLSyn>(t, "=", &T::EqualsProc);
        SetProcs<ThkHTMLSyn>(t, ">", &T::CloseProc);
        return t;
    }();
    return table;
}
