// The scanner kit every language highlighter is built on: character tables,
// the keyword table, the per-character routine table and the shared routines
// (line end, white space, identifiers, whole tokens, comments over lines), the
// default attributes, the line copy and the export hook; and the programming
// language highlighter with the attributes such languages share.
// A language highlighter is its tables plus its own small routines.
#pragma once

#include "editor/mwHighlighter.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Every byte of a character outside ASCII (a UTF-8 lead or trail byte) is
// part of a letter: words run over them whole, as over ASCII letters, so no
// token ends inside a character.
const TCharSet& NonAsciiChars();
// ASCII letters, digits, '_' and the bytes of letters outside ASCII: the
// identifier characters of most languages.
const TCharSet& StandardIdentChars();

namespace scanner_detail {
constexpr std::string_view kAsciiIdentStart = "ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
constexpr auto IdentStartBytes()
{
    std::array<char, kAsciiIdentStart.size() + 128> bytes{};
    std::size_t n = 0;
    for (char c : kAsciiIdentStart)
        bytes[n++] = c;
    for (int c = 0x80; c <= 0xFF; ++c)
        bytes[n++] = static_cast<char>(c);
    return bytes;
}
inline constexpr auto kIdentStartBytes = IdentStartBytes();
} // namespace scanner_detail

// The characters that start an identifier in most languages, for routine tables.
inline constexpr std::string_view kIdentStartChars(scanner_detail::kIdentStartBytes.data(),
                                                   scanner_detail::kIdentStartBytes.size());
inline constexpr std::string_view kDigitChars = "0123456789";

