// The highlighter framework: token attributes with their registry layout, the
// abstract highlighter every editor drives line by line, and the program-wide
// list of highlighter classes.
#pragma once

#include "editor/Colors.h"
#include "editor/mwMethodChain.h"
#include "editor/mwSupportProcs.h"
#include "platform/Registry.h"
#include "platform/ResStrings.h"
#include "platform/TStringList.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TmwCustomHighLighter;

// Attribute names shared by every language; those with a number are the
// string table's, so a translation reaches them.
namespace mwAttrName {
inline constexpr char Asp[] = "Asp";
inline constexpr char Comment[] = "Comment";
inline constexpr char EscapeAmpersand[] = "Escape ampersand";
inline constexpr char Identifier[] = "Identifier";
inline constexpr char IllegalChar[] = "Illegal char";
inline constexpr char InvalidSymbol[] = "Invalid symbol";
inline constexpr char Key[] = "Key";
inline constexpr char Marker[] = "Marker";
inline constexpr char Number[] = "Number";
inline constexpr TResText Operator{65156, "Operator"};
inline constexpr TResText Pragma{65157, "Pragma"};
inline constexpr TResText ReservedWord{65158, "Reserved word"};
inline constexpr TResText SecondReservedWord{65159, "Second reserved word"};
inline constexpr TResText Space{65160, "Space"};
inline constexpr TResText String{65161, "String"};
inline constexpr TResText Symbol{65162, "Symbol"};
inline constexpr TResText Text{65163, "Text"};
inline constexpr TResText UnknownWord{65164, "Unknown word"};
inline constexpr TResText Value{65165, "Value"};
inline constexpr TResText Variable{65166, "Variable"};
} // namespace mwAttrName

// All registry access of the highlighters goes through this class.
class TBetterRegistry : public TRegistry {};

// The colours used by an imported editor colour scheme, by palette index.
extern const std::array<TColor, 16> SchemePalette;

// A named style (colours and font style) of one kind of token.
class TmwHighLightAttributes {
public:
    using TChangeEvent = std::function<void(TmwHighLightAttributes* Sender)>;

    explicit TmwHighLightAttributes(std::string name) : name_(std::move(name)) {}
    virtual ~TmwHighLightAttributes() = default;
    TmwHighLightAttributes(const TmwHighLightAttributes&) = delete;
    TmwHighLightAttributes& operator=(const TmwHighLightAttributes&) = delete;

    // Copies colours and style, and calls OnChange once when any of them differed.
    // The name is copied too, unless this attribute is listed in a highlighter:
    // there the name is its list key and registry subkey and never changes.
    virtual void Assign(const TmwHighLightAttributes& source);

    // Reads this attribute's colours from an editor colour scheme under rootKey:
    // AttrKey\AttrName holding palette indexes and flags, or with oldStyle the
    // comma-separated string value AttrName of AttrKey. Every field is read and
    // checked before anything changes; False, with nothing changed, when a
    // field is missing, of the wrong type, not a number or not a palette index.
    virtual bool ImportColorScheme(HKEY rootKey, const std::string& attrKey, const std::string& attrName,
                                   bool oldStyle);

    const std::string& Name() const { return name_; }
    TColor Background() const { return background_; }
    void SetBackground(TColor value);
    TColor Foreground() const { return foreground_; }
    void SetForeground(TColor value);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);

    // The subkey Name below reg's current key; reg's current key is the same
    // afterwards, whatever happens. Values that are missing or not integers
    // are skipped. False when the subkey cannot be opened (or created, on save).
    bool LoadFromRegistry(TBetterRegistry& reg);
    bool SaveToRegistry(TBetterRegistry& reg);

    // The highlighter whose list holds this attribute, or none.
    TmwCustomHighLighter* Owner() const { return owner_; }

    TChangeEvent OnChange;

private:
    friend class TmwCustomHighLighter;
    void Changed();

    TColor background_ = clWindow;
    TColor foreground_ = clWindowText;
    TFontStyles style_;
    std::string name_;
    TmwCustomHighLighter* owner_ = nullptr;
};

// What an exporter offers the highlighter feeding it: one call per token, and
// one with no attribute at each line end. The exporters derive from it.
class TmwExportTarget {
public:
    virtual ~TmwExportTarget() = default;
    virtual void FormatToken(const std::string& token, TmwHighLightAttributes* attribute, bool needsEscape,
                             bool isSpace) = 0;
};

// Capability flags of GetCapability.
enum : unsigned { hcUserSettings = 1, hcRegistry = 2, hcExportable = 4 };

// A highlighter's whole state between two tokens of a line: where the next
// token starts, the range, and whatever else the highlighter carries from one
// token to the next. Scanning on from a point gives the same tokens as
// scanning the line from its start.
struct TmwScanPoint {
    int pos = 0;
    std::int32_t range = 0;
    std::int32_t extra = 0;
    // The rest of the state of a highlighter made of others; positions in it
    // are counted from pos, so that it holds when the line moves on.
    std::vector<int> more;
    bool operator==(const TmwScanPoint&) const = default;
};

// Scanning a line on from a point inside it.
class TmwResumableScan {
public:
    // Points are asked for only in lines longer than this: a highlighter may
    // leave out in shorter lines what only its points need.
    static constexpr std::size_t kShortestResumed = 256;

    virtual ~TmwResumableScan() = default;
    // How far before its start or after its end a token's scan may read the line.
    virtual int ResumeMargin() const = 0;
    // Where the next token starts: the position of ScanPoint, read cheaply.
    virtual int ScanPos() const = 0;
    // The point after the current token.
    virtual TmwScanPoint ScanPoint() const = 0;
    // Copies the line and scans the token at the point, in the state it holds;
    // the point is one ScanPoint gave on the same text, and the ResumeMargin
    // characters before it are in NewValue.
    virtual void ResumeLine(const std::string& NewValue, int LineNumber, const TmwScanPoint& at) = 0;
};

