// The scanner kit: tables, keyword look-up and the routines all languages share.
#include "highlighters/mwScannerKit.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr int kPadding = 8;

} // namespace

bool SameKeyword(std::string_view text, std::string_view word)
{
    if (text.size() != word.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (AsciiUpper(text[i]) != AsciiUpper(word[i]))
            return false;
    return true;
}

const TCharSet& NonAsciiChars()
{
    static const TCharSet chars = CharRangeSet(0x80, 0xFF);
    return chars;
}

const TCharSet& StandardIdentChars()
{
    static const TCharSet chars = CharRangeSet('0', '9') | CharRangeSet('A', 'Z') | CharRangeSet('a', 'z') |
                                  MakeCharSet("_") | NonAsciiChars();
    return chars;
}

const TmwCharTables& TmwCharTables::Common()
{
    static const TmwCharTables tables = Standard(StandardIdentChars());
    return tables;
}

TmwCharTables TmwCharTables::Standard(const TCharSet& identChars, int underscoreHash)
{
    TmwCharTables t;
    for (int c = 0; c < 256; ++c) {
        t.Identifiers[static_cast<size_t>(c)] = identChars[static_cast<size_t>(c)];
        t.HashChars[static_cast<size_t>(c)] = identChars[static_cast<size_t>(c)];
        if (c >= 'A' && c <= 'Z')
            t.mHashTable[static_cast<size_t>(c)] = c - 'A' + 1;
        else if (c >= 'a' && c <= 'z')
            t.mHashTable[static_cast<size_t>(c)] = c - 'a' + 1;
    }
    t.mHashTable['_'] = underscoreHash;
    return t;
}

TmwKeywordTable::TmwKeywordTable(const TmwCharTables& tables, std::initializer_list<TKeyword> keywords,
                                 bool caseSensitive)
    : TmwKeywordTable(tables, std::vector<TKeyword>(keywords), caseSensitive)
{
}

TmwKeywordTable::TmwKeywordTable(const TmwCharTables& tables, const std::vector<TKeyword>& keywords,
                                 bool caseSensitive)
    : tables_(tables), caseSensitive_(caseSensitive)
{
    int slots = 0;
    for (const auto& k : keywords)
        slots = std::max(slots, Hash(k.word) + 1);
    // Counting sort by hash, keeping the given order within a slot.
    std::vector<int> count(static_cast<size_t>(slots), 0);
    for (const auto& k : keywords)
        ++count[static_cast<size_t>(Hash(k.word))];
    slotStart_.assign(static_cast<size_t>(slots) + 1, 0);
    std::partial_sum(count.begin(), count.end(), slotStart_.begin() + 1);
    entries_.resize(keywords.size());
    std::vector<int> next(slotStart_.begin(), slotStart_.end() - 1);
    for (const auto& k : keywords)
        entries_[static_cast<size_t>(next[static_cast<size_t>(Hash(k.word))]++)] = Entry{Key(k.word), k.kind};
}

void TmwKeywordTable::AddWords(std::vector<TKeyword>& list, int kind, std::initializer_list<const char*> words)
{
    for (const char* w : words)
        list.push_back({w, kind});
}

TmwKeywordTable::TmwKeywordTable(const TmwCharTables& tables, int kind, std::initializer_list<const char*> words,
                                 bool caseSensitive)
    : TmwKeywordTable(tables,
                      [&] {
                          std::vector<TKeyword> list;
                          AddWords(list, kind, words);
                          return list;
                      }(),
                      caseSensitive)
{
}

int TmwKeywordTable::Hash(std::string_view word) const
{
    int sum = 0;
    for (char c : word)
        sum += tables_.Hash(c);
    return sum;
}

int TmwKeywordTable::Find(std::string_view text, int hash, int notFound) const
{
    if (hash < 0 || hash >= SlotCount())
        return notFound;
    for (int i = slotStart_[static_cast<size_t>(hash)]; i < slotStart_[static_cast<size_t>(hash) + 1]; ++i) {
        const Entry& e = entries_[static_cast<size_t>(i)];
        if (text.size() != e.key.size())
            continue;
        if (caseSensitive_ ? text == e.key
                           : std::equal(text.begin(), text.end(), e.key.begin(),
                                        [](char t, char k) { return AsciiUpper(t) == k; }))
            return e.kind;
    }
    return notFound;
}

std::string TmwKeywordTable::Key(std::string_view word) const
{
    std::string key(word);
    if (!caseSensitive_)
        std::transform(key.begin(), key.end(), key.begin(), AsciiUpper);
    return key;
}

int TmwKeywordTable::Find(std::string_view text, int notFound) const { return Find(text, Hash(text), notFound); }

TmwOperatorTable::TmwOperatorTable(std::initializer_list<std::string_view> operators)
{
    for (auto op : operators)
        byFirst_[static_cast<unsigned char>(op[0])].emplace_back(op);
    for (auto& forms : byFirst_)
        std::stable_sort(forms.begin(), forms.end(),
                         [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
}

int TmwOperatorTable::Match(std::string_view rest) const
{
    if (rest.empty())
        return 1;
    for (const auto& form : byFirst_[static_cast<unsigned char>(rest[0])])
        if (rest.substr(0, form.size()) == form)
            return static_cast<int>(form.size());
    return 1;
}

TmwScannerHighlighter::TmwScannerHighlighter(const TmwCharTables& tables, const TmwKeywordTable* keywords,
                                             TmwScannerKinds kinds, std::uint8_t startRange)
    : tables_(tables), keywords_(keywords), kinds_(kinds), fRange(startRange), fTokenID(kinds.null),
      startRange_(startRange)
{
    fLine.assign(kPadding, '\0');
}

TmwHighLightAttributes* TmwScannerHighlighter::MakeAttribute(const std::string& name, TFontStyles style,
                                                             TColor foreground, TColor background)
{
    TmwHighLightAttributes* attribute = AddAttribute(name);
    attribute->SetStyle(style);
    attribute->SetForeground(foreground);
    attribute->SetBackground(background);
    return attribute;
}

void TmwScannerHighlighter::MapKind(int kind, TmwHighLightAttributes* attribute, bool needsEscape, bool isSpace)
{
    if (kind >= static_cast<int>(kindInfo_.size()))
        kindInfo_.resize(static_cast<size_t>(kind) + 1);
    kindInfo_[static_cast<size_t>(kind)] = KindInfo{attribute, nullptr, needsEscape, isSpace};
}

void TmwScannerHighlighter::ExportKindAs(int kind, TmwHighLightAttributes* attribute)
{
    if (kind >= static_cast<int>(kindInfo_.size()))
        kindInfo_.resize(static_cast<size_t>(kind) + 1);
    kindInfo_[static_cast<size_t>(kind)].exportAttribute = attribute;
}

void TmwScannerHighlighter::RouteAttributeChanges()
{
    SetAttributesOnChange([this](TmwHighLightAttributes* sender) { AttributeChanged(sender); });
}

TmwHighLightAttributes* TmwScannerHighlighter::GetDefaultAttribute(int index) const
{
    switch (index) {
    case 0: return SpaceAttri;
    case 1: return CommentAttri;
    case 2: return KeyAttri;
    default: return nullptr;
    }
}

TmwHighLightAttributes* TmwScannerHighlighter::GetTokenAttribute() const
{
    if (fTokenID < 0 || fTokenID >= static_cast<int>(kindInfo_.size()) || fTokenID == kinds_.null)
        return nullptr;
    return kindInfo_[static_cast<size_t>(fTokenID)].attribute;
}

void TmwScannerHighlighter::LoadLine(const std::string& text)
{
    // Reuses the copy's storage: no allocation once lines stop growing.
    fLine.assign(text);
    fLineLen = static_cast<int>(text.size());
    fLine.append(kPadding, '\0');
    Run = 0;
}

void TmwScannerHighlighter::SetLine(const std::string& NewValue, int LineNumber)
{
    LoadLine(NewValue);
    fLineNumber = LineNumber;
    Next();
}

void TmwScannerHighlighter::ResumeLine(const std::string& NewValue, int LineNumber, const TmwScanPoint& at)
{
    LoadLine(NewValue);
    fLineNumber = LineNumber;
    fRange = static_cast<std::uint8_t>(at.range);
    SetScanExtra(at.extra);
    Run = std::clamp(at.pos, 0, fLineLen);
    Next();
}

void TmwScannerHighlighter::SetLineForExport(const std::string& NewValue)
{
    LoadLine(NewValue);
    ExportNext();
}

void TmwScannerHighlighter::ExportNext()
{
    Next();
    TmwExportTarget* exporter = Exporter();
    if (!exporter)
        return;
    if (GetEol()) {
        exporter->FormatToken(std::string(), nullptr, false, false);
        return;
    }
    KindInfo info;
    if (fTokenID >= 0 && fTokenID < static_cast<int>(kindInfo_.size()))
        info = kindInfo_[static_cast<size_t>(fTokenID)];
    exporter->FormatToken(GetToken(), info.exportAttribute ? info.exportAttribute : info.attribute, info.needsEscape,
                          info.isSpace);
}

void TmwScannerHighlighter::RunToLineBreak()
{
    while (!AtLineBreak())
        ++Run;
}

bool TmwScannerHighlighter::RunTo(std::string_view text)
{
    // A local position and line: the loop then keeps them in registers.
    const char* line = fLine.data();
    const int size = static_cast<int>(text.size());
    int at = Run;
    for (; at < fLineLen && line[at] != '\r' && line[at] != '\n'; ++at) {
        if (at + size <= fLineLen && std::string_view(line + at, text.size()) == text) {
            Run = at;
            return true;
        }
    }
    Run = at;
    return false;
}

bool TmwScannerHighlighter::ScanQuoted(char quote, bool backslashEscapes)
{
    while (!AtLineBreak()) {
        char c = Cur();
        if (c == quote) {
            ++Run;
            return true;
        }
        ++Run;
        if (c == '\\' && backslashEscapes && !AtLineBreak())
            ++Run;
    }
    return false;
}

void TmwScannerHighlighter::ScanNumberBody(const std::array<bool, 256>& numberChars)
{
    bool hex = false;
    for (;;) {
        char c = Cur();
        if (AtEnd())
            return;
        if (c == '.' && Peek() == '.')
            return;
        if (c == 'x' || c == 'X')
            hex = true;
        if (numberChars[static_cast<unsigned char>(c)]) {
            ++Run;
            continue;
        }
        if ((c != '-' && c != '+') || hex || Run == fTokenPos)
            return;
        char before = fLine[static_cast<size_t>(Run - 1)];
        if (before != 'e' && before != 'E')
            return;
        ++Run;
    }
}

void TmwScannerHighlighter::QuotedToken(int kind, unsigned quoting)
{
    fTokenID = kind;
    const char quote = Cur();
    ++Run;
    if ((quoting & qtTripleOpener) && Cur() == quote && Peek() == quote)
        Run += 2;
    ScanQuoted(quote, (quoting & qtBackslash) != 0);
}

void TmwScannerHighlighter::BlockCommentBody(const TmwBlockComment& comment)
{
    fTokenID = comment.kind;
    if (RunTo(comment.closer)) {
        Run += static_cast<int>(comment.closer.size());
        fRange = comment.closedRange;
    } else {
        fRange = comment.openRange;
    }
}

void TmwScannerHighlighter::NullProc()
{
    if (AtEnd())
        fTokenID = kinds_.null;
    else
        UnknownProc();
}

void TmwScannerHighlighter::SpaceProc()
{
    fTokenID = kinds_.space;
    ++Run;
    for (;;) {
        auto c = static_cast<unsigned char>(Cur());
        if (c == 0 || c > 32 || c == 10 || c == 13)
            break;
        ++Run;
    }
}

void TmwScannerHighlighter::CRProc()
{
    fTokenID = kinds_.space;
    ++Run;
    if (Cur() == '\n' && !AtEnd())
        ++Run;
}

void TmwScannerHighlighter::LFProc()
{
    fTokenID = kinds_.space;
    ++Run;
}

void TmwScannerHighlighter::UnknownProc()
{
    fTokenID = kinds_.unknown;
    ++Run;
}

void TmwScannerHighlighter::IdentProc()
{
    int start = Run;
    fTokenID = IdentKind(Run);
    Run += fStringLen;
    while (tables_.IsIdent(Cur()))
        ++Run;
    if (Run == start) // a routine table entry on a character no run takes
        ++Run;
}

int TmwScannerHighlighter::KeyHash(int p)
{
    fToIdent = p;
    int sum = 0;
    int i = p;
    while (tables_.IsHashChar(fLine[static_cast<size_t>(i)])) {
        sum += tables_.Hash(fLine[static_cast<size_t>(i)]);
        ++i;
    }
    fStringLen = i - p;
    return sum;
}

bool TmwScannerHighlighter::KeyComp(std::string_view word) const
{
    auto run = std::string_view(fLine).substr(static_cast<size_t>(fToIdent), static_cast<size_t>(fStringLen));
    return keywords_ ? keywords_->Matches(run, word) : SameKeyword(run, word);
}

int TmwScannerHighlighter::IdentKind(int p)
{
    int hash = KeyHash(p);
    if (!keywords_)
        return kinds_.identifier;
    return keywords_->Find(
        std::string_view(fLine).substr(static_cast<size_t>(p), static_cast<size_t>(fStringLen)), hash,
        kinds_.identifier);
}

TmwCodeHighlighter::TmwCodeHighlighter(const TmwCharTables& tables, const TmwKeywordTable* keywords,
                                       TmwScannerKinds kinds, std::uint8_t startRange, const TmwCodeKinds& codeKinds,
                                       const std::string& keyName)
    : TmwScannerHighlighter(tables, keywords, kinds, startRange)
{
    CommentAttri = MakeAttribute(mwAttrName::Comment, fsItalic);
    IdentifierAttri = MakeAttribute(mwAttrName::Identifier);
    KeyAttri = MakeAttribute(keyName, fsBold);
    NumberAttri = MakeAttribute(mwAttrName::Number);
    StringAttri = MakeAttribute(mwAttrName::String);
    SymbolAttri = MakeAttribute(mwAttrName::Symbol);
    MapKind(codeKinds.comment, CommentAttri, true);
    // Identifiers may hold letters outside ASCII.
    MapKind(codeKinds.identifier, IdentifierAttri, true);
    MapKind(codeKinds.key, KeyAttri, false);
    MapKind(codeKinds.number, NumberAttri, false);
    MapKind(codeKinds.string, StringAttri, true);
    MapKind(codeKinds.symbol, SymbolAttri, true);
    if (codeKinds.space >= 0) {
        SpaceAttri = MakeAttribute(mwAttrName::Space);
        MapKind(codeKinds.space, SpaceAttri, false, true);
    }
}