inline bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }
inline bool IsHexDigitChar(char c) { return IsDigitChar(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// A character table holding exactly chars.
constexpr std::array<bool, 256> CharTable(std::string_view chars)
{
    std::array<bool, 256> table{};
    for (char c : chars)
        table[static_cast<unsigned char>(c)] = true;
    return table;
}

// The creator a language's TmwHighlighterClass names.
template <class H> std::unique_ptr<TmwCustomHighLighter> CreateHighlighter() { return std::make_unique<H>(); }

// Character tables of one language, built once and shared by its instances.
struct TmwCharTables {
    // Characters that continue an identifier.
    std::array<bool, 256> Identifiers{};
    // Characters whose run KeyHash sums (as a rule the identifier characters).
    std::array<bool, 256> HashChars{};
    std::array<int, 256> mHashTable{};

    bool IsIdent(char c) const { return Identifiers[static_cast<unsigned char>(c)]; }
    bool IsHashChar(char c) const { return HashChars[static_cast<unsigned char>(c)]; }
    int Hash(char c) const { return mHashTable[static_cast<unsigned char>(c)]; }

    // Identifiers and hashed characters are identChars; letters hash to 1..26
    // without regard to case, '_' to underscoreHash, everything else to 0.
    static TmwCharTables Standard(const TCharSet& identChars, int underscoreHash = 31);
    // The standard tables of StandardIdentChars, built once for every language that uses them.
    static const TmwCharTables& Common();
};

inline char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
// True when text equals word ignoring the case of ASCII letters.
bool SameKeyword(std::string_view text, std::string_view word);

// The keywords of one language by hash value. A word is a keyword only when it
// is one: after the hash picks the slot, the whole word is compared (ASCII
// letters without regard to case, unless caseSensitive), so no hash collision
// makes a keyword.
class TmwKeywordTable {
public:
    struct TKeyword {
        const char* word;
        int kind;
    };

    // Words with the same hash are tried in the order given.
    TmwKeywordTable(const TmwCharTables& tables, std::initializer_list<TKeyword> keywords,
                    bool caseSensitive = false);
    TmwKeywordTable(const TmwCharTables& tables, const std::vector<TKeyword>& keywords, bool caseSensitive = false);
    // Words all of one kind.
    TmwKeywordTable(const TmwCharTables& tables, int kind, std::initializer_list<const char*> words,
                    bool caseSensitive = false);
    // Appends words, all of kind, to list.
    static void AddWords(std::vector<TKeyword>& list, int kind, std::initializer_list<const char*> words);

    // Whether text is word under this table's rule of case.
    bool Matches(std::string_view text, std::string_view word) const
    {
        return caseSensitive_ ? text == word : SameKeyword(text, word);
    }

    // The kind of the keyword equal to text, whose hash is given; notFound otherwise.
    int Find(std::string_view text, int hash, int notFound) const;
    // The same, hashing text itself.
    int Find(std::string_view text, int notFound) const;
    // Hash values 0..SlotCount()-1 have slots; greater ones hold no keyword.
    int SlotCount() const { return static_cast<int>(slotStart_.size()) - 1; }
    int Hash(std::string_view word) const;

private:
    // A keyword as Find compares it: upper case unless the table is case-sensitive.
    struct Entry {
        std::string key;
        int kind;
    };
    std::string Key(std::string_view word) const;
    const TmwCharTables& tables_;
    bool caseSensitive_;
    std::vector<int> slotStart_;
    std::vector<Entry> entries_;
};

// Operators by their first character: Match gives the length of the longest
// listed operator at a position, or 1 when none is listed there.
class TmwOperatorTable {
public:
    explicit TmwOperatorTable(std::initializer_list<std::string_view> operators);
    int Match(std::string_view rest) const;

private:
    std::array<std::vector<std::string>, 256> byFirst_; // longest first
};

// The kinds the shared routines produce, in the language's own numbering.
struct TmwScannerKinds {
    int null;       // the line end
    int space;      // white space and line-end characters
    int identifier; // a word that is no keyword
    int unknown;    // a character no routine claims, NUL bytes inside the line included
};

// A comment that may run over lines: opener starts it and closer ends it; the
// range is openRange while it stays open and becomes closedRange when it closes.
struct TmwBlockComment {
    std::string_view opener;
    std::string_view closer;
    int kind;
    std::uint8_t openRange;
    std::uint8_t closedRange;
};

// Every scanner language resumes a line: its tokens read at most a keyword's,
// an entity's or an operator's length past their end, and a closer's length
// before their start, and the range (with ScanExtra) is all it carries
// between tokens.
class TmwScannerHighlighter : public TmwCustomHighLighter, public TmwResumableScan {
public:
    // Well above the longest keyword, entity, operator and closer of any language.
    static constexpr int kResumeMargin = 64;
    // 0 is SpaceAttri, 1 CommentAttri, 2 KeyAttri; any of them may be null.
    TmwHighLightAttributes* GetDefaultAttribute(int index) const override;
    bool GetEol() const override { return fTokenID == kinds_.null; }
    std::int32_t GetRange() const override { return fRange; }
    void SetRange(std::int32_t value) override { fRange = static_cast<std::uint8_t>(value); }
    void ResetRange() override { fRange = startRange_; }
    void NextToEol() override
    {
        while (fTokenID != kinds_.null)
            Next();
    }
    std::string GetToken() const override { return std::string(TokenView()); }
    int GetTokenKind() const override { return fTokenID; }
    int GetTokenPos() const override { return fTokenPos; }
    TmwHighLightAttributes* GetTokenAttribute() const override;
    void SetLine(const std::string& NewValue, int LineNumber) override;
    void SetLineForExport(const std::string& NewValue) override;
    void ExportNext() override;
    unsigned GetCapability() const override { return hcRegistry | hcExportable; }
    TmwResumableScan* Resumable() override { return this; }
    int ResumeMargin() const override { return kResumeMargin; }
    int ScanPos() const override { return Run; }
    TmwScanPoint ScanPoint() const override { return TmwScanPoint{Run, fRange, ScanExtra(), {}}; }
    void ResumeLine(const std::string& NewValue, int LineNumber, const TmwScanPoint& at) override;

    // The current token's text without a copy; valid until the next SetLine.
    std::string_view TokenView() const
    {
        return std::string_view(fLine).substr(static_cast<size_t>(fTokenPos), static_cast<size_t>(Run - fTokenPos));
    }
    int LineNumber() const { return fLineNumber; }

    // The default attributes; the language makes them (or leaves one null).
    TmwHighLightAttributes* CommentAttri = nullptr;
    TmwHighLightAttributes* KeyAttri = nullptr;
    TmwHighLightAttributes* SpaceAttri = nullptr;

protected:
    template <class D> using TProcTable = std::array<void (D::*)(), 256>;

    TmwScannerHighlighter(const TmwCharTables& tables, const TmwKeywordTable* keywords, TmwScannerKinds kinds,
                          std::uint8_t startRange);

    // What the language carries from one token to the next besides the range.
    virtual std::int32_t ScanExtra() const { return 0; }
    virtual void SetScanExtra(std::int32_t) {}

    // Adds an attribute named name with the given colours and style.
    TmwHighLightAttributes* MakeAttribute(const std::string& name, TFontStyles style = {},
                                          TColor foreground = clWindowText, TColor background = clWindow);
    // What a kind shows as and how it is exported: needsEscape for kinds whose
    // text the output format may have to escape, isSpace for white space.
    void MapKind(int kind, TmwHighLightAttributes* attribute, bool needsEscape, bool isSpace = false);
    // Hands kind to the exporter with attribute instead of the one it shows with.
    void ExportKindAs(int kind, TmwHighLightAttributes* attribute);
    // Routes every attribute's change to the hooked editors; call after the last MakeAttribute.
    void RouteAttributeChanges();

    // The routine table with the shared routines in place: NUL, CR, LF and
    // white space (1..9, 11, 12, 14..32) have theirs, every other character
    // gets other.
    template <class D> static TProcTable<D> CommonProcTable(void (D::*other)())
    {
        TProcTable<D> table;
        table.fill(other);
        for (int c = 1; c <= 32; ++c)
            table[static_cast<size_t>(c)] = &TmwScannerHighlighter::SpaceProc;
        table[0] = &TmwScannerHighlighter::NullProc;
        table[10] = &TmwScannerHighlighter::LFProc;
        table[13] = &TmwScannerHighlighter::CRProc;
        return table;
    }
    template <class D> static void SetProcs(TProcTable<D>& table, std::string_view chars, void (D::*proc)())
    {
        for (char c : chars)
            table[static_cast<unsigned char>(c)] = proc;
    }
    template <class D> struct TProcEntry {
        std::string_view chars;
        void (D::*proc)();
    };
    // The common table with each entry's routine set for its characters, in
    // order, so a later entry wins over an earlier one.
    template <class D>
    static TProcTable<D> MakeProcTable(void (D::*other)(), std::initializer_list<TProcEntry<D>> entries)
    {
        TProcTable<D> table = CommonProcTable<D>(other);
        for (const auto& entry : entries)
            SetProcs<D>(table, entry.chars, entry.proc);
        return table;
    }
    template <class D> void Dispatch(const TProcTable<D>& table)
    {
        (static_cast<D*>(this)->*table[static_cast<unsigned char>(fLine[static_cast<size_t>(Run)])])();
    }

    // --- reading the line: the copy ends in padding NULs, so Cur() at the end is NUL.
    char Cur() const { return fLine[static_cast<size_t>(Run)]; }
    // The character k places on, or NUL beyond the end.
    char Peek(int k = 1) const { return Run + k < fLineLen ? fLine[static_cast<size_t>(Run + k)] : '\0'; }
    bool AtEnd() const { return Run >= fLineLen; }
    // At the end of the line or at a CR or LF.
    bool AtLineBreak() const { return AtEnd() || Cur() == '\r' || Cur() == '\n'; }
    // Moves to the end of the line (the next CR or LF, or the end).
    void RunToLineBreak();
    // Moves up to the next occurrence of text before the line break; true when
    // found (Run then points at it), false at the line break.
    bool RunTo(std::string_view text);

    // Scans a quoted text from the character after the opening quote up to and
    // including the closing one; with backslashEscapes a backslash takes the
    // character after it into the text. True when the closing quote was found;
    // otherwise Run stops at the line break.
    bool ScanQuoted(char quote, bool backslashEscapes);
    // Scans the rest of a number: characters of numberChars, except a '.' that
    // another '.' follows, and a sign directly after the exponent's e or E
    // (not in a hexadecimal number).
    void ScanNumberBody(const std::array<bool, 256>& numberChars);
    // Length of the longest operator of ops at Run (1 when none).
    int MatchOperator(const TmwOperatorTable& ops) const
    {
        return ops.Match(std::string_view(fLine).substr(static_cast<size_t>(Run),
                                                        static_cast<size_t>(fLineLen - Run)));
    }
    void SkipDigits()
    {
        while (IsDigitChar(Cur()))
            ++Run;
    }
    void SkipHexDigits()
    {
        while (IsHexDigitChar(Cur()))
            ++Run;
    }

    // --- whole tokens
    // The next length characters, as kind.
    void TakeToken(int kind, int length = 1)
    {
        fTokenID = kind;
        Run += length;
    }
    // Everything up to the line break, as kind: a comment to the line end.
    void TakeToLineBreak(int kind)
    {
        fTokenID = kind;
        RunToLineBreak();
    }
    // The longest operator of ops at Run, as kind.
    void OperatorToken(int kind, const TmwOperatorTable& ops) { TakeToken(kind, MatchOperator(ops)); }
    // A number: the character at Run and what ScanNumberBody takes after it.
    void NumberToken(int kind, const std::array<bool, 256>& numberChars)
    {
        fTokenID = kind;
        ++Run;
        ScanNumberBody(numberChars);
    }
    // How QuotedToken reads a text: qtBackslash lets a backslash take the next
    // character in; with qtTripleOpener an opener of three quotes is taken
    // whole, so its second and third quote do not close the text.
    enum TQuoting : unsigned { qtPlain = 0, qtBackslash = 1, qtTripleOpener = 2 };
    // A text quoted by the character at Run, as ScanQuoted takes it.
    void QuotedToken(int kind, unsigned quoting);

    // --- comments over lines
    // The comment's text from Run up to and including its closer, or up to the
    // line break, which leaves the range at the comment's openRange.
    void BlockCommentBody(const TmwBlockComment& comment);
    // A comment whose opener is at Run. The search for the closer starts after
    // the opener, so "/*/" leaves a "/*" comment open.
    void OpenBlockComment(const TmwBlockComment& comment)
    {
        Run += static_cast<int>(comment.opener.size());
        BlockCommentBody(comment);
    }
    // Continues the comment when the range says it is open and text is left on
    // the line; true when it did.
    bool ContinueBlockComment(const TmwBlockComment& comment)
    {
        if (fRange != comment.openRange || AtLineBreak())
            return false;
        BlockCommentBody(comment);
        return true;
    }

    // --- shared routines
    // The line end, or an ordinary NUL byte inside the line (one unknown character).
    void NullProc();
    void SpaceProc();
    void CRProc();
    void LFProc();
    void UnknownProc();
    // A keyword or an identifier over the run of identifier characters.
    void IdentProc();

    // Sums the hash over the run of hash characters at p; fStringLen is its length.
    int KeyHash(int p);
    // True when the run measured by KeyHash is word (case as the keyword table has it).
    bool KeyComp(std::string_view word) const;
    // The keyword kind of the run at p, or the identifier kind.
    int IdentKind(int p);

    const TmwCharTables& tables_;
    const TmwKeywordTable* keywords_;
    TmwScannerKinds kinds_;

    std::uint8_t fRange;
    std::string fLine;
    int fLineLen = 0;
    int fLineNumber = 0;
    int Run = 0;
    int fStringLen = 0;
    int fToIdent = 0;
    int fTokenPos = 0;
    int fTokenID;

private:
    struct KindInfo {
        TmwHighLightAttributes* attribute = nullptr;
        TmwHighLightAttributes* exportAttribute = nullptr; // null: attribute
        bool needsEscape = false;
        bool isSpace = false;
    };
    void LoadLine(const std::string& text);

    std::uint8_t startRange_;
    std::vector<KindInfo> kindInfo_;
};

// The kinds of the attributes programming languages share, in the language's
// own numbering; space is -1 where white space has no attribute of its own.
struct TmwCodeKinds {
    int comment;
    int identifier;
    int key;
    int number;
    int space;
    int string;
    int symbol;
};

// A programming language's highlighter: the scanner with the attributes such
// languages share made and mapped. The language adds its own attributes, then
// calls RouteAttributeChanges.
class TmwCodeHighlighter : public TmwScannerHighlighter {
public:
    TmwHighLightAttributes* IdentifierAttri;
    TmwHighLightAttributes* NumberAttri;
    TmwHighLightAttributes* StringAttri;
    TmwHighLightAttributes* SymbolAttri;

protected:
    // Comments are italic; keywords, under keyName, bold.
    TmwCodeHighlighter(const TmwCharTables& tables, const TmwKeywordTable* keywords, TmwScannerKinds kinds,
                       std::uint8_t startRange, const TmwCodeKinds& codeKinds,
                       const std::string& keyName = mwAttrName::ReservedWord);
};