// A highlighter cuts one line at a time into tokens, naming each token's kind
// and attribute. Callers set the range stored for the line (or ResetRange for
// the first), call SetLine, read the token and call Next until GetEol, then
// store GetRange for the next line. A line's tokens and end range depend only
// on its text and its start range; the highlighter keeps its own copy of the line.
class TmwCustomHighLighter {
public:
    using TTokenEvent =
        std::function<void(TmwCustomHighLighter* Sender, int TokenKind, const std::string& TokenText, int LineNo)>;

    TmwCustomHighLighter();
    virtual ~TmwCustomHighLighter();
    TmwCustomHighLighter(const TmwCustomHighLighter&) = delete;
    TmwCustomHighLighter& operator=(const TmwCustomHighLighter&) = delete;

    // The characters of a word, for the editor's word-wise operations.
    virtual TCharSet GetIdentChars() const;
    virtual int GetAttribCount() const;
    // In the list's name order; nullptr outside 0..count-1.
    virtual TmwHighLightAttributes* GetAttribute(int index) const;
    // 0 white space, 1 comment, 2 keyword; nullptr otherwise or when the language has none.
    virtual TmwHighLightAttributes* GetDefaultAttribute(int index) const = 0;
    virtual std::string GetDefaultFilter() const { return defaultFilter_; }
    virtual void SetDefaultFilter(const std::string& value);
    virtual unsigned GetCapability() const { return hcRegistry; }
    virtual std::string GetLanguageName() const = 0;
    virtual void ExportNext() = 0;
    virtual bool GetEol() const = 0;
    virtual std::int32_t GetRange() const = 0;
    virtual std::string GetToken() const = 0;
    // nullptr at the line end and for kinds without attribute.
    virtual TmwHighLightAttributes* GetTokenAttribute() const = 0;
    virtual int GetTokenKind() const = 0;
    virtual int GetTokenPos() const = 0;
    virtual void Next() = 0;
    // Copies the line and scans its first token; the range is left as it is.
    virtual void SetLine(const std::string& NewValue, int LineNumber) = 0;
    // Copies the line and exports its first token.
    virtual void SetLineForExport(const std::string& NewValue) = 0;
    virtual void SetRange(std::int32_t Value) = 0;
    virtual void ResetRange() = 0;
    // The highlighter's own resumed scans, when a TmwScanPoint holds its whole
    // state between tokens; nullptr otherwise.
    virtual TmwResumableScan* Resumable() { return nullptr; }
    virtual bool UseUserSettings(int settingIndex);
    virtual void EnumUserSettings(TStrings& settings);
    // One subkey per attribute below rootKey\key; the load stops at the first
    // attribute without a subkey (False). Failures only show in the result.
    virtual bool LoadFromRegistry(HKEY rootKey, const std::string& key);
    virtual bool SaveToRegistry(HKEY rootKey, const std::string& key);

    // Goes past the line's last token; what is wanted after it is the range.
    virtual void NextToEol();
    // Tells every hooked editor that an attribute changed.
    void AttributeChanged(TmwHighLightAttributes* Sender);
    // Sets OnChange of every attribute, last index first.
    void SetAttributesOnChange(const TmwHighLightAttributes::TChangeEvent& handler);
    // Handlers get this highlighter as Sender.
    TmwChainHandle AddChangeHook(TmwNotifyEventChain::TNotifyEvent handler);
    void RemoveChangeHook(TmwChainHandle handle);
    // Handlers run first thing in the destructor: whoever keeps a reference to
    // this highlighter (an editor) drops it there.
    TmwChainHandle AddDestroyHook(TmwNotifyEventChain::TNotifyEvent handler);
    void RemoveDestroyHook(TmwChainHandle handle);

    // Set by an exporter while it exports; not owned.
    TmwExportTarget* Exporter() const { return exporter_; }
    void SetExporter(TmwExportTarget* exporter) { exporter_ = exporter; }

    // Stored for the user's handlers; no highlighter raises it.
    TTokenEvent OnToken;

protected:
    // Takes the attribute into the list under its name and returns it; a name
    // already listed keeps the listed attribute, which is returned instead.
    TmwHighLightAttributes* AddAttribute(std::unique_ptr<TmwHighLightAttributes> attribute);
    // Makes a new attribute with the name and adds it.
    TmwHighLightAttributes* AddAttribute(const std::string& name);

private:
    std::vector<std::unique_ptr<TmwHighLightAttributes>> attributes_; // sorted by name
    TmwNotifyEventChain changeChain_;
    TmwNotifyEventChain destroyChain_;
    TmwExportTarget* exporter_ = nullptr;
    std::string defaultFilter_;
};

// A highlighter class as the program knows it: its name and how to make one.
struct TmwHighlighterClass {
    const char* ClassName;
    std::unique_ptr<TmwCustomHighLighter> (*Create)();
};

// The program's one list of highlighter classes.
class THighlighterList {
public:
    int Count() const { return static_cast<int>(classes_.size()); }
    const TmwHighlighterClass* operator[](int index) const { return classes_.at(static_cast<size_t>(index)); }
    int IndexOf(const TmwHighlighterClass* cls) const;
    int Add(const TmwHighlighterClass* cls);

private:
    std::vector<const TmwHighlighterClass*> classes_;
};

THighlighterList& HighlighterList();
// Adds the class unless listed; its index either way.
int RegisterHighlighter(const TmwHighlighterClass& cls);
